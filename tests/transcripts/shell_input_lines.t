Every line the program reads from its standard input, a command at the
prompt as well as the answer to a question, is read the same way: a
carriage return before the line feed belongs to the line end, so lines
that end in CR LF are taken as they are typed. c0 holds units u0-u5 (u3 a
spare) and a ready battery.

  $ cp "$FIXTURES/unitcmd/units.json" host.json && export KV_EMULATED_HOST="$PWD/host.json"

The confirmation question takes "y" and "N" with CR LF; any other answer
still asks again.

  $ printf 'y\r\n' | "$KV_CLI" /c0/u3 del
  Deleting /c0/u3 will cause the data on the unit to be permanently lost.
  Do you want to continue ? Y|N [N]: Deleting unit c0/u3 ...Done.
  
  
  $ printf 'maybe\r\nN\r\n' | "$KV_CLI" /c0/u4 del
  Deleting /c0/u4 will cause the data on the unit to be permanently lost.
  Do you want to continue ? Y|N [N]: Deleting /c0/u4 will cause the data on the unit to be permanently lost.
  Do you want to continue ? Y|N [N]: The command is aborted.
  

The battery's own question reads its answer the same way.

  $ printf 'yes\r\n' | "$KV_CLI" /c0/bbu test
  Depending on the Keepwell setting, performing the battery capacity test may
  disable the write cache on controller /c0 for up to 24 hours.
  Do you want to continue? Y|N [N]: Sending battery capacity test message to /c0/bbu ... Done.
  The write cache will be resumed when the test is completed
  with no error.
  

At the prompt the answer is the line after the command.

  $ printf '/c0/u4 del\r\ny\r\n/c0 show unitstatus\r\n' | "$KV_CLI"
  //kvhost> Deleting /c0/u4 will cause the data on the unit to be permanently lost.
  Do you want to continue ? Y|N [N]: Deleting unit c0/u4 ...Done.
  
  
  //kvhost> 
  Unit  UnitType  Status         %RCmpl  %V/I/M  Stripe  Size(GB)  Cache  AVrfy
  ------------------------------------------------------------------------------
  u0    RAID-5    REBUILDING     40%     -       256K    1863.03   RiW    OFF    
  u1    RAID-6    REBUILD-VERIFY 20%(A)  60%(A)  64K     2794.54   RbW    OFF    
  u2    RAID-10   OK             -       -       128K    1863.03   RiW    OFF    
  u5    Migrator  MIGRATING      -       50%     -       931.513   RiW    OFF    
  
  //kvhost>  (no-eol)

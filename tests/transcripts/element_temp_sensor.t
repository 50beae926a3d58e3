The commands of an enclosure temperature sensor, /cN/eM/tempK and
/eM/tempK. Controller c0 (family 8) has the SES enclosures e0 (sensors in
every state), e3 (whose elements ignore every control, so identify is not
supported there) and e5 (whose status page cannot be read and whose
controls fail); controller c1 (family 6) has the SAF-TE enclosure /e0.

  $ cp "$FIXTURES/elements/host.json" host.json && export KV_EMULATED_HOST="$PWD/host.json"

The SES row: the status word, which a threshold flag replaces (with several
flags the last one tested wins: 0x0C gives OVER-WARNING, 0x09
UNDER-WARNING), the temperature in Celsius and Fahrenheit (-7 gives 20F:
the division truncates toward zero; a reading of -1 counts as no reading)
and the identify indication. A sensor that is not installed has no
temperature.

  $ "$KV_CLI" /c0/e0/temp0 show
  
  TempSensor    Status         Temperature     Identify 
  --------------------------------------------------------
  temp0         OK             25C(77F)        Off             
  
  $ for t in 1 2 3 4 5 6 7 8; do "$KV_CLI" /c0/e0/temp$t show | sed -n 4p; done
  temp1         OK             -7C(20F)        Off             
  temp2         OK             -               Off             
  temp3         NOT-INSTALLED  -               Off             
  temp4         OVER-WARNING   40C(104F)       Off             
  temp5         UNDER-WARNING  30C(86F)        Off             
  temp6         OK             0C(32F)         Off             
  temp7         CRITICAL       55C(131F)       Off             
  temp8         UNKNOWN        35C(95F)        Off             

Word errors: a missing or bad word after "show" or "set" is 126, any other
command word 127.

  $ for words in "" "foo" "identify" "show foo" "show identify foo" "set" "set foo" "set identify=" "set identify=maybe"; do
  >   echo "[$words]"; "$KV_CLI" /c0/e0/temp0 $words 2>&1 | grep -v '^$'
  > done
  []
  Error: (CLI:126) Invalid temperature sensor command syntax.
  [foo]
  Error: (CLI:127) Specified enclosure temperature sensor does not exist.
  [identify]
  Error: (CLI:127) Specified enclosure temperature sensor does not exist.
  [show foo]
  Error: (CLI:126) Invalid temperature sensor command syntax.
  [show identify foo]
  /c0/e0/temp0 Identify status = Off
  Error: (CLI:126) Invalid temperature sensor command syntax.
  [set]
  Error: (CLI:126) Invalid temperature sensor command syntax.
  [set foo]
  Error: (CLI:126) Invalid temperature sensor command syntax.
  [set identify=]
  Error: (CLI:126) Invalid temperature sensor command syntax.
  [set identify=maybe]
  Error: (CLI:126) Invalid temperature sensor command syntax.

Help ends the command, after "show" as after "set".

  $ "$KV_CLI" /c0/e0/temp0 help
  
    /cx/ex/tempx show
    /cx/ex/tempx show identify
  
  
  $ "$KV_CLI" /c0/e0/temp0 show identify help identify
  /c0/e0/temp0 Identify status = Off
  
    /cx/ex/tempx show
    /cx/ex/tempx show identify
  
  
  $ "$KV_CLI" /c0/e0/temp0 set help foo
  
    /cx/ex/tempx set identify
  
  

Identify: set and read back; where the enclosure does not carry the change
out, N/A and the "not supported" line, without a change.

  $ "$KV_CLI" /c0/e0/temp0 set identify=on
  Setting Temp Sensor Identify on /c0/e0/temp0 to [on] ... Done.
  
  
  $ "$KV_CLI" /c0/e0/temp0 show identify
  /c0/e0/temp0 Identify status = On
  
  $ "$KV_CLI" /c0/e3/temp0 show identify
  /c0/e3/temp0 Identify status = N/A
  
  $ "$KV_CLI" /c0/e3/temp0 set identify=on
  Temp Sensor Identify is not supported.
  
  

A sensor whose status cannot be read ends the command with the library's
error before any of the table is printed; its identify line shows "-",
and a failed identify change leaves the progress line open.

  $ "$KV_CLI" /c0/e5/temp0 show
  (0x03:0x0204): Drive timeout
  
  
  [1]
  $ "$KV_CLI" /c0/e5/temp0 show identify
  /c0/e5/temp0 Identify status = -
  
  $ "$KV_CLI" /c0/e5/temp0 set identify=on
  Setting Temp Sensor Identify on /c0/e5/temp0 to [on] ... (0x03:0x0204): Drive timeout
  
  
  [1]

The SAF-TE table has the name and temperature only, and there is no
identify word and no set help.

  $ "$KV_CLI" /e0/temp0 show
  
  TempSensor       Temperature 
  ------------------------------
  temp0            25C(77F)   
  
  $ for words in "show identify" "set identify=on" "set help" "show help" "help"; do
  >   echo "[$words]"; "$KV_CLI" /e0/temp0 $words 2>&1 | grep -v '^$'
  > done
  [show identify]
  Error: (CLI:126) Invalid temperature sensor command syntax.
  [set identify=on]
  Error: (CLI:126) Invalid temperature sensor command syntax.
  [set help]
  Error: (CLI:013) Invalid argument in help command.
  [show help]
    /ex/tempx show
  [help]
    /ex/tempx show

The commands of one SAS phy, /cN/phyM, on a family-8 controller with six
phys: SATA and SAS drives attached directly (phy 4 wired to port 5), an
enclosure, an enclosure in error and a SATA phy with no drive behind it.

  $ cp "$FIXTURES/phy/phys.json" host.json && export KV_EMULATED_HOST="$PWD/host.json"
  $ . "$FIXTURES/ctlattr/faults.sh"

"show" and "show all" print the phy's own table, whose header spells the
address column right.

  $ "$KV_CLI" /c0/phy1 show
  
                               Device              --- Link Speed (Gbps) ---
  Phy     SAS Address          Type     Device     Supported  Enabled  Control
  -----------------------------------------------------------------------------
  phy1    5001d9f000000201     SAS      /c0/p1     3.0        1.5      3.0    
  
  $ "$KV_CLI" /c0/phy4 show all
  
                               Device              --- Link Speed (Gbps) ---
  Phy     SAS Address          Type     Device     Supported  Enabled  Control
  -----------------------------------------------------------------------------
  phy4    5001d9f000000204     SATA     /c0/p5                3.0      Auto   
  

Word errors: no word and an unknown word are 137, a word after "show" or
after "show all" 138, a word after "show help" 13.

  $ for words in "" "foo" "show foo" "show all foo" "show help x" "set" "set speed=1.5" "set link=1.5 foo"; do
  >   echo "[$words]"; "$KV_CLI" /c0/phy0 $words 2>&1 | grep -v '^$'
  > done
  []
  Error: (CLI:137) Invalid phy command.
  [foo]
  Error: (CLI:137) Invalid phy command.
  [show foo]
  Error: (CLI:138) Invalid phy show command.
  [show all foo]
  Error: (CLI:138) Invalid phy show command.
  [show help x]
  Error: (CLI:013) Invalid argument in help command.
  [set]
  Error: (CLI:137) Invalid phy command.
  [set speed=1.5]
  Error: (CLI:137) Invalid phy command.
  [set link=1.5 foo]
  Setting Link Speed Control on /c0/phy0 to [1.5 Gbps] ... Done.
  Error: (CLI:137) Invalid phy command.

Help: the whole topic, the show part and the set part; "?" is "help".

  $ "$KV_CLI" /c0/phy0 help
  
    /cx/phyx show                        (Uthmar only)  
  
    /cx/phyx set link=[auto|1.5|3.0]     (Uthmar only) 
  
  
  $ "$KV_CLI" /c0/phy0 ? | cat -A
  $
    /cx/phyx show                        (Uthmar only)  $
  $
    /cx/phyx set link=[auto|1.5|3.0]     (Uthmar only) $
  $
  $
  $ "$KV_CLI" /c0/phy0 show ?
  
    /cx/phyx show                        (Uthmar only)  
  
  
  $ "$KV_CLI" /c0/phy0 set help
  
    /cx/phyx set link=[auto|1.5|3.0]     (Uthmar only) 
  
  

Setting the link speed limit: each accepted value, then the table shows it.
Help after a value is printed and reading goes on; any word containing
"link=" is a link value.

  $ "$KV_CLI" /c0/phy0 set link=1.5
  Setting Link Speed Control on /c0/phy0 to [1.5 Gbps] ... Done.
  
  
  $ "$KV_CLI" /c0/phy0 set link=3.0 help
  Setting Link Speed Control on /c0/phy0 to [3.0 Gbps] ... Done.
  
  
    /cx/phyx set link=[auto|1.5|3.0]     (Uthmar only) 
  
  
  $ "$KV_CLI" /c0/phy0 show | tail -n 2
  phy0    5001d9f000000200     SATA     /c0/p0     1.5-3.0    3.0      3.0    
  
  $ "$KV_CLI" /c0/phy0 set xlink=auto link=1.5
  Setting Link Speed Control on /c0/phy0 to [auto] ... Done.
  
  Setting Link Speed Control on /c0/phy0 to [1.5 Gbps] ... Done.
  
  
  $ "$KV_CLI" /c0/phy0 show | tail -n 2
  phy0    5001d9f000000200     SATA     /c0/p0     1.5-3.0    3.0      1.5    
  
  $ "$KV_CLI" /c0/phy0 set link=AUTO
  Setting Link Speed Control on /c0/phy0 to [auto] ... Done.
  
  
  $ jq -c '.machine.controllers[0].phys[0].link_speed_limit' host.json
  0

A refused value is found after the progress line has begun; the line stays
open and nothing is written.

  $ "$KV_CLI" /c0/phy0 set link=6.0
  Setting Link Speed Control on /c0/phy0 to [Error: (CLI:137) Invalid phy command.
  
  
  [1]
  $ "$KV_CLI" /c0/phy0 set link=
  Setting Link Speed Control on /c0/phy0 to [Error: (CLI:137) Invalid phy command.
  
  
  [1]
  $ "$KV_CLI" /c0/phy0 set link=1.5 link=2
  Setting Link Speed Control on /c0/phy0 to [1.5 Gbps] ... Done.
  
  Setting Link Speed Control on /c0/phy0 to [Error: (CLI:137) Invalid phy command.
  
  
  [1]
  $ jq -c '.machine.controllers[0].phys[0].link_speed_limit' host.json
  1

A failed write ends the command with the library's error and no "Failed.".

  $ fault 128 4 && "$KV_CLI" /c0/phy0 set link=3.0
  Setting Link Speed Control on /c0/phy0 to [3.0 Gbps] ... (0x03:0x0204): Drive timeout
  
  
  [1]
  $ jq -c '.machine.controllers[0].phys[0].link_speed_limit' host.json
  1

A failed read of the current speed or of the limit ends the command in the
middle of the row; a failed read of the supported speeds shows "Unknown",
of the address or the device type "-".

  $ fault 129 3 && "$KV_CLI" /c0/phy1 show
  
                               Device              --- Link Speed (Gbps) ---
  Phy     SAS Address          Type     Device     Supported  Enabled  Control
  -----------------------------------------------------------------------------
  phy1    5001d9f000000201     SAS      /c0/p1     3.0        (0x03:0x0204): Drive timeout
  
  
  [1]
  $ fault 129 4 && "$KV_CLI" /c0/phy1 show
  
                               Device              --- Link Speed (Gbps) ---
  Phy     SAS Address          Type     Device     Supported  Enabled  Control
  -----------------------------------------------------------------------------
  phy1    5001d9f000000201     SAS      /c0/p1     3.0        1.5      (0x03:0x0204): Drive timeout
  
  
  [1]
  $ fault 129 2 && "$KV_CLI" /c0/phy1 show
  
                               Device              --- Link Speed (Gbps) ---
  Phy     SAS Address          Type     Device     Supported  Enabled  Control
  -----------------------------------------------------------------------------
  phy1    5001d9f000000201     SAS      /c0/p1     Unknown    1.5      3.0    
  
  $ fault 129 6 && "$KV_CLI" /c0/phy1 show
  
                               Device              --- Link Speed (Gbps) ---
  Phy     SAS Address          Type     Device     Supported  Enabled  Control
  -----------------------------------------------------------------------------
  phy1    -                    SAS      /c0/p1     3.0        1.5      3.0    
  
  $ fault 129 5 && "$KV_CLI" /c0/phy1 show
  
                               Device              --- Link Speed (Gbps) ---
  Phy     SAS Address          Type     Device     Supported  Enabled  Control
  -----------------------------------------------------------------------------
  phy1    5001d9f000000201     -        -          3.0        1.5      3.0    
  

A SATA phy whose port lookup fails shows "-" as its device.

  $ fault 512 30 && "$KV_CLI" /c0/phy0 show
  
                               Device              --- Link Speed (Gbps) ---
  Phy     SAS Address          Type     Device     Supported  Enabled  Control
  -----------------------------------------------------------------------------
  phy0    5001d9f000000200     SATA     -          1.5-3.0    3.0      1.5    
  

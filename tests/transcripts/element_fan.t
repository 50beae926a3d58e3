The commands of an enclosure fan, /cN/eM/fanK and /eM/fanK. Controller c0
(family 8) has three SES enclosures: e0 with fans in every state, e3 whose
elements ignore every control (so identify is not supported there) and e5
whose status page cannot be read and whose controls fail. Controller c1
(family 6) has the SAF-TE enclosure /e0 below the host.

  $ cp "$FIXTURES/elements/host.json" host.json && export KV_EMULATED_HOST="$PWD/host.json"

The SES row: status, state (from the step and the status), speed step, RPM
and identify. A fan that is not installed has no step and no RPM; a
running fan whose step is 0 has no state. The RPM takes all eleven bits
of the speed field (fan7 runs at 20000).

  $ "$KV_CLI" /c0/e0/fan0 show
  
                                      ---Speed--- 
  Fan         Status          State   Step   RPM     Identify
  ------------------------------------------------------------
  fan0        OK              ON      3      3000    Off     
  
  $ for f in 1 2 3 4 5 6 7; do "$KV_CLI" /c0/e0/fan$f show | sed -n 5p; done
  fan1        OK              ON      5      5120    Off     
  fan2        OFF             OFF     0      0       Off     
  fan3        NOT-INSTALLED   -       -      N/A     Off     
  fan4        FAIL            -       3      3000    Off     
  fan5        NOT-REPORTABLE  -       3      3000    Off     
  fan6        OK              -       0      0       Off     
  fan7        OK              ON      7      20000   Off     

No command word, or an unknown one; bad words after "show" and "set". A
bad word after "set" is refused before anything is sent to the enclosure
(the identify support test would send it a control).

  $ for words in "" "foo" "identify" "show foo" "show identify foo"; do
  >   echo "[$words]"; "$KV_CLI" /c0/e0/fan0 $words 2>&1 | grep -v '^$'
  > done
  []
  Error: (CLI:122) Invalid fan command syntax.
  [foo]
  Error: (CLI:123) Invalid fan command.
  [identify]
  Error: (CLI:123) Invalid fan command.
  [show foo]
  Error: (CLI:122) Invalid fan command syntax.
  [show identify foo]
  /c0/e0/fan0 Identify status = Off
  Error: (CLI:122) Invalid fan command syntax.
  $ sends() { jq -s '[.[] | select(.scsi == 29)] | length' requests.jsonl; }
  $ before=$(sends)
  $ for words in "set" "set bogus" "set speed" "set identify=" "set identify=maybe"; do
  >   echo "[$words]"; "$KV_CLI" /c0/e0/fan0 $words 2>&1 | grep -v '^$'
  > done
  [set]
  Error: (CLI:122) Invalid fan command syntax.
  [set bogus]
  Error: (CLI:122) Invalid fan command syntax.
  [set speed]
  Error: (CLI:122) Invalid fan command syntax.
  [set identify=]
  Error: (CLI:122) Invalid fan command syntax.
  [set identify=maybe]
  Error: (CLI:122) Invalid fan command syntax.
  $ test "$(sends)" = "$before" && echo "no change sent"
  no change sent

Help: the controller-enclosure topic in an SES enclosure, for "all", after
"show" (reading goes on) and after "set" (the command ends).

  $ "$KV_CLI" /c0/e0/fan0 help
  
    /cx/ex/fanx show
    /cx/ex/fanx show identify
  
  
    /cx/ex/fanx set identify=<on|off>
    /cx/ex/fanx set speed=<0|1|2|3|4|5|6|7>
  
    Note: Fan speed 0 = off; Fan speed 7 = highest.
  
  
  $ "$KV_CLI" /c0/e0/fan0 show help identify
  
    /cx/ex/fanx show
    /cx/ex/fanx show identify
  
  /c0/e0/fan0 Identify status = Off
  
  $ "$KV_CLI" /c0/e0/fan0 set help bogus
  
    /cx/ex/fanx set identify=<on|off>
    /cx/ex/fanx set speed=<0|1|2|3|4|5|6|7>
  
    Note: Fan speed 0 = off; Fan speed 7 = highest.
  
  

Speed: a step outside 0 to 7 (also one too large for a 32-bit number,
which must not wrap into the range) and a step the enclosure refuses (0,
and a value without digits, which counts as 0) print a line and change
nothing;
the command still succeeds. An accepted step is reported after the
library carried it out.

  $ for value in 8 -1 4294967299 abc "" 0; do "$KV_CLI" /c0/e0/fan0 set speed=$value; echo "rc=$?"; done
   Fan speed must be in range of {0..7}
  
  rc=0
   Fan speed must be in range of {0..7}
  
  rc=0
   Fan speed must be in range of {0..7}
  
  rc=0
  Setting of fan speed not supported.
  
  rc=0
  Setting of fan speed not supported.
  
  rc=0
  Setting of fan speed not supported.
  
  rc=0
  $ "$KV_CLI" /c0/e0/fan0 set speed=6
   Setting fan speed on /c0/e0/fan0 to [6]
  
  $ "$KV_CLI" /c0/e0/fan0 show | sed -n 5p
  fan0        OK              ON      6      6000    Off     

Identify: the progress line, then "Done." and an empty line. Several
attribute words are carried out in turn; a word only has to contain
"identify=".

  $ "$KV_CLI" /c0/e0/fan1 set identify=on
  Setting Fan Identify on /c0/e0/fan1 to [on] ... Done.
  
  
  $ "$KV_CLI" /c0/e0/fan1 show identify
  /c0/e0/fan1 Identify status = On
  
  $ "$KV_CLI" /c0/e0/fan1 set identify=off speed=2
  Setting Fan Identify on /c0/e0/fan1 to [off] ... Done.
  
   Setting fan speed on /c0/e0/fan1 to [2]
  
  $ "$KV_CLI" /c0/e0/fan1 show | sed -n 5p
  fan1        OK              ON      2      2000    Off     
  $ "$KV_CLI" /c0/e0/fan1 set xidentify=on
  Setting Fan Identify on /c0/e0/fan1 to [on] ... Done.
  
  
  $ "$KV_CLI" /c0/e0/fan1 show identify
  /c0/e0/fan1 Identify status = On
  

Where the enclosure does not carry out the identify change, identify is
not supported: the cell shows N/A, and a change prints its line without
calling the setter. A refused speed prints the speed line.

  $ "$KV_CLI" /c0/e3/fan0 show identify
  /c0/e3/fan0 Identify status = N/A
  
  $ "$KV_CLI" /c0/e3/fan0 set identify=on
  Fan Identify is not supported.
  
  
  $ "$KV_CLI" /c0/e3/fan0 set speed=5
  Setting of fan speed not supported.
  

A fan whose readings fail shows "-" in its cells and a line for the
identify read; a failed identify change ends the open line with its own
line, and the command succeeds.

  $ "$KV_CLI" /c0/e5/fan0 show
  
                                      ---Speed--- 
  Fan         Status          State   Step   RPM     Identify
  ------------------------------------------------------------
  Identify fan is not supported.
  fan0        -               -       -      N/A     -       
  
  $ "$KV_CLI" /c0/e5/fan0 show identify
  Identify fan is not supported.
  /c0/e5/fan0 Identify status = -
  
  $ "$KV_CLI" /c0/e5/fan0 set identify=on; echo "rc=$?"
  Setting Fan Identify on /c0/e5/fan0 to [on] ... Identify fan is not supported in API
  
  rc=0
  $ "$KV_CLI" /c0/e5/fan0 set speed=4
  Setting of fan speed not supported.
  

In the SAF-TE enclosure the row has the name and status only, there is no
identify word and no set help (the topic refuses "set" with 13).

  $ "$KV_CLI" /e0/fan1 show
  
  Fan       Status          
  ------------------------
  fan1      FAIL            
  
  $ for words in "show identify" "set identify=on" "set speed=3" "set help" "show help"; do
  >   echo "[$words]"; "$KV_CLI" /e0/fan1 $words 2>&1 | grep -v '^$'
  > done
  [show identify]
  Error: (CLI:122) Invalid fan command syntax.
  [set identify=on]
  Error: (CLI:122) Invalid fan command syntax.
  [set speed=3]
  Error: (CLI:122) Invalid fan command syntax.
  [set help]
  Error: (CLI:013) Invalid argument in help command.
  [show help]
    /ex/fanx show
  $ "$KV_CLI" /e0/fan0 help
  
    /ex/fanx show
  
  

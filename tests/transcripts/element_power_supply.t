The commands of an enclosure power supply, /cN/eM/pwrsK and /eM/pwrsK.
Controller c0 (family 8) has the SES enclosures e0 (supplies in every
state), e3 (whose elements ignore every control, so identify is not
supported there) and e5 (whose status page cannot be read and whose
controls fail); controller c1 (family 6) has the SAF-TE enclosure /e0,
where power supplies answer only to help.

  $ cp "$FIXTURES/elements/host.json" host.json && export KV_EMULATED_HOST="$PWD/host.json"

The row: status and state, then the DC condition as voltage and current,
read only for a supply whose status is OK, then the identify indication.
Each condition is read from its own bit, so a supply reporting two of them
shows both (pwrs7 reports over-voltage and over-current together).

  $ "$KV_CLI" /c0/e0/pwrs0 show
  
  PowerSupply  Status         State  Voltage        Current        Identify
  ---------------------------------------------------------------------------
  pwrs0        OK             on     OK             OK             Off     
  
  $ for p in 1 2 3 4 5 6 7; do "$KV_CLI" /c0/e0/pwrs$p show | sed -n 4p; done
  pwrs1        OK             on     OK             OVER-CURRENT   Off     
  pwrs2        OK             on     UNDER-VOLTAGE  OK             Off     
  pwrs3        FAIL           off    -              -              Off     
  pwrs4        NOT-INSTALLED  -      -              -              Off     
  pwrs5        OFF            off    -              -              Off     
  pwrs6        UNKNOWN        -      -              -              Off     
  pwrs7        OK             on     OVER-VOLTAGE   OVER-CURRENT   Off     

Word errors: a missing command word or a bad word after "show" or "set"
is 128, any other command word 129. "set" with nothing after it does
nothing and is no error.

  $ for words in "" "foo" "identify" "show foo" "show identify foo" "set foo" "set identify=" "set identify=maybe"; do
  >   echo "[$words]"; "$KV_CLI" /c0/e0/pwrs0 $words 2>&1 | grep -v '^$'
  > done
  []
  Error: (CLI:128) Invalid power supply command syntax.
  [foo]
  Error: (CLI:129) Specified enclosure power supply does not exist.
  [identify]
  Error: (CLI:129) Specified enclosure power supply does not exist.
  [show foo]
  Error: (CLI:128) Invalid power supply command syntax.
  [show identify foo]
  /c0/e0/pwrs0 Identify status = Off
  Error: (CLI:128) Invalid power supply command syntax.
  [set foo]
  Error: (CLI:128) Invalid power supply command syntax.
  [set identify=]
  Error: (CLI:128) Invalid power supply command syntax.
  [set identify=maybe]
  Error: (CLI:128) Invalid power supply command syntax.
  $ "$KV_CLI" /c0/e0/pwrs0 set; echo "rc=$?"
  
  rc=0

Help: one topic in every enclosure; after "show" and "set" reading goes
on.

  $ "$KV_CLI" /c0/e0/pwrs0 help extra
  
    /cx/ex/pwrsx show
    /cx/ex/pwrsx show identify
  
  
    /cx/ex/pwrsx set identify=<on|off>
  
  
  $ "$KV_CLI" /c0/e0/pwrs0 show help identify
  
    /cx/ex/pwrsx show
    /cx/ex/pwrsx show identify
  
  /c0/e0/pwrs0 Identify status = Off
  
  $ "$KV_CLI" /c0/e0/pwrs0 set help identify=on
  
    /cx/ex/pwrsx set identify=<on|off>
  
  Setting Power Supply Identify on /c0/e0/pwrs0 to [on] ... Done.
  
  

Identify: set and read back; where the enclosure does not carry the change
out, N/A and the "not supported" line (a single line end), without a
change.

  $ "$KV_CLI" /c0/e0/pwrs1 set identify=on
  Setting Power Supply Identify on /c0/e0/pwrs1 to [on] ... Done.
  
  
  $ "$KV_CLI" /c0/e0/pwrs1 show identify
  /c0/e0/pwrs1 Identify status = On
  
  $ "$KV_CLI" /c0/e3/pwrs0 show identify
  /c0/e3/pwrs0 Identify status = N/A
  
  $ "$KV_CLI" /c0/e3/pwrs0 set identify=on
  Power Supply Identify is not supported.
  

Every read of a power supply that fails ends the command with the
library's error, in the middle of its table too.

  $ "$KV_CLI" /c0/e5/pwrs0 show
  
  PowerSupply  Status         State  Voltage        Current        Identify
  ---------------------------------------------------------------------------
  (0x03:0x0204): Drive timeout
  
  
  [1]
  $ "$KV_CLI" /c0/e5/pwrs0 show identify
  (0x03:0x0204): Drive timeout
  
  
  [1]
  $ "$KV_CLI" /c0/e5/pwrs0 set identify=on
  Setting Power Supply Identify on /c0/e5/pwrs0 to [on] ... (0x03:0x0204): Drive timeout
  
  
  [1]

Outside SES enclosures "show" and "set" are refused with 129; help works.

  $ for words in "" "show" "set" "set identify=on" "foo"; do
  >   echo "[$words]"; "$KV_CLI" /e0/pwrs0 $words 2>&1 | grep -v '^$'
  > done
  []
  Error: (CLI:128) Invalid power supply command syntax.
  [show]
  Error: (CLI:129) Specified enclosure power supply does not exist.
  [set]
  Error: (CLI:129) Specified enclosure power supply does not exist.
  [set identify=on]
  Error: (CLI:129) Specified enclosure power supply does not exist.
  [foo]
  Error: (CLI:129) Specified enclosure power supply does not exist.
  $ "$KV_CLI" /e0/pwrs0 ?
  
    /cx/ex/pwrsx show
    /cx/ex/pwrsx show identify
  
  
    /cx/ex/pwrsx set identify=<on|off>
  
  

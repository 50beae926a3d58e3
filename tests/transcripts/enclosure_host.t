Enclosures addressed directly below the host, /eN: they belong to family 6
and 7 controllers and are numbered across them. c0 (family 6) has a SAF-TE
enclosure; c1 (family 7) has two SES enclosures, the first with a sounding
alarm, the second with its enclosure element in an unknown state; c2
(family 6) has one more SAF-TE enclosure; c3 (family 8) has one SES
enclosure of its own, /c3/e1.

  $ cp "$FIXTURES/enclosureobj/hosts.json" host.json && export KV_EMULATED_HOST="$PWD/host.json"

The summary: the newest family's enclosures first, under the header with
the alarm column, then the host-level enclosures e0 (c0), e1 and e2 (c1)
and e3 (c2) with their legacy rows, which have no alarm column.

  $ "$KV_CLI" show | sed -n '/^Enclosure/,$p'
  Enclosure     Slots  Drives  Fans  TSUnits  PSUnits  Alarms   
  --------------------------------------------------------------
  /c3/e1        3      0       1     1        2        1        
  e0            4      2       2     1        1        
  e1            2      1       1     1        1        
  e2            2      0       2     0        0        
  e3            2      0       1     0        0        
  
  $ for e in e0 e1 e2 e3; do "$KV_CLI" /$e show controller; done
  /e0 connects to controller /c0
  
  /e1 connects to controller /c1
  
  /e2 connects to controller /c1
  
  /e3 connects to controller /c2
  

A SAF-TE enclosure: the status table names its controller in a column of
its own; power supplies and alarms have no table, the temperature sensors
only the temperature.

  $ "$KV_CLI" /e0 show
  
  Encl    Status      Controller
  ---------------------------------
  e0      OK          /c0
  
  Fan       Status          
  ------------------------
  fan0      OK              
  fan1      FAIL            
  
  TempSensor       Temperature 
  ------------------------------
  temp0            25C(77F)   
  
  Slot      Status          (V)Port       Identify
  --------------------------------------------------
  slot0     OK              /c0/p0        Off           
  slot1     NO-DEVICE       -             Off           
  slot2     OK              /c0/p1        Off           
  slot3     NO-DEVICE       -             Off           
  

An SES enclosure below the host: a sounding alarm decides its status; the
status table names only the controller.

  $ "$KV_CLI" /e1 show attribute alarms
  
  Encl        Status      
  -----------------------------
  /c1         ALARM-ACTIVATED 
  
  Alarm     Status          State     Audibility
  ------------------------------------------------
  alm0      ACTIVATED       ON        UNMUTE       
  
  $ "$KV_CLI" /e2 show attribute
  
  Encl        Status      
  -----------------------------
  /c1         UNKNOWN         
  

The attribute lines: the protocol line names an SES enclosure with its
controller. The SES-only words are refused on the SAF-TE enclosure with
117, which has no vendor texts either.

  $ for words in "protocol" "controllers" "vendor prodid prodrev"; do
  >   "$KV_CLI" /e0 show $words 2>&1; "$KV_CLI" /e1 show $words 2>&1
  > done
  /e0 Protocol = SAF-TE
  
  /c1/e1 Protocol = SES
  
  /e0 connects to controller /c0
  
  /e1 connects to controller /c1
  
  Error: (CLI:117) Invalid enclosure show command.
  
  
  /c1/e1 Vendor = KIVRA   
  /c1/e1 Product ID = KV-ENCL-8       
  /c1/e1 Product Revision = 0300
  
  $ for word in pwrs diag helptext vendor prodid prodrev; do
  >   "$KV_CLI" /e0 show $word 2>&1 | grep -v '^$'
  > done
  Error: (CLI:117) Invalid enclosure show command.
  Error: (CLI:117) Invalid enclosure show command.
  Error: (CLI:117) Invalid enclosure show command.
  Error: (CLI:117) Invalid enclosure show command.
  Error: (CLI:117) Invalid enclosure show command.
  Error: (CLI:117) Invalid enclosure show command.

"show all" on the SAF-TE enclosure prints only the tables.

  $ "$KV_CLI" /e0 show all | cmp - <("$KV_CLI" /e0 show) && echo same
  same

Help: the family 6 controller's enclosure has the host-level topic, the
family 7 controller's the controller-level one.

  $ "$KV_CLI" /e0 help | head -3
  
    /ex show                                      (Solvane/Tevrin only)    
    /ex show Attribute [Attribute]               where Attribute is:
  $ "$KV_CLI" /e1 help | head -3
  
    /cx/ex show                                      (Uthmar only)  
    /cx/ex show Attribute [Attribute]               where Attribute is:

Element addresses below a host-level enclosure, and the lookups' codes.

  $ for address in /e0/fan1 /e0/slot2 /e0/temp0 /e1/alm0 /e0/fan2 /e0/slot4 /e0/alm0 /e1/alm1 /e0/pwrs1 /e2/temp0 /e0/edr0 /e3 /e0/fan1/x /e0/x; do
  >   echo "[$address]"; "$KV_CLI" $address show 2>&1 | grep -v '^$'
  > done
  [/e0/fan1]
  Fan       Status          
  ------------------------
  fan1      FAIL            
  [/e0/slot2]
  Slot      Status          (V)Port       Identify
  --------------------------------------------------
  slot2     OK              /c0/p1        Off           
  [/e0/temp0]
  TempSensor       Temperature 
  ------------------------------
  temp0            25C(77F)   
  [/e1/alm0]
  Alarm     Status          State     Audibility
  ------------------------------------------------
  alm0      ACTIVATED       ON        UNMUTE       
  [/e0/fan2]
  Error: (CLI:114) Specified enclosure fan does not exist.
  [/e0/slot4]
  Error: (CLI:113) Specified enclosure slot does not exist.
  [/e0/alm0]
  Alarm     Status          State     Audibility
  ------------------------------------------------
  alm0      ACTIVATED       -         -            
  [/e1/alm1]
  Error: (CLI:111) Device not found.
  [/e0/pwrs1]
  Error: (CLI:129) Specified enclosure power supply does not exist.
  [/e2/temp0]
  Error: (CLI:127) Specified enclosure temperature sensor does not exist.
  [/e0/edr0]
  Error: (CLI:111) Device not found.
  [/e3]
  Encl    Status      Controller
  ---------------------------------
  e3      OK          /c2
  Fan       Status          
  ------------------------
  fan0      OK              
  Slot      Status          (V)Port       Identify
  --------------------------------------------------
  slot0     NO-DEVICE       -             Off           
  slot1     NO-DEVICE       -             Off           
  [/e0/fan1/x]
  Error: (CLI:002) Syntax Error.
  [/e0/x]
  Error: (CLI:002) Syntax Error.

The focus moves to a host-level enclosure and its elements; a command
given relative to it looks only at its own words, so a host name with
"all" in it does not turn "show fans" into the "all" view.

  $ jq '.machine.host_name = "smallbox"' host.json > small.json && mv small.json host.json
  $ printf 'cf /e0\nshow fans\ncf fan1\nshow\ncf /e9\n' | "$KV_CLI" 2>&1
  //smallbox> 
  //smallbox/e0> 
  Fan       Status          
  ------------------------
  fan0      OK              
  fan1      FAIL            
  
  //smallbox/e0> 
  //smallbox/e0/fan1> 
  Fan       Status          
  ------------------------
  fan1      FAIL            
  
  //smallbox/e0/fan1> Error: (CLI:112) Specified enclosure does not exist.
  
  //smallbox/e0/fan1>  (no-eol)
  $ jq '.machine.host_name = "kvhost"' host.json > small.json && mv small.json host.json

Enclosures that cannot be read cost only themselves. When c1's enclosure
protocol can be read for the enumeration but not when its enclosures are
built, each of them is reported on standard error and left out; the other
enclosures, and the numbers of those after them, stay as they were.

  $ arm() {
  >   jq '.faults = [{"match": {"layer": "firmware", "table": 8, "parameter": 2, "controller": 1},
  >       "action": {"status": 1, "code": "0x0204"}, "count": "always", "skip": 3}]' host.json > f.json && mv f.json host.json
  > }
  $ arm; "$KV_CLI" show 2>err | sed -n '/^Enclosure/,$p'; cat err
  Enclosure     Slots  Drives  Fans  TSUnits  PSUnits  Alarms   
  --------------------------------------------------------------
  /c3/e1        3      0       1     1        2        1        
  e0            4      2       2     1        1        
  e3            2      0       1     0        0        
  
  (0x03:0x0204): Drive timeout
  
  
  (0x03:0x0204): Drive timeout
  
  
  $ arm; "$KV_CLI" /e3 show controller 2>/dev/null
  /e3 connects to controller /c2
  
  $ arm; "$KV_CLI" /e1 show 2>&1 | grep -v '^$'
  (0x03:0x0204): Drive timeout
  (0x03:0x0204): Drive timeout
  Error: (CLI:112) Specified enclosure does not exist.

A family 7 controller that cannot be built (its port count cannot be read)
is reported once; its enclosures are left out without a further message
and keep their numbers.

  $ jq '.faults = [{"match": {"layer": "firmware", "table": "0x0403", "parameter": 3, "controller": 1},
  >     "action": {"status": 1, "code": "0x0204"}, "count": "always"}]' host.json > f.json && mv f.json host.json
  $ "$KV_CLI" show 2>err | sed -n '/^Enclosure/,$p'; cat err
  Enclosure     Slots  Drives  Fans  TSUnits  PSUnits  Alarms   
  --------------------------------------------------------------
  /c3/e1        3      0       1     1        2        1        
  e0            4      2       2     1        1        
  e3            2      0       1     0        0        
  
  (0x03:0x0204): Drive timeout
  
  
  $ "$KV_CLI" /e2 show 2>&1 | grep -v '^$'
  (0x03:0x0204): Drive timeout
  Error: (CLI:112) Specified enclosure does not exist.
  $ "$KV_CLI" /e3 show controller 2>/dev/null
  /e3 connects to controller /c2
  

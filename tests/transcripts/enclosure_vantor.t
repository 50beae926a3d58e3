The enclosures of a newest-family controller, /c0/eN: controller c0 has an
SES enclosure e0 behind port 0 (12 slots holding drives in slots 0 and 10,
two fans, two power supplies, two temperature sensors, an alarm, a door lock
and a help text) and an SES enclosure e2 behind port 2 (4 slots, one fan,
its enclosure element in the warning state). Port 3 holds a drive attached
directly, port 5 a drive that reports an enclosure attachment but no slot.

  $ cp "$FIXTURES/enclosureobj/vantor.json" host.json && export KV_EMULATED_HOST="$PWD/host.json"

The host's "show" lists the enclosure summary after the controllers, one
row per enclosure of the controller, named with it.

  $ "$KV_CLI" show
  
  Ctl   Model        (V)Ports  Drives   Units   NotOpt  RRate   VRate  BBU
  ------------------------------------------------------------------------
  c0    KV-V820-16p  5         5        1       0       3       3      -        
  
  Enclosure     Slots  Drives  Fans  TSUnits  PSUnits  Alarms   
  --------------------------------------------------------------
  /c0/e0        12     2       2     2        2        1        
  /c0/e2        4      1       1     0        0        0        
  

The controller's drive table names the enclosure slot of each drive behind
an enclosure: "-" for the drive attached directly, which shows its phy, and
for the drive whose slot the library cannot tell.

  $ "$KV_CLI" /c0 show | sed -n '/^VPort/,$p'
  VPort Status         Unit Size      Type  Phy Encl-Slot    Model
  ------------------------------------------------------------------------------
  p0    OK             u0   465.76 GB SATA  -   /c0/e0/slt0  KV-DISK-500         
  p1    OK             u0   465.76 GB SAS   -   /c0/e0/slt10 KV-DISK-500         
  p2    OK             -    465.76 GB SATA  -   /c0/e2/slt1  KV-DISK-500         
  p3    OK             -    465.76 GB SATA  3   -            KV-DISK-500         
  p5    OK             -    465.76 GB SAS   -   -            KV-DISK-500         
  

"show" prints the status table, then the fan, temperature-sensor,
power-supply, slot and alarm tables; slots by ascending number, slot10
after slot9.

  $ "$KV_CLI" /c0/e0 show
  
  Encl        Status      
  -----------------------------
  /c0/e0      OK              
  
                                      ---Speed--- 
  Fan         Status          State   Step   RPM     Identify
  ------------------------------------------------------------
  fan0        OK              ON      3      3000    Off     
  fan1        OK              ON      5      5120    Off     
  
  TempSensor    Status         Temperature     Identify 
  --------------------------------------------------------
  temp0         OK             25C(77F)        Off             
  temp1         OK             -7C(20F)        Off             
  
  PowerSupply  Status         State  Voltage        Current        Identify
  ---------------------------------------------------------------------------
  pwrs0        OK             on     OK             OK             Off     
  pwrs1        OK             on     OVER-VOLTAGE   OK             Off     
  
  Slot      Status          (V)Port       Identify
  --------------------------------------------------
  slot0     OK              /c0/p0        Off           
  slot1     NO-DEVICE       -             Off           
  slot2     NO-DEVICE       -             Off           
  slot3     NO-DEVICE       -             Off           
  slot4     NO-DEVICE       -             Off           
  slot5     NO-DEVICE       -             Off           
  slot6     NO-DEVICE       -             Off           
  slot7     NO-DEVICE       -             Off           
  slot8     NO-DEVICE       -             Off           
  slot9     NO-DEVICE       -             Off           
  slot10    OK              /c0/p1        Off           
  slot11    NO-DEVICE       -             Off           
  
  Alarm     Status          State     Audibility
  ------------------------------------------------
  alm0      OK              OFF       UNMUTE       
  

"show all" on an SES enclosure prints the vendor, product and revision
lines first; "all" anywhere in the words after "show" asks for it, so the
word "fans" is not shown on its own.

  $ "$KV_CLI" /c0/e0 show all | head -5
  /c0/e0 Vendor = KIVRA   
  /c0/e0 Product ID = KV-ENCL-12      
  /c0/e0 Product Revision = 0201
  
  Encl        Status      
  $ "$KV_CLI" /c0/e0 show fans all > fans_all.txt && "$KV_CLI" /c0/e0 show all > all.txt && cmp fans_all.txt all.txt && echo same
  same

Each attribute word prints its table or its line, in the order given.

  $ for word in slot slots fan fans temp temps tempsensors attribute alarms alms controller controllers protocol pwrs vendor prodid prodrev diag helptext; do
  >   echo "[$word]"; "$KV_CLI" /c0/e0 show $word | grep -v '^$'
  > done
  [slot]
  Slot      Status          (V)Port       Identify
  --------------------------------------------------
  slot0     OK              /c0/p0        Off           
  slot1     NO-DEVICE       -             Off           
  slot2     NO-DEVICE       -             Off           
  slot3     NO-DEVICE       -             Off           
  slot4     NO-DEVICE       -             Off           
  slot5     NO-DEVICE       -             Off           
  slot6     NO-DEVICE       -             Off           
  slot7     NO-DEVICE       -             Off           
  slot8     NO-DEVICE       -             Off           
  slot9     NO-DEVICE       -             Off           
  slot10    OK              /c0/p1        Off           
  slot11    NO-DEVICE       -             Off           
  [slots]
  Slot      Status          (V)Port       Identify
  --------------------------------------------------
  slot0     OK              /c0/p0        Off           
  slot1     NO-DEVICE       -             Off           
  slot2     NO-DEVICE       -             Off           
  slot3     NO-DEVICE       -             Off           
  slot4     NO-DEVICE       -             Off           
  slot5     NO-DEVICE       -             Off           
  slot6     NO-DEVICE       -             Off           
  slot7     NO-DEVICE       -             Off           
  slot8     NO-DEVICE       -             Off           
  slot9     NO-DEVICE       -             Off           
  slot10    OK              /c0/p1        Off           
  slot11    NO-DEVICE       -             Off           
  [fan]
                                      ---Speed--- 
  Fan         Status          State   Step   RPM     Identify
  ------------------------------------------------------------
  fan0        OK              ON      3      3000    Off     
  fan1        OK              ON      5      5120    Off     
  [fans]
                                      ---Speed--- 
  Fan         Status          State   Step   RPM     Identify
  ------------------------------------------------------------
  fan0        OK              ON      3      3000    Off     
  fan1        OK              ON      5      5120    Off     
  [temp]
  TempSensor    Status         Temperature     Identify 
  --------------------------------------------------------
  temp0         OK             25C(77F)        Off             
  temp1         OK             -7C(20F)        Off             
  [temps]
  TempSensor    Status         Temperature     Identify 
  --------------------------------------------------------
  temp0         OK             25C(77F)        Off             
  temp1         OK             -7C(20F)        Off             
  [tempsensors]
  TempSensor    Status         Temperature     Identify 
  --------------------------------------------------------
  temp0         OK             25C(77F)        Off             
  temp1         OK             -7C(20F)        Off             
  [attribute]
  Encl        Status      
  -----------------------------
  /c0/e0      OK              
  [alarms]
  Alarm     Status          State     Audibility
  ------------------------------------------------
  alm0      OK              OFF       UNMUTE       
  [alms]
  Alarm     Status          State     Audibility
  ------------------------------------------------
  alm0      OK              OFF       UNMUTE       
  [controller]
  /e0 connects to controller /c0
  [controllers]
  /e0 connects to controller /c0
  [protocol]
  /c0/e0 Protocol = SES
  [pwrs]
  PowerSupply  Status         State  Voltage        Current        Identify
  ---------------------------------------------------------------------------
  pwrs0        OK             on     OK             OK             Off     
  pwrs1        OK             on     OVER-VOLTAGE   OK             Off     
  [vendor]
  /c0/e0 Vendor = KIVRA   
  [prodid]
  /c0/e0 Product ID = KV-ENCL-12      
  [prodrev]
  /c0/e0 Product Revision = 0201
  [diag]
  /e0 Diagnostic Help Text = 
  Front bays 0-11.
  [helptext]
  /e0 Diagnostic Help Text = 
  Front bays 0-11.

The enclosure whose enclosure element reports a warning shows WARNING; it
has no alarm, power supply or temperature sensor, so those words print
nothing, and it has no help text.

  $ "$KV_CLI" /c0/e2 show attribute alarms pwrs temps diag
  
  Encl        Status      
  -----------------------------
  /c0/e2      WARNING         
  There is no enclosure help text for /e2 or the help text is not available.
  

The status by the state of e2's enclosure element: unsupported (0),
unrecoverable (4) and not available (7) show "-"; without an enclosure
element the status is unknown.

  $ for state in '{"status": "unsupported"}' '{"status": "critical"}' '{"failure": true}' '{"status": "unrecoverable"}' '{"status": "not_installed"}' '{"status": "unknown"}' '{"status": "not_available"}' 'false'; do
  >   jq --argjson s "$state" '.machine.controllers[0].enclosures.list[1].enclosure = $s' host.json > f.json && mv f.json host.json
  >   echo "$state: $("$KV_CLI" /c0/e2 show attribute | tail -2 | head -1)"
  > done
  {"status": "unsupported"}: /c0/e2      -               
  {"status": "critical"}: /c0/e2      FAIL            
  {"failure": true}: /c0/e2      FAIL            
  {"status": "unrecoverable"}: /c0/e2      -               
  {"status": "not_installed"}: /c0/e2      NOT-INSTALLED   
  {"status": "unknown"}: /c0/e2      UNKNOWN         
  {"status": "not_available"}: /c0/e2      -               
  false: /c0/e2      UNKNOWN         
  $ jq '.machine.controllers[0].enclosures.list[1].enclosure = {"warning": true}' host.json > f.json && mv f.json host.json

An alarm decides the status of an SES enclosure before its enclosure
element: a sounding alarm, also a muted one, shows ALARM-ACTIVATED, a failed
alarm ALARM-FAIL, a muted alarm that does not sound leaves the status to
the enclosure element.

  $ for alarm in '{"tones": 1}' '{"tones": 2, "muted": true}' '{"fail": true}' '{"muted": true}'; do
  >   jq --argjson a "$alarm" '.machine.controllers[0].enclosures.list[0].alarms = [$a]' host.json > f.json && mv f.json host.json
  >   echo "$alarm: $("$KV_CLI" /c0/e0 show attribute | tail -2 | head -1)"
  > done
  {"tones": 1}: /c0/e0      ALARM-ACTIVATED 
  {"tones": 2, "muted": true}: /c0/e0      ALARM-ACTIVATED 
  {"fail": true}: /c0/e0      ALARM-FAIL      
  {"muted": true}: /c0/e0      OK              
  $ jq '.machine.controllers[0].enclosures.list[0].alarms = [{}]' host.json > f.json && mv f.json host.json

Word errors: no word is 115, another command word 116, a show word that is
no attribute 117, after the words before it have printed; "help" with
further words prints the whole topic.

  $ for words in "" "list" "show bogus" "show fans bogus" "set x=1"; do
  >   echo "[$words]"; "$KV_CLI" /c0/e0 $words 2>&1 | grep -v '^$'
  > done
  []
  Error: (CLI:115) Invalid enclosure command syntax.
  [list]
  Error: (CLI:116) Invalid enclosure command.
  [show bogus]
  Error: (CLI:117) Invalid enclosure show command.
  [show fans bogus]
                                      ---Speed--- 
  Fan         Status          State   Step   RPM     Identify
  ------------------------------------------------------------
  fan0        OK              ON      3      3000    Off     
  fan1        OK              ON      5      5120    Off     
  Error: (CLI:117) Invalid enclosure show command.
  [set x=1]
  Error: (CLI:116) Invalid enclosure command.
  $ "$KV_CLI" /c0/e0 help extra > help_extra.txt && "$KV_CLI" /c0/e0 ? > help_all.txt && cmp help_extra.txt help_all.txt && "$KV_CLI" /c0/e0 show help | cmp - help_all.txt && head -3 help_all.txt
  
    /cx/ex show                                      (Uthmar only)  
    /cx/ex show Attribute [Attribute]               where Attribute is:

Addresses of the enclosure and its elements: an element that the
enclosure has, with or without the host in front; doors by "edr" or "door";
a slot by "slt" as the drive table writes it reaches the slot lookup under
its own name. A missing enclosure or element fails with its lookup's code.

  $ for address in //kvhost/c0/e0/fan1 /c0/e0/slot10 /c0/e0/temp1 /c0/e0/pwrs1 /c0/e0/alm0 /c0/e0/edr0 /c0/e0/door0 //kvhost.lab.example/c0/e2/slot1; do
  >   echo "[$address]"; "$KV_CLI" $address show 2>&1 | grep -v '^$'
  > done
  [//kvhost/c0/e0/fan1]
                                      ---Speed--- 
  Fan         Status          State   Step   RPM     Identify
  ------------------------------------------------------------
  fan1        OK              ON      5      5120    Off     
  [/c0/e0/slot10]
  Slot      Status          (V)Port       Identify
  --------------------------------------------------
  slot10    OK              /c0/p1        Off           
  [/c0/e0/temp1]
  TempSensor    Status         Temperature     Identify 
  --------------------------------------------------------
  temp1         OK             -7C(20F)        Off             
  [/c0/e0/pwrs1]
  PowerSupply  Status         State  Voltage        Current        Identify
  ---------------------------------------------------------------------------
  pwrs1        OK             on     OVER-VOLTAGE   OK             Off     
  [/c0/e0/alm0]
  Alarm     Status          State     Audibility
  ------------------------------------------------
  alm0      OK              OFF       UNMUTE       
  [/c0/e0/edr0]
  Door      Switch      Status 
  ----------------------------
  edr0      Locked          Locked        
  [/c0/e0/door0]
  Door      Switch      Status 
  ----------------------------
  edr0      Locked          Locked        
  [//kvhost.lab.example/c0/e2/slot1]
  Slot      Status          (V)Port       Identify
  --------------------------------------------------
  slot1     OK              /c0/p2        Off           
  $ for address in /c0/e1 /c0/e0/slot12 /c0/e0/slt10 /c0/e0/fan2 /c0/e0/temp2 /c0/e0/pwrs2 /c0/e0/alm1 /c0/e0/edr1 /c0/e0/door1 /c0/e0/fan1/x /c0/e0/bogus /c9/e0; do
  >   echo "[$address]"; "$KV_CLI" $address show 2>&1 | grep -v '^$'
  > done
  [/c0/e1]
  Error: (CLI:112) Specified enclosure does not exist.
  [/c0/e0/slot12]
  Error: (CLI:113) Specified enclosure slot does not exist.
  [/c0/e0/slt10]
  Error: (CLI:113) Specified enclosure slot does not exist.
  [/c0/e0/fan2]
  Error: (CLI:114) Specified enclosure fan does not exist.
  [/c0/e0/temp2]
  Error: (CLI:127) Specified enclosure temperature sensor does not exist.
  [/c0/e0/pwrs2]
  Error: (CLI:129) Specified enclosure power supply does not exist.
  [/c0/e0/alm1]
  Error: (CLI:111) Device not found.
  [/c0/e0/edr1]
  Error: (CLI:111) Device not found.
  [/c0/e0/door1]
  Error: (CLI:111) Device not found.
  [/c0/e0/fan1/x]
  Error: (CLI:002) Syntax Error.
  [/c0/e0/bogus]
  Error: (CLI:002) Syntax Error.
  [/c9/e0]
  Error: (CLI:003) Specified controller does not exist.

An enclosure that cannot be built costs only itself: when the protocol of
e0 cannot be read as the controller builds it, e0 is reported on standard
error and missing, while the controller and e2 work.

  $ arm() {
  >   jq '.faults = [{"match": {"layer": "firmware", "table": 8, "parameter": 2, "controller": 0},
  >       "action": {"status": 1, "code": "0x0204"}, "count": 1, "skip": 3}]' host.json > f.json && mv f.json host.json
  > }
  $ arm; "$KV_CLI" /c0/e0 show 2>&1 | grep -v '^$'
  (0x03:0x0204): Drive timeout
  Error: (CLI:112) Specified enclosure does not exist.
  $ arm; "$KV_CLI" /c0/e2 show controller 2>&1 | grep -v '^$'
  (0x03:0x0204): Drive timeout
  /e2 connects to controller /c0
  $ arm; "$KV_CLI" /c0 show 2>/dev/null | grep -c KV-DISK-500
  5

Unit shapes the descriptor tree allows, in every view that shows them.
Controller c0 (family 8) holds RAID-6 units whose RAID-6 element and two
extension elements each have a state of their own, so that the compound
status carries three flags, and two units migrating between layouts with
other subunit counts: u6 from a RAID-10 of three mirrors to a RAID-50 of
three RAID-5 groups, u7 from a RAID-5 to a RAID-6 with two extensions.
Controller c1 (family 6) holds a unit migrating over three layouts, which
comes last; until then it keeps the first two.

  $ jq '.machine.controllers[1].units[1].layouts |= .[0:2]' "$FIXTURES/shapes/host.json" > host.json
  $ export KV_EMULATED_HOST="$PWD/host.json"

The compound status of a RAID-6 unit takes one flag from each of its
elements (the RAID-6 element, then the extensions) and the first row of
the status table whose flags are all set: u0 degraded + rebuilding +
verifying, u1 degraded + rebuilding (paused) + initialising, u2
rebuilding + degraded + migrating, u3 rebuilding + rebuilding (paused) +
verifying (paused), u4 inoperable + degraded + verifying (a degraded
element outranks the inoperable one in the table), u5 without
extensions. Each percentage is the mean of its group, active when one
of its elements runs: u3 rebuilds at (20 + 41) / 2 = 30 %. The migrating
units show their own state and percentage.

  $ "$KV_CLI" /c0 show | sed -n 1,12p
  
  Unit  UnitType  Status         %RCmpl  %V/I/M  Stripe  Size(GB)  Cache  AVrfy
  ------------------------------------------------------------------------------
  u0    RAID-6    DGRD-RBLD-VRFY 20%(A)  60%(A)  64K     2794.54   RiW    OFF    
  u1    RAID-6    DGRD-RBLD-INIT 41%(P)  10%(A)  64K     2794.54   RiW    OFF    
  u2    RAID-6    DGRD-RBLD-MGRT 20%(A)  30%(A)  64K     2794.54   RiW    OFF    
  u3    RAID-6    REBUILD-VERIFY 30%(A)  60%(P)  64K     2794.54   RiW    OFF    
  u4    RAID-6    DEGRADED-VRFY  -       60%(A)  64K     2794.54   RiW    OFF    
  u5    RAID-6    OK             -       -       64K     2794.54   RiW    OFF    
  u6    Migrator  MIGRATING      -       25%     -       2794.54   RiW    OFF    
  u7    Migrator  MIGRATING      -       75%     -       1863.03   RiW    OFF    
  
  $ "$KV_CLI" /c0 show all > all.txt; grep Optimal all.txt; sed -n '/^Unit /,/^$/p' all.txt
  /c0 Total Optimal Units = 1
  /c0 Not Optimal Units = 7 
  Unit  UnitType  Status         %RCmpl  %V/I/M  Stripe  Size(GB)  Cache  AVrfy
  ------------------------------------------------------------------------------
  u0    RAID-6    DGRD-RBLD-VRFY 20%(A)  60%(A)  64K     2794.54   RiW    OFF    
  u1    RAID-6    DGRD-RBLD-INIT 41%(P)  10%(A)  64K     2794.54   RiW    OFF    
  u2    RAID-6    DGRD-RBLD-MGRT 20%(A)  30%(A)  64K     2794.54   RiW    OFF    
  u3    RAID-6    REBUILD-VERIFY 30%(A)  60%(P)  64K     2794.54   RiW    OFF    
  u4    RAID-6    DEGRADED-VRFY  -       60%(A)  64K     2794.54   RiW    OFF    
  u5    RAID-6    OK             -       -       64K     2794.54   RiW    OFF    
  u6    Migrator  MIGRATING      -       25%     -       2794.54   RiW    OFF    
  u7    Migrator  MIGRATING      -       75%     -       1863.03   RiW    OFF    
  

The unit's own table: the members that an element's state names read
DEGRADED (u0: p1 from the RAID-6 element, p2 from the rebuilding
extension).

  $ for u in 0 1 2 3 4 5; do "$KV_CLI" /c0/u$u show | sed -n 4,9p; done
  u0       RAID-6    DGRD-RBLD-VRFY*20%(A)  60%(A)  -     64K     2794.54   
  u0-0     DISK      OK             -       -       p0    -       931.513   
  u0-1     DISK      DEGRADED       -       -       p1    -       931.513   
  u0-2     DISK      DEGRADED       -       -       p2    -       931.513   
  u0-3     DISK      OK             -       -       p3    -       931.513   
  u0-4     DISK      OK             -       -       p4    -       931.513   
  u1       RAID-6    DGRD-RBLD-INIT*41%(P)  10%(A)  -     64K     2794.54   
  u1-0     DISK      DEGRADED       -       -       p5    -       931.513   
  u1-1     DISK      OK             -       -       p6    -       931.513   
  u1-2     DISK      OK             -       -       p7    -       931.513   
  u1-3     DISK      DEGRADED       -       -       p8    -       931.513   
  u1-4     DISK      OK             -       -       p9    -       931.513   
  u2       RAID-6    DGRD-RBLD-MGRT*20%(A)  30%(A)  -     64K     2794.54   
  u2-0     DISK      OK             -       -       p10   -       931.513   
  u2-1     DISK      DEGRADED       -       -       p11   -       931.513   
  u2-2     DISK      OK             -       -       p12   -       931.513   
  u2-3     DISK      OK             -       -       p13   -       931.513   
  u2-4     DISK      DEGRADED       -       -       p14   -       931.513   
  u3       RAID-6    REBUILD-VERIFY*30%(A)  60%(P)  -     64K     2794.54   
  u3-0     DISK      DEGRADED       -       -       p15   -       931.513   
  u3-1     DISK      OK             -       -       p16   -       931.513   
  u3-2     DISK      DEGRADED       -       -       p17   -       931.513   
  u3-3     DISK      OK             -       -       p18   -       931.513   
  u3-4     DISK      OK             -       -       p19   -       931.513   
  u4       RAID-6    DEGRADED-VRFY* -       60%(A)  -     64K     2794.54   
  u4-0     DISK      DEGRADED       -       -       p20   -       931.513   
  u4-1     DISK      DEGRADED       -       -       p21   -       931.513   
  u4-2     DISK      OK             -       -       p22   -       931.513   
  u4-3     DISK      OK             -       -       p23   -       931.513   
  u4-4     DISK      OK             -       -       p24   -       931.513   
  u5       RAID-6    OK*            -       -       -     64K     2794.54   
  u5-0     DISK      OK             -       -       p25   -       931.513   
  u5-1     DISK      OK             -       -       p26   -       931.513   
  u5-2     DISK      OK             -       -       p27   -       931.513   
  u5-3     DISK      OK             -       -       p28   -       931.513   
  u5-4     DISK      OK             -       -       p29   -       931.513   

The attribute lines: a task line reports the group whose marker the
compound status carries; the parity number counts the RAID-6 element and
its extensions.

  $ for u in 0 1 2 4 5; do "$KV_CLI" /c0/u$u show status rebuildstatus verifystatus initializestatus parity; done
  /c0/u0 status = DGRD-RBLD-VRFY
  /c0/u0 is rebuilding with percent completion = 20%(A)
  /c0/u0 is verifying with percent completion = 60%(A)
  /c0/u0 is initialized.
  /c0/u0 Parity Number = 3         
  
  /c0/u1 status = DGRD-RBLD-INIT
  /c0/u1 is rebuilding with percent completion = 41%(P)
  /c0/u1 is not verifying, its current state is DGRD-RBLD-INIT
  /c0/u1 is initialized.
  /c0/u1 Parity Number = 3         
  
  /c0/u2 status = DGRD-RBLD-MGRT
  /c0/u2 is rebuilding with percent completion = 20%(A)
  /c0/u2 is not verifying, its current state is DGRD-RBLD-MGRT
  /c0/u2 is initialized.
  /c0/u2 Parity Number = 3         
  
  /c0/u4 status = DEGRADED-VRFY
  /c0/u4 is not rebuilding, its current state is DEGRADED-VRFY
  /c0/u4 is verifying with percent completion = 60%(A)
  /c0/u4 is initialized.
  /c0/u4 Parity Number = 3         
  
  /c0/u5 status = OK
  /c0/u5 is not rebuilding, its current state is OK
  /c0/u5 is not verifying, its current state is OK
  /c0/u5 is initialized.
  /c0/u5 Parity Number = 1         
  
  $ "$KV_CLI" /c0/u3 show all
  /c0/u3 status = REBUILD-VERIFY
  /c0/u3 is rebuilding with percent completion = 30%(A)
  /c0/u3 is verifying with percent completion = 60%(P)
  /c0/u3 is initialized.
  /c0/u3 Write Cache = on
  /c0/u3 Read Cache = Intelligent
  /c0/u3 volume(s) = 1
  /c0/u3 name =                      
  /c0/u3 serial number =                      
  /c0/u3 Ignore ECC policy = off       
  /c0/u3 Auto Verify Policy = off       
  /c0/u3 Keepwell Policy = balance     
  /c0/u3 Command Queuing Policy = on        
  /c0/u3 Rapid RAID Recovery setting = all
  /c0/u3 Parity Number = 3         
  
  Unit     UnitType  Status         %RCmpl  %V/I/M  VPort Stripe  Size(GB)
  ------------------------------------------------------------------------
  u3       RAID-6    REBUILD-VERIFY*30%(A)  60%(P)  -     64K     2794.54   
  u3-0     DISK      DEGRADED       -       -       p15   -       931.513   
  u3-1     DISK      OK             -       -       p16   -       931.513   
  u3-2     DISK      DEGRADED       -       -       p17   -       931.513   
  u3-3     DISK      OK             -       -       p18   -       931.513   
  u3-4     DISK      OK             -       -       p19   -       931.513   
  u3/v0    Volume    -              -       -       -     -       2794.54   
  

The old output style shows the plain state of the RAID-6 element, with
its percentage where that element runs a task; the detail report lists
the five members and passes over the extensions.

  $ KV_CLI_STYLE=old "$KV_CLI" info c0 | sed -n '/# of units/,/^$/p'
  # of units: 8
  \tUnit 0: RAID 6 2.73 TB ( 5860575504 blocks): DEGRADED (esc)
  \tUnit 1: RAID 6 2.73 TB ( 5860575504 blocks): DEGRADED (esc)
  \tUnit 2: RAID 6 2.73 TB ( 5860575504 blocks): REBUILDING (20%) (esc)
  \tUnit 3: RAID 6 2.73 TB ( 5860575504 blocks): REBUILDING (20%) (esc)
  \tUnit 4: RAID 6 2.73 TB ( 5860575504 blocks): INOPERABLE (esc)
  \tUnit 5: RAID 6 2.73 TB ( 5860575504 blocks): OK (esc)
  \tUnit 6: UNKNOWN 2.73 TB ( 5860575504 blocks): MIGRATING (25%) (esc)
  \tUnit 7: UNKNOWN 1.82 TB ( 3907050336 blocks): MIGRATING (75%) (esc)
  
  $ KV_CLI_STYLE=old "$KV_CLI" info c0 u2 | sed -n '1,9p;/Subunit 4/,$p'
  Unit /c0/u2
  ---------------------
  Status:        REBUILDING (20%)
  Unit Type:     RAID 6
  Stripe Size:   64k
  Size:          2.73 TB (5860575504 blocks)
  # of subunits: 5
  
  \tSubunit 0:    CBOD: OK (esc)
  \tSubunit 4:    CBOD: DEGRADED (esc)
  \tPhysical Port: 14 (esc)
  \tLogical  Port: 4 (esc)
  

A migrating unit shows one Migrator row, then the table of each layout:
the source (su) and the destination (du), whatever their subunit count.
The RAID-6 destination of u7 reads OK: a RAID-6 subunit's elements are
taken from the extension range of the unit's first descriptor, which is
the migrating element and has none.

  $ "$KV_CLI" /c0/u6 show
  
  Unit     UnitType  Status         %RCmpl  %V/I/M  VPort Stripe  Size(GB)
  ------------------------------------------------------------------------
  u6       Migrator  MIGRATING      -       25%     -     -       -         
  
  su6      RAID-10   OK             -       -       -     64K     2794.54   
  su6-0    RAID-1    OK             -       -       -     -       -         
  su6-0-0  DISK      OK             -       -       p30   -       931.513   
  su6-0-1  DISK      OK             -       -       p31   -       931.513   
  su6-1    RAID-1    OK             -       -       -     -       -         
  su6-1-0  DISK      OK             -       -       p32   -       931.513   
  su6-1-1  DISK      OK             -       -       p33   -       931.513   
  su6-2    RAID-1    OK             -       -       -     -       -         
  su6-2-0  DISK      OK             -       -       p34   -       931.513   
  su6-2-1  DISK      OK             -       -       p35   -       931.513   
  su6/v0   Volume    -              -       -       -     -       2794.54   
  
  du6      RAID-50   OK             -       -       -     -       5589.08   
  du6-0    RAID-5    OK             -       -       -     64K     -         
  du6-0-0  DISK      OK             -       -       p30   -       931.513   
  du6-0-1  DISK      OK             -       -       p31   -       931.513   
  du6-0-2  DISK      OK             -       -       p32   -       931.513   
  du6-1    RAID-5    OK             -       -       -     64K     -         
  du6-1-0  DISK      OK             -       -       p33   -       931.513   
  du6-1-1  DISK      OK             -       -       p34   -       931.513   
  du6-1-2  DISK      OK             -       -       p35   -       931.513   
  du6-2    RAID-5    OK             -       -       -     64K     -         
  du6-2-0  DISK      OK             -       -       p36   -       931.513   
  du6-2-1  DISK      OK             -       -       p37   -       931.513   
  du6-2-2  DISK      OK             -       -       p38   -       931.513   
  du6/v0   Volume    -              -       -       -     -       N/A       
  
  $ "$KV_CLI" /c0/u7 show all
  /c0/u7 status = MIGRATING
  /c0/u7 is not rebuilding, its current state is MIGRATING
  /c0/u7 is not verifying, its current state is MIGRATING
  /c0/u7 is initialized.
  /c0/u7 Write Cache = on
  /c0/u7 Read Cache = Intelligent
  /c0/u7 volume(s) = 1
  /c0/u7 name =                      
  /c0/u7 serial number =                      
  /c0/u7 Ignore ECC policy = off       
  /c0/u7 Auto Verify Policy = off       
  /c0/u7 Keepwell Policy = balance     
  /c0/u7 Command Queuing Policy = on        
  /c0/u7 Rapid RAID Recovery setting = all
  
  Unit     UnitType  Status         %RCmpl  %V/I/M  VPort Stripe  Size(GB)
  ------------------------------------------------------------------------
  u7       Migrator  MIGRATING      -       75%     -     -       -         
  
  su7      RAID-5    OK             -       -       -     64K     1863.03   
  su7-0    DISK      OK             -       -       p39   -       931.513   
  su7-1    DISK      OK             -       -       p40   -       931.513   
  su7-2    DISK      OK             -       -       p41   -       931.513   
  su7/v0   Volume    -              -       -       -     -       1863.03   
  
  du7      RAID-6    OK             -       -       -     64K     2794.54   
  du7-0    DISK      OK             -       -       p39   -       931.513   
  du7-1    DISK      OK             -       -       p40   -       931.513   
  du7-2    DISK      OK             -       -       p41   -       931.513   
  du7-3    DISK      OK             -       -       p42   -       931.513   
  du7-4    DISK      OK             -       -       p43   -       931.513   
  du7/v0   Volume    -              -       -       -     -       N/A       
  
  $ KV_CLI_STYLE=old "$KV_CLI" info c0 u6
  Unit /c0/u6
  ---------------------
  Status:        MIGRATING (25%)
  Unit Type:     UNKNOWN
  Stripe Size:   N/A
  Size:          2.73 TB (5860575504 blocks)
  # of subunits: 2
  
  \tSubunit 0:    RAID 10: OK (esc)
  
  \tSubunit 1:    RAID 50: OK (esc)
  
  $ KV_CLI_STYLE=old "$KV_CLI" info c0 u7 > detail.txt; grep RAID detail.txt; grep -c CBOD detail.txt
  \tSubunit 0:    RAID 5: OK (esc)
  \tSubunit 1:    RAID 6: OK (esc)
  8

Listed as "layouts", two layouts make the same unit (c1/u1, so far).

  $ "$KV_CLI" /c1/u1 show
  
  Unit     UnitType  Status         %RCmpl  %V/I/M  Port  Stripe  Size(GB)
  ------------------------------------------------------------------------
  u1       Migrator  MIGRATING      -       50%     -     -       -         
  
  su1      RAID-1    OK             -       -       -     -       931.513   
  su1-0    DISK      OK             -       -       p3    -       931.513   
  su1-1    DISK      OK             -       -       p4    -       931.513   
  su1/v0   Volume    -              -       -       -     -       931.513   
  
  du1      RAID-5    OK             -       -       -     64K     1863.03   
  du1-0    DISK      OK             -       -       p3    -       931.513   
  du1-1    DISK      OK             -       -       p4    -       931.513   
  du1-2    DISK      OK             -       -       p5    -       931.513   
  du1/v0   Volume    -              -       -       -     -       N/A       
  

A migrating unit needs exactly two layouts: with three (c1/u1: RAID-1,
RAID-5 of three drives, RAID-5 of four) the controller cannot be built.
It is reported in every command and left out: the listing goes on
without it, and every command addressed to it finds no controller.

  $ cp "$FIXTURES/shapes/host.json" host.json
  $ "$KV_CLI" show
  I can not have more than 2 subunits for a migrator
  
  
  
  Ctl   Model        (V)Ports  Drives   Units   NotOpt  RRate   VRate  BBU
  ------------------------------------------------------------------------
  c0    KV-V820-24p  44        44       8       7       3       3      -        
  
  $ for words in "/c1 show" "/c1 show all" "/c1/u1 show" "/c1/u0 show all"; do "$KV_CLI" $words; echo "status $?"; done
  I can not have more than 2 subunits for a migrator
  
  
  Error: (CLI:003) Specified controller does not exist.
  
  
  status 1
  I can not have more than 2 subunits for a migrator
  
  
  Error: (CLI:003) Specified controller does not exist.
  
  
  status 1
  I can not have more than 2 subunits for a migrator
  
  
  Error: (CLI:003) Specified controller does not exist.
  
  
  status 1
  I can not have more than 2 subunits for a migrator
  
  
  Error: (CLI:003) Specified controller does not exist.
  
  
  status 1
  $ KV_CLI_STYLE=old "$KV_CLI" info 2>&1
  I can not have more than 2 subunits for a migrator
  
  
  List of controllers
  -------------------
  Controller 0: KV-V820-24p (44)
  
  $ KV_CLI_STYLE=old "$KV_CLI" info c1 u1; echo "status $?"
  I can not have more than 2 subunits for a migrator
  
  
  Error: (CLI:003) Specified controller does not exist.
  
  
  status 1

One layout is refused the same way.

  $ jq '.machine.controllers[1].units[1].layouts |= .[0:1]' "$FIXTURES/shapes/host.json" > host.json
  $ "$KV_CLI" /c1 show 2>&1 >/dev/null
  I can not have more than 2 subunits for a migrator
  
  
  Error: (CLI:003) Specified controller does not exist.
  
  
  [1]

Type codes as some controllers report them ("code"). A unit that reports
RAID-1 as type 1 has no class: every command reports it and goes on
without it, while the old listing names it. Mirrors that report type 1
still make a RAID-10 (here the source of u6, one mirror verifying: the
RAID-10 averages 100, 10 and 100).

  $ jq '.machine.controllers[1].units[1].layouts |= .[0:2] | .machine.controllers[0].units[5] = {"number": 5, "type": "raid1", "members": [25, 26], "code": 1} | .machine.controllers[0].units[6].source.subunits = [{"code": 1}, {"code": 1, "state": "verifying", "progress": 10}, {"code": 1}]' "$FIXTURES/shapes/host.json" > host.json
  $ "$KV_CLI" /c0/u5 show
  Error: (CLI:018) Invalid unit configuration detected.
  [/c0/u5]
  
  Error: (CLI:006) Specified unit does not exist.
  
  
  [1]
  $ KV_CLI_STYLE=old "$KV_CLI" info c0 2>/dev/null | grep 'Unit 5'
  \tUnit 5: RAID 1 931.51 GB ( 1953525168 blocks): OK (esc)
  $ "$KV_CLI" /c0/u6 show 2>/dev/null | sed -n 6,15p
  su6      RAID-10   VERIFYING      -       70%     -     64K     2794.54   
  su6-0    RAID-1    OK             -       -       -     -       -         
  su6-0-0  DISK      OK             -       -       p30   -       931.513   
  su6-0-1  DISK      OK             -       -       p31   -       931.513   
  su6-1    RAID-1    VERIFYING      10%     -       -     -       -         
  su6-1-0  DISK      OK             -       -       p32   -       931.513   
  su6-1-1  DISK      OK             -       -       p33   -       931.513   
  su6-2    RAID-1    OK             -       -       -     -       -         
  su6-2-0  DISK      OK             -       -       p34   -       931.513   
  su6-2-1  DISK      OK             -       -       p35   -       931.513   

A third extension (u0: an initialisation at 31 %, paused) adds its flag
and joins the verify in the mean of the other group: (60 + 31) / 2 = 45,
active through the running verify. A paused migration reads
MIGRATE-PAUSED.

  $ jq '.machine.controllers[1].units[1].layouts |= .[0:2] | .machine.controllers[0].units[0].extensions += [{"state": "initializing", "progress": 31, "paused": true}] | .machine.controllers[0].units[6].paused = true' "$FIXTURES/shapes/host.json" > host.json
  $ "$KV_CLI" /c0 show | sed -n '4p;10p'
  u0    RAID-6    DGRD-RBLD-VRFY 20%(A)  45%(A)  64K     2794.54   RiW    OFF    
  u6    Migrator  MIGRATE-PAUSED -       25%     -       2794.54   RiW    OFF    
  $ "$KV_CLI" /c0/u0 show verifystatus parity
  /c0/u0 is verifying with percent completion = 45%(A)
  /c0/u0 Parity Number = 4         
  

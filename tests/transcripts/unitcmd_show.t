What a unit shows: its table, its attribute lines and, in the old output
style, its detail report. One host: c0 (family 8, firmware level 37, a
battery) with a rebuilding RAID-5 u0 (two volumes, a name and a serial),
a RAID-6 u1 rebuilding and verifying, a RAID-10 u2, a spare u3, a RAID-0
u4 and a unit u5 migrating from RAID-1 to RAID-5; c1 (family 6, level
33) with a paused verify on the RAID-1 u0, a SINGLE u1, a JBOD u2 and an
initializing RAID-50 u3; c2 (family 4, level 30) with a RAID-5 u0.

  $ cp "$FIXTURES/unitcmd/units.json" host.json && export KV_EMULATED_HOST="$PWD/host.json"
  $ . "$FIXTURES/ctlattr/faults.sh"
  $ . "$TESTDIR/batch.sh"

"show" alone prints the unit's table with its header; "show all" first
prints one line for every attribute the unit has on its controller, then
the table. The list depends on the family, the firmware level and the
type: no read cache below level 37, no ignore-ECC policy for units
without redundancy, no Keepwell, queuing or rapid recovery for a spare
or below family 6, no rapid recovery below level 36, a parity number
for RAID-6 only.

  $ "$KV_CLI" /c0/u4 show
  
  Unit     UnitType  Status         %RCmpl  %V/I/M  VPort Stripe  Size(GB)
  ------------------------------------------------------------------------
  u4       RAID-0    OK*            -       -       -     64K     1863.03   
  u4-0     DISK      OK             -       -       p14   -       931.513   
  u4-1     DISK      OK             -       -       p15   -       931.513   
  u4/v0    Volume    -              -       -       -     -       1863.03   
  
  $ kv_outputs {/c0/u0,/c0/u1,/c0/u2,/c0/u3,/c0/u5,/c1/u0,/c1/u1,/c1/u2,/c1/u3,/c2/u0}" show all"
  /c0/u0 status = REBUILDING
  /c0/u0 is rebuilding with percent completion = 40%
  /c0/u0 is not verifying, its current state is REBUILDING
  /c0/u0 is initialized.
  /c0/u0 Write Cache = on
  /c0/u0 Read Cache = Intelligent
  /c0/u0 volume(s) = 2
  /c0/u0 name = files                
  /c0/u0 serial number = HM2B880124B00C12     
  /c0/u0 Ignore ECC policy = off       
  /c0/u0 Auto Verify Policy = off       
  /c0/u0 Keepwell Policy = balance     
  /c0/u0 Command Queuing Policy = on        
  /c0/u0 Rapid RAID Recovery setting = all
  
  Unit     UnitType  Status         %RCmpl  %V/I/M  VPort Stripe  Size(GB)
  ------------------------------------------------------------------------
  u0       RAID-5    REBUILDING*    40%     -       -     256K    1863.03   
  u0-0     DISK      OK             -       -       p0    -       931.513   
  u0-1     DISK      OK             -       -       p1    -       931.513   
  u0-2     DISK      DEGRADED       -       -       p2    -       931.513   
  u0/v0    Volume    -              -       -       -     -       500       
  u0/v1    Volume    -              -       -       -     -       1363.15   
  
  /c0/u1 status = REBUILD-VERIFY
  /c0/u1 is rebuilding with percent completion = 20%(A)
  /c0/u1 is verifying with percent completion = 60%(A)
  /c0/u1 is initialized.
  /c0/u1 Write Cache = on
  /c0/u1 Read Cache = Basic
  /c0/u1 volume(s) = 1
  /c0/u1 name =                      
  /c0/u1 serial number =                      
  /c0/u1 Ignore ECC policy = off       
  /c0/u1 Auto Verify Policy = off       
  /c0/u1 Keepwell Policy = balance     
  /c0/u1 Command Queuing Policy = on        
  /c0/u1 Rapid RAID Recovery setting = all
  /c0/u1 Parity Number = 2         
  
  Unit     UnitType  Status         %RCmpl  %V/I/M  VPort Stripe  Size(GB)
  ------------------------------------------------------------------------
  u1       RAID-6    REBUILD-VERIFY*20%(A)  60%(A)  -     64K     2794.54   
  u1-0     DISK      OK             -       -       p4    -       931.513   
  u1-1     DISK      DEGRADED       -       -       p5    -       931.513   
  u1-2     DISK      OK             -       -       p6    -       931.513   
  u1-3     DISK      OK             -       -       p7    -       931.513   
  u1-4     DISK      OK             -       -       p8    -       931.513   
  u1/v0    Volume    -              -       -       -     -       2794.54   
  
  /c0/u2 status = OK
  /c0/u2 is not rebuilding, its current state is OK
  /c0/u2 is not verifying, its current state is OK
  /c0/u2 is initialized.
  /c0/u2 Write Cache = on
  /c0/u2 Read Cache = Intelligent
  /c0/u2 volume(s) = 1
  /c0/u2 name =                      
  /c0/u2 serial number =                      
  /c0/u2 Ignore ECC policy = off       
  /c0/u2 Auto Verify Policy = off       
  /c0/u2 Keepwell Policy = balance     
  /c0/u2 Command Queuing Policy = on        
  /c0/u2 Rapid RAID Recovery setting = all
  
  Unit     UnitType  Status         %RCmpl  %V/I/M  VPort Stripe  Size(GB)
  ------------------------------------------------------------------------
  u2       RAID-10   OK*            -       -       -     128K    1863.03   
  u2-0     RAID-1    OK             -       -       -     -       -         
  u2-0-0   DISK      OK             -       -       p9    -       931.513   
  u2-0-1   DISK      OK             -       -       p10   -       931.513   
  u2-1     RAID-1    OK             -       -       -     -       -         
  u2-1-0   DISK      OK             -       -       p11   -       931.513   
  u2-1-1   DISK      OK             -       -       p12   -       931.513   
  u2/v0    Volume    -              -       -       -     -       1863.03   
  
  /c0/u3 status = OK
  /c0/u3 is not rebuilding, its current state is OK
  /c0/u3 is not verifying, its current state is OK
  /c0/u3 is initialized.
  /c0/u3 Write Cache = on
  /c0/u3 volume(s) = 1
  /c0/u3 name =                      
  /c0/u3 serial number =                      
  /c0/u3 Auto Verify Policy = off       
  
  Unit     UnitType  Status         %RCmpl  %V/I/M  VPort Stripe  Size(GB)
  ------------------------------------------------------------------------
  u3       SPARE     OK*            -       -       p13   -       931.513   
  
  /c0/u5 status = MIGRATING
  /c0/u5 is not rebuilding, its current state is MIGRATING
  /c0/u5 is not verifying, its current state is MIGRATING
  /c0/u5 is initialized.
  /c0/u5 Write Cache = on
  /c0/u5 Read Cache = Intelligent
  /c0/u5 volume(s) = 1
  /c0/u5 name =                      
  /c0/u5 serial number =                      
  /c0/u5 Ignore ECC policy = off       
  /c0/u5 Auto Verify Policy = off       
  /c0/u5 Keepwell Policy = balance     
  /c0/u5 Command Queuing Policy = on        
  /c0/u5 Rapid RAID Recovery setting = N/A
  
  Unit     UnitType  Status         %RCmpl  %V/I/M  VPort Stripe  Size(GB)
  ------------------------------------------------------------------------
  u5       Migrator  MIGRATING      -       50%     -     -       -         
  
  su5      RAID-1    OK             -       -       -     -       931.513   
  su5-0    DISK      OK             -       -       p16   -       931.513   
  su5-1    DISK      OK             -       -       p17   -       931.513   
  su5/v0   Volume    -              -       -       -     -       931.513   
  
  du5      RAID-5    OK             -       -       -     64K     1863.03   
  du5-0    DISK      OK             -       -       p16   -       931.513   
  du5-1    DISK      OK             -       -       p17   -       931.513   
  du5-2    DISK      OK             -       -       p18   -       931.513   
  du5/v0   Volume    -              -       -       -     -       N/A       
  
  /c1/u0 status = VERIFY-PAUSED
  /c1/u0 is not rebuilding, its current state is VERIFY-PAUSED
  /c1/u0 is verifying with percent completion = 60%
  /c1/u0 is initialized.
  /c1/u0 Write Cache = on
  /c1/u0 volume(s) = 1
  /c1/u0 name =                      
  /c1/u0 serial number =                      
  /c1/u0 Ignore ECC policy = off       
  /c1/u0 Auto Verify Policy = off       
  /c1/u0 Keepwell Policy = balance     
  /c1/u0 Command Queuing Policy = on        
  
  Unit     UnitType  Status         %RCmpl  %V/I/M  Port  Stripe  Size(GB)
  ------------------------------------------------------------------------
  u0       RAID-1    VERIFY-PAUSED* -       60%     -     -       931.513   
  u0-0     DISK      OK             -       -       p0    -       931.513   
  u0-1     DISK      OK             -       -       p1    -       931.513   
  u0/v0    Volume    -              -       -       -     -       931.513   
  
  /c1/u1 status = OK
  /c1/u1 is not rebuilding, its current state is OK
  /c1/u1 is not verifying, its current state is OK
  /c1/u1 is initialized.
  /c1/u1 Write Cache = on
  /c1/u1 volume(s) = 1
  /c1/u1 name =                      
  /c1/u1 serial number =                      
  /c1/u1 Auto Verify Policy = off       
  /c1/u1 Keepwell Policy = balance     
  /c1/u1 Command Queuing Policy = on        
  
  Unit     UnitType  Status         %RCmpl  %V/I/M  Port  Stripe  Size(GB)
  ------------------------------------------------------------------------
  u1       SINGLE    OK*            -       -       p2    -       931.513   
  
  /c1/u2 status = OK
  /c1/u2 is not rebuilding, its current state is OK
  /c1/u2 is not verifying, its current state is OK
  /c1/u2 is initialized.
  /c1/u2 Write Cache = on
  /c1/u2 volume(s) = 1
  /c1/u2 name =                      
  /c1/u2 serial number =                      
  /c1/u2 Auto Verify Policy = off       
  /c1/u2 Keepwell Policy = balance     
  /c1/u2 Command Queuing Policy = on        
  
  Unit     UnitType  Status         %RCmpl  %V/I/M  Port  Stripe  Size(GB)
  ------------------------------------------------------------------------
  u2       JBOD      OK*            -       -       p3    -       931.513   
  
  /c1/u3 status = INITIALIZING
  /c1/u3 is not rebuilding, its current state is INITIALIZING
  /c1/u3 is not verifying, its current state is INITIALIZING
  /c1/u3 is initializing with Percent Completion = 10%
  /c1/u3 Write Cache = on
  /c1/u3 volume(s) = 1
  /c1/u3 name =                      
  /c1/u3 serial number =                      
  /c1/u3 Ignore ECC policy = off       
  /c1/u3 Auto Verify Policy = off       
  /c1/u3 Keepwell Policy = balance     
  /c1/u3 Command Queuing Policy = on        
  
  Unit     UnitType  Status         %RCmpl  %V/I/M  Port  Stripe  Size(GB)
  ------------------------------------------------------------------------
  u3       RAID-50   INITIALIZING*  -       10%     -     -       3726.05   
  u3-0     RAID-5    INITIALIZING   10%     -       -     64K     -         
  u3-0-0   DISK      OK             -       -       p4    -       931.513   
  u3-0-1   DISK      OK             -       -       p5    -       931.513   
  u3-0-2   DISK      OK             -       -       p6    -       931.513   
  u3-1     RAID-5    INITIALIZING   10%     -       -     64K     -         
  u3-1-0   DISK      OK             -       -       p7    -       931.513   
  u3-1-1   DISK      OK             -       -       p8    -       931.513   
  u3-1-2   DISK      OK             -       -       p9    -       931.513   
  u3/v0    Volume    -              -       -       -     -       3726.05   
  
  /c2/u0 status = OK
  /c2/u0 is not rebuilding, its current state is OK
  /c2/u0 is not verifying, its current state is OK
  /c2/u0 is initialized.
  /c2/u0 Write Cache = on
  /c2/u0 volume(s) = 1
  /c2/u0 name =                      
  /c2/u0 serial number =                      
  /c2/u0 Ignore ECC policy = off       
  /c2/u0 Auto Verify Policy = off       
  
  Unit     UnitType  Status         %RCmpl  %V/I/M  Port  Stripe  Size(GB)
  ------------------------------------------------------------------------
  u0       RAID-5    OK*            -       -       -     64K     1863.03   
  u0-0     DISK      OK             -       -       p0    -       931.513   
  u0-1     DISK      OK             -       -       p1    -       931.513   
  u0-2     DISK      OK             -       -       p2    -       931.513   
  

Every attribute word, one line each in the order given; a word that
names no attribute is reported and the command goes on. The old output
style prints the same lines.

  $ all="status rebuildstatus verifystatus initializestatus volumes name serial qpolicy keepwell identify parity ignoreecc autoverify rdcache cache wrcache writedpo rapidrecovery rrr foo"
  $ "$KV_CLI" /c0/u0 show $all
  /c0/u0 status = REBUILDING
  /c0/u0 is rebuilding with percent completion = 40%
  /c0/u0 is not verifying, its current state is REBUILDING
  /c0/u0 is initialized.
  /c0/u0 volume(s) = 2
  /c0/u0 name = files                
  /c0/u0 serial number = HM2B880124B00C12     
  /c0/u0 Command Queuing Policy = on        
  /c0/u0 Keepwell Policy = balance     
  /c0/u0 Identify status = off
  /c0/u0 Parity Number = Not Supported
  /c0/u0 Ignore ECC policy = off       
  /c0/u0 Auto Verify Policy = off       
  /c0/u0 Read Cache = Intelligent
  /c0/u0 Write Cache = on
  /c0/u0 Write Cache = on
  /c0/u0 Write DPO policy setting = honor
  /c0/u0 Rapid RAID Recovery setting = all
  /c0/u0 Rapid RAID Recovery setting = all
  'foo' is not a valid unit parameter of the show command.
  
  $ "$KV_CLI" /c0/u0 show $all > new.txt 2>&1; KV_CLI_STYLE=old "$KV_CLI" /c0/u0 show $all > old.txt 2>&1; cmp new.txt old.txt && echo same
  same
  $ "$KV_CLI" /c0/u1 show rebuildstatus verifystatus parity
  /c0/u1 is rebuilding with percent completion = 20%(A)
  /c0/u1 is verifying with percent completion = 60%(A)
  /c0/u1 Parity Number = 2         
  
  $ "$KV_CLI" /c0/u5 show rapidrecovery status
  /c0/u5 Rapid RAID Recovery setting = N/A
  /c0/u5 status = MIGRATING
  

Refusals. Below family 6 the Keepwell line prints its label and the
error on standard error, and the show goes on; queuing is refused
outright. Level 33 firmware has no read cache, write DPO or rapid
recovery. A spare has no Keepwell policy; its queuing policy reads N/A.
The older-family-only codes of name, serial and volumes are not reached
on a newer controller.

  $ "$KV_CLI" /c2/u0 show keepwell status
  /c2/u0 Keepwell Policy = 
  Error: (CLI:109) Invalid unit show keepwell policy command.
  
  /c2/u0 status = OK
  
  $ "$KV_CLI" /c2/u0 show keepwell 2>/dev/null
  /c2/u0 Keepwell Policy = 
  
  $ for w in qpolicy rdcache writedpo rapidrecovery; do "$KV_CLI" /c2/u0 show $w; done
  Error: (CLI:107) Invalid unit show queuing policy command.
  
  
  Error: (CLI:149) Feature not supported.
  
  
  Error: (CLI:149) Feature not supported.
  
  
  Error: (CLI:149) Feature not supported.
  
  
  [1]
  $ for w in rdcache writedpo rrr; do "$KV_CLI" /c1/u0 show $w; done
  Error: (CLI:149) Feature not supported.
  
  
  Error: (CLI:149) Feature not supported.
  
  
  Error: (CLI:149) Feature not supported.
  
  
  [1]
  $ "$KV_CLI" /c0/u3 show qpolicy parity identify
  /c0/u3 Command Queuing Policy = N/A       
  /c0/u3 Parity Number = Not Supported
  /c0/u3 Identify status = off
  
  $ "$KV_CLI" /c0/u3 show keepwell
  Error: (CLI:025) Invalid operation(s) for the specified unit.
  
  
  [1]
  $ "$KV_CLI" /c2/u0 show volumes name serial ignoreecc autoverify
  /c2/u0 volume(s) = 1
  /c2/u0 name =                      
  /c2/u0 serial number =                      
  /c2/u0 Ignore ECC policy = off       
  /c2/u0 Auto Verify Policy = off       
  

A unit that reports no volumes has no volume rows, and its show
succeeds, alone and in "show all".

  $ jq '(.machine.controllers[0].units[] | select(.number == 4)).volumes = []' host.json > changed.json
  $ cp changed.json host.json
  $ "$KV_CLI" /c0/u4 show
  
  Unit     UnitType  Status         %RCmpl  %V/I/M  VPort Stripe  Size(GB)
  ------------------------------------------------------------------------
  u4       RAID-0    OK*            -       -       -     64K     1863.03   
  u4-0     DISK      OK             -       -       p14   -       931.513   
  u4-1     DISK      OK             -       -       p15   -       931.513   
  
  $ "$KV_CLI" /c0/u4 show all
  /c0/u4 status = OK
  /c0/u4 is not rebuilding, its current state is OK
  /c0/u4 is not verifying, its current state is OK
  /c0/u4 is initialized.
  /c0/u4 Write Cache = off
  /c0/u4 Read Cache = Intelligent
  /c0/u4 volume(s) = 0
  /c0/u4 name =                      
  /c0/u4 serial number =                      
  /c0/u4 Auto Verify Policy = off       
  /c0/u4 Keepwell Policy = balance     
  /c0/u4 Command Queuing Policy = on        
  
  Unit     UnitType  Status         %RCmpl  %V/I/M  VPort Stripe  Size(GB)
  ------------------------------------------------------------------------
  u4       RAID-0    OK*            -       -       -     64K     1863.03   
  u4-0     DISK      OK             -       -       p14   -       931.513   
  u4-1     DISK      OK             -       -       p15   -       931.513   
  
  $ cp "$FIXTURES/unitcmd/units.json" host.json

A library failure: a line whose label is printed before the controller is
asked (name, serial, volumes, queuing, Keepwell, parity) ends there and
shows the error on standard error, and the show goes on (standard output
alone still has one attribute a line); any other line ends the command
with the error, the ignore-ECC and auto-verify lines and a RAID-6 unit's
task lines after what they printed before asking. A rapid recovery that
cannot be read is not supported.

  $ fault 768 17; "$KV_CLI" /c0/u0 show name status
  /c0/u0 name = 
  (0x03:0x0204): Drive timeout
  
  /c0/u0 status = REBUILDING
  
  $ fault 768 17; "$KV_CLI" /c0/u0 show name status 2>/dev/null
  /c0/u0 name = 
  /c0/u0 status = REBUILDING
  
  $ fault 768 16; "$KV_CLI" /c0/u0 show volumes serial
  /c0/u0 volume(s) = 
  (0x03:0x0204): Drive timeout
  
  /c0/u0 serial number = HM2B880124B00C12     
  
  $ fault 768 20; "$KV_CLI" /c0/u0 show qpolicy keepwell
  /c0/u0 Command Queuing Policy = 
  (0x03:0x0204): Drive timeout
  
  /c0/u0 Keepwell Policy = balance     
  
  $ fault 768 21; "$KV_CLI" /c0/u0 show keepwell status
  /c0/u0 Keepwell Policy = 
  (0x03:0x0204): Drive timeout
  
  /c0/u0 status = REBUILDING
  
  $ fault 768 14; "$KV_CLI" /c0/u0 show autoverify status
  /c0/u0 Auto Verify Policy = (0x03:0x0204): Drive timeout
  
  
  [1]
  $ fault 768 15; "$KV_CLI" /c0/u0 show ignoreecc status
  /c0/u0 Ignore ECC policy = (0x03:0x0204): Drive timeout
  
  
  [1]
  $ jq '.faults = [{"match": {"layer": "firmware", "table": 769, "parameter": 9}, "action": {"status": 1, "code": "0x0204"}, "skip": 6}]' host.json > faulty.json && mv faulty.json host.json
  $ "$KV_CLI" /c0/u1 show rebuildstatus status
  /c0/u1(0x03:0x0204): Drive timeout
  
  
  [1]
  $ fault 768 28; "$KV_CLI" /c0/u0 show rrr
  Error: (CLI:149) Feature not supported.
  
  
  [1]

The old output style: a unit with nothing after it in the old info
command prints the detail report, with its subunits (and their members
for RAID-10 and RAID-50) and ports; the percentage of a nested unit
stands on its subunits. In the new style the same command prints the
table. Attribute words after the unit print their lines.

  $ KV_CLI_STYLE=old kv_outputs "info c0 "{u0,u2,u3}
  Unit /c0/u0
  ---------------------
  Status:        REBUILDING (40%)
  Unit Type:     RAID 5
  Stripe Size:   256k
  Size:          1.82 TB (3907050336 blocks)
  # of subunits: 3
  
  \tSubunit 0:    CBOD: OK (esc)
  \tPhysical Port: 0 (esc)
  \tLogical  Port: 0 (esc)
  
  \tSubunit 1:    CBOD: OK (esc)
  \tPhysical Port: 1 (esc)
  \tLogical  Port: 1 (esc)
  
  \tSubunit 2:    CBOD: DEGRADED (esc)
  \tPhysical Port: 2 (esc)
  \tLogical  Port: 2 (esc)
  
  Unit /c0/u2
  ---------------------
  Status:        OK
  Unit Type:     RAID 10
  Stripe Size:   128k
  Size:          1.82 TB (3907050336 blocks)
  # of subunits: 2
  
  \tSubunit 0:    RAID 1: OK (esc)
  
  \t\tSubunit 0:    CBOD: OK (esc)
  \t\tPhysical Port: 9 (esc)
  \t\tLogical  Port: 0 (esc)
  
  \t\tSubunit 1:    CBOD: OK (esc)
  \t\tPhysical Port: 10 (esc)
  \t\tLogical  Port: 1 (esc)
  
  \tSubunit 1:    RAID 1: OK (esc)
  
  \t\tSubunit 0:    CBOD: OK (esc)
  \t\tPhysical Port: 11 (esc)
  \t\tLogical  Port: 0 (esc)
  
  \t\tSubunit 1:    CBOD: OK (esc)
  \t\tPhysical Port: 12 (esc)
  \t\tLogical  Port: 1 (esc)
  
  Unit /c0/u3
  ---------------------
  Status:        OK
  Unit Type:     SPARE
  Stripe Size:   N/A
  Size:          931.51 GB (1953525168 blocks)
  # of subunits: 0
  \tPhysical Port: 13 (esc)
  
  $ KV_CLI_STYLE=old "$KV_CLI" info c1 u3 | head -12
  Unit /c1/u3
  ---------------------
  Status:        INITIALIZING
  Unit Type:     RAID 50
  Stripe Size:   64k
  Size:          3.63 TB (7814100672 blocks)
  # of subunits: 2
  
  \tSubunit 0:    RAID 5: INITIALIZING (10%) (esc)
  
  \t\tSubunit 0:    CBOD: OK (esc)
  \t\tPhysical Port: 4 (esc)
  $ KV_CLI_STYLE=old "$KV_CLI" info c1 u1
  Unit /c1/u1
  ---------------------
  Status:        OK
  Unit Type:     Single Disk
  Stripe Size:   N/A
  Size:          931.51 GB (1953525168 blocks)
  # of subunits: 0
  \tPhysical Port: 2 (esc)
  
  $ "$KV_CLI" info c1 u1
  
  Unit     UnitType  Status         %RCmpl  %V/I/M  Port  Stripe  Size(GB)
  ------------------------------------------------------------------------
  u1       SINGLE    OK*            -       -       p2    -       931.513   
  
  $ KV_CLI_STYLE=old "$KV_CLI" info c0 u0 status name
  /c0/u0 status = REBUILDING
  /c0/u0 name = files                
  

The rows of a two-level table: a member that reads OK while its drive
does not shows WARNING; a member without a drive shows "-" as its port
and keeps its own status. A unit whose flags cannot be read shows no
"*" after its status.

  $ jq '.faults = [] | .machine.controllers[0].drives[10].status = 4 | .machine.controllers[0].units[2] += {"members": [9, 10, 11, null], "state": "degraded", "member": 3}' "$FIXTURES/unitcmd/units.json" > host.json
  $ "$KV_CLI" /c0/u2 show
  
  Unit     UnitType  Status         %RCmpl  %V/I/M  VPort Stripe  Size(GB)
  ------------------------------------------------------------------------
  u2       RAID-10   DEGRADED*      -       -       -     128K    1863.03   
  u2-0     RAID-1    DEGRADED       -       -       -     -       -         
  u2-0-0   DISK      OK             -       -       p9    -       931.513   
  u2-0-1   DISK      WARNING        -       -       p10   -       931.513   
  u2-1     RAID-1    DEGRADED       -       -       -     -       -         
  u2-1-0   DISK      OK             -       -       p11   -       931.513   
  u2-1-1   DISK      DEGRADED       -       -       -     -       0         
  u2/v0    Volume    -              -       -       -     -       1863.03   
  
  $ jq '.faults = [{"match": {"layer": "firmware", "table": 772, "parameter": 3}, "action": {"status": 1, "code": "0x0204"}, "count": 20}]' host.json > faulty.json && mv faulty.json host.json
  $ "$KV_CLI" /c0/u4 show
  
  Unit     UnitType  Status         %RCmpl  %V/I/M  VPort Stripe  Size(GB)
  ------------------------------------------------------------------------
  u4       RAID-0    OK             -       -       -     64K     1863.03   
  u4-0     DISK      OK             -       -       p14   -       931.513   
  u4-1     DISK      OK             -       -       p15   -       931.513   
  u4/v0    Volume    -              -       -       -     -       1863.03   
  

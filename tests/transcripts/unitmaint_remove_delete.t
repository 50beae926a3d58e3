Removing, exporting and deleting units through their controller, against
one newer-family controller (family 6): u0 is a RAID-5 on p0-p2 whose
disk carries D:, u1 a degraded RAID-1 on p3, u2 a verifying RAID-1 on
p5-p6 whose disk carries E: (open elsewhere), u3 a spare, u4 an
inoperable RAID-0 and u5 a single disk on p8.

  $ . "$TESTDIR/audit_log.sh"
  $ cp "$FIXTURES/unitmaint/host.json" host.json && export KV_EMULATED_HOST="$PWD/host.json"
  $ log=ProgramData/Orvo/kv_mgmt.log
  $ lines() { kv_audit_lines "$log"; }
  $ units() { "$KV_CLI" /c0 show | sed -n '4,/^$/p' | cut -c1-30; }
  $ disks() { jq -c '[.machine.disks[] | [.target, .present != false]]' host.json; }

"remove" takes the unit off the controller and its drives with it; Windows
lets the unit's disk go first. The controller asks nothing here.

  $ rm -f requests.jsonl
  $ "$KV_CLI" /c0 remove u0
  Removing /c0/u0 ... Done.
  
  

On the way Windows asks each volume for its extents (D:, then E:); D:,
on the unit's disk, is locked and dismounted, and unlocked once the disk
is removed: the volume I/O controls in order, then the device removal.

  $ printf '0x%X\n' $(jq 'select(.device == "volume" and .op == "request") | .code' requests.jsonl)
  0x560000
  0x90018
  0x90020
  0x560000
  0x9001C
  $ jq -c 'select(.op == "remove") | [.device, .result]' requests.jsonl
  ["disk","ok"]

  $ units
  u1    RAID-1    DEGRADED      
  u2    RAID-1    VERIFYING     
  u3    SPARE     OK            
  u4    RAID-0    INOPERABLE    
  u5    SINGLE    OK            
  
  $ "$KV_CLI" /c0 show | grep '^p[0-2] '
  p0     NOT-PRESENT      -      -           -             -
  p1     NOT-PRESENT      -      -           -             -
  p2     NOT-PRESENT      -      -           -             -
  $ disks
  [[0,false],[1,true],[2,true],[4,true],[5,true]]
  $ jq -c '.machine.controllers[0].exported_units[].members' host.json
  [0,1,2]

A volume that cannot be locked keeps its unit: the removal fails with the
library's error and the unit stays.

  $ "$KV_CLI" /c0 remove u2; echo "status $?"
  Removing /c0/u2 ... (0x0B:0x0045): Failed to remove device node; Are all filesystems unmounted?
  
  
  status 1
  $ units
  u1    RAID-1    DEGRADED      
  u2    RAID-1    VERIFYING     
  u3    SPARE     OK            
  u4    RAID-0    INOPERABLE    
  u5    SINGLE    OK            
  

"noscan" leaves Windows out; "export" removes the unit as "remove" does.

  $ "$KV_CLI" /c0 export u1 noscan
  Removing /c0/u1 ... Done.
  
  
  $ units
  u2    RAID-1    VERIFYING     
  u3    SPARE     OK            
  u4    RAID-0    INOPERABLE    
  u5    SINGLE    OK            
  

"deleteunit" deletes without asking; the drive becomes free. A unit that
does not exist is named in the progress text before the error.

  $ "$KV_CLI" /c0 deleteunit u5
  Deleting unit c0/u5 ...Done.
  
  
  $ "$KV_CLI" /c0 show | grep '^p8 '
  p8     OK               -      465.76 GB   976773168     S008                
  $ "$KV_CLI" /c0 deleteunit u9; echo "status $?"
  Deleting unit c0/u9 ...Error: (CLI:006) Specified unit does not exist.
  
  
  status 1
  $ "$KV_CLI" maint deleteunit c0 u4 noscan
  Deleting unit c0/u4 ...Done.
  
  
  $ units
  u2    RAID-1    VERIFYING     
  u3    SPARE     OK            
  
  $ lines
  CLI [Remove Unit(controller=0, unit=0, make os aware=yes): Success]
  CLI [Remove Unit(controller=0, unit=2, make os aware=yes): Failed]
  CLI [Remove Unit(controller=0, unit=1, make os aware=no): Success]
  CLI [Delete Unit(controller=0, unit=5, make os aware=yes): Success]
  CLI [Delete Unit(controller=0, unit=4, make os aware=no): Success]

Word errors come before anything is done.

  $ "$KV_CLI" /c0 remove u2 foo; echo "status $?"
  Error: (CLI:016) Invalid argument in maint command.
  
  
  status 1
  $ "$KV_CLI" /c0 remove u2 noscan foo; echo "status $?"
  Error: (CLI:016) Invalid argument in maint command.
  
  
  status 1
  $ "$KV_CLI" /c0 remove u; echo "status $?"
  Error: (CLI:016) Invalid argument in maint command.
  
  
  status 1
  $ "$KV_CLI" /c0 remove u2x; echo "status $?"
  Error: (CLI:016) Invalid argument in maint command.
  
  
  status 1
  $ "$KV_CLI" /c0 remove; echo "status $?"
  Error: (CLI:016) Invalid argument in maint command.
  
  
  status 1
  $ "$KV_CLI" /c0 remove p3x; echo "status $?"
  Error: (CLI:009) Invalid port specified.
  
  
  status 1
  $ "$KV_CLI" /c0 remove p30; echo "status $?"
  Error: (CLI:009) Invalid port specified.
  
  
  status 1
  $ "$KV_CLI" /c0 remove p3 p4; echo "status $?"
  Error: (CLI:016) Invalid argument in maint command.
  
  
  status 1
  $ "$KV_CLI" /c0 deleteunit u2 foo; echo "status $?"
  Error: (CLI:016) Invalid argument in maint command.
  
  
  status 1
  $ "$KV_CLI" /c0 deleteunit u2 noscan foo; echo "status $?"
  Error: (CLI:016) Invalid argument in maint command.
  
  
  status 1
  $ units
  u2    RAID-1    VERIFYING     
  u3    SPARE     OK            
  

The drives of a removed unit are off their ports but still carry the
unit's configuration. A rescan finds them on their ports again and
imports both removed units; Windows sees their disks again, while the
deleted units' disks stay gone.

  $ "$KV_CLI" /c0 show | grep '^p3 '
  p3     NOT-PRESENT      -      -           -             -
  $ "$KV_CLI" /c0 rescan
  Rescanning controller /c0 for units and drives ...Done.
  Found the following unit(s): [/c0/u0, /c0/u1].
  Found the following drive(s): [none].
  
  $ units
  u0    RAID-5    OK            
  u1    RAID-1    DEGRADED      
  u2    RAID-1    VERIFYING     
  u3    SPARE     OK            
  
  $ disks
  [[0,true],[1,true],[2,true],[4,false],[5,false]]
  $ lines | tail -3
  CLI [Rescan Controller(controller=0, make os aware=yes): Success]
  CLI [    Rescan found unit 0 (RAID 5)]
  CLI [    Rescan found unit 1 (RAID 1)]

The old-style words reach the same removal; "noscan" leaves Windows out,
so the volume in use does not hold the unit back.

  $ "$KV_CLI" maint export c0 u2 noscan
  Removing /c0/u2 ... Done.
  
  
  $ units
  u0    RAID-5    OK            
  u1    RAID-1    DEGRADED      
  u3    SPARE     OK            
  

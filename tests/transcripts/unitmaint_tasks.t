A unit's verify and rebuild through the old-style "maint" words, the
commit and the media scan, against one newer-family controller (family
6): u0 an OK RAID-5, u1 a RAID-1 missing its second drive, u2 a RAID-1
verifying at 30 %, u3 a spare on p7; p4 holds a free drive.

  $ . "$TESTDIR/audit_log.sh"
  $ cp "$FIXTURES/unitmaint/host.json" host.json && export KV_EMULATED_HOST="$PWD/host.json"
  $ log=ProgramData/Orvo/kv_mgmt.log
  $ lines() { kv_audit_lines "$log"; }
  $ units() { "$KV_CLI" /c0 show | sed -n '4,/^$/p' | cut -c1-46; }

Stopping the verify ends it; starting it again starts it from the
beginning. A unit that is not verifying cannot be stopped.

  $ "$KV_CLI" maint verify c0 u2 stop
  Stopped verify on /c0/u2
  
  $ "$KV_CLI" maint verify c0 u2 stop; echo "status $?"
  Error: (CLI:019) Invalid operation for the current state of the specified unit.
  
  
  status 1
  $ "$KV_CLI" maint verify c0 u2
  Sending start verify message to /c0/u2 ... Done.
  
  $ "$KV_CLI" maint verify c0 u2 start; echo "status $?"
  Error: (CLI:019) Invalid operation for the current state of the specified unit.
  
  
  status 1
  $ "$KV_CLI" maint verify c0 u1; echo "status $?"
  Error: (CLI:019) Invalid operation for the current state of the specified unit.
  
  
  status 1
  $ "$KV_CLI" maint verify c0 u2 foo; echo "status $?"
  Error: (CLI:016) Invalid argument in maint command.
  
  
  status 1
  $ units
  u0    RAID-5    OK             -       -      
  u1    RAID-1    DEGRADED       -       -      
  u2    RAID-1    VERIFYING      -       0%     
  u3    SPARE     OK             -       -      
  u4    RAID-0    INOPERABLE     -       -      
  u5    SINGLE    OK             -       -      
  

A verify of a unit that was never initialised initialises it first: the
notice says so for the RAID-5 u0, not for a RAID-1 (u2 here, made OK and
uninitialised in a copy of the host).

  $ mkdir fresh && jq '.machine.controllers[0].units[0].initialized = false | .machine.controllers[0].units[2] += {"state": "ok", "initialized": false}' host.json > fresh/host.json
  $ KV_EMULATED_HOST=$PWD/fresh/host.json "$KV_CLI" /c0/u0 start verify
  Sending start verify message to /c0/u0 ... Done.
  Unit was not previously initialized.  Will be initialized first before verified.
  
  $ KV_EMULATED_HOST=$PWD/fresh/host.json "$KV_CLI" /c0/u2 start verify
  Sending start verify message to /c0/u2 ... Done.
  
  $ KV_EMULATED_HOST=$PWD/fresh/host.json "$KV_CLI" /c0 show | sed -n '4,6p' | cut -c1-46
  u0    RAID-5    INITIALIZING   -       0%     
  u1    RAID-1    DEGRADED       -       -      
  u2    RAID-1    INITIALIZING   -       0%     
  $ rm -r fresh

The spare, the RAID-0 and the JBOD take the verify words through their
own check of the family: on this controller a spare verifies as any unit
does (the inoperable RAID-0 is refused for its state); the older family
refuses them all (its spare here).

  $ mkdir other && cp host.json other/host.json
  $ KV_EMULATED_HOST=$PWD/other/host.json "$KV_CLI" maint verify c0 u3
  Sending start verify message to /c0/u3 ... Done.
  
  $ KV_EMULATED_HOST=$PWD/other/host.json "$KV_CLI" maint verify c0 u4; echo "status $?"
  Error: (CLI:019) Invalid operation for the current state of the specified unit.
  
  
  status 1
  $ cp "$FIXTURES/prane/older_only.json" other/host.json
  $ KV_EMULATED_HOST=$PWD/other/host.json "$KV_CLI" maint verify c0 u3; echo "status $?"
  Error: (CLI:029) Invalid operation on the specified controller architecture and unit type.
  
  
  status 1
  $ rm -r other

A rebuild onto the free drive on p4: the drive becomes the missing member
and the unit rebuilds. The unit's own ignore-ECC policy is kept when the
command gives none.

  $ "$KV_CLI" maint rebuild c0 u1 p4
  Sending rebuild start request to /c0/u1 on 1 disk(s) [4] ... Done.
  
  
  $ units
  u0    RAID-5    OK             -       -      
  u1    RAID-1    REBUILDING     0%      -      
  u2    RAID-1    VERIFYING      -       0%     
  u3    SPARE     OK             -       -      
  u4    RAID-0    INOPERABLE     -       -      
  u5    SINGLE    OK             -       -      
  
  $ "$KV_CLI" /c0 show | grep '^p4 '
  p4     DEGRADED         u1     465.76 GB   976773168     S004                
  $ "$KV_CLI" maint rebuild c0 u1 p7 ignoreecc; echo "status $?"
  Sending rebuild start request to /c0/u1 on 1 disk(s) [7] ... Failed.
  (0x0B:0x0032): Unit is rebuilding
  
  
  status 1
  $ "$KV_CLI" maint rebuild c0 u0 p7; echo "status $?"
  Sending rebuild start request to /c0/u0 on 1 disk(s) [7] ... Failed.
  (0x0B:0x0031): Unit is ok
  
  
  status 1

A last word other than "ignoreecc" is passed over: the rebuild takes the
unit's own ignore-ECC policy, here switched on.

  $ jq '.machine.controllers[0].units[0].ecc_policy = 1' host.json > policy.json && mv policy.json host.json
  $ "$KV_CLI" maint rebuild c0 u0 p7 foo; echo "status $?"
  Sending rebuild start request to /c0/u0 on 1 disk(s) [7] ... Failed.
  (0x0B:0x0031): Unit is ok
  
  
  status 1

The rebuild's word errors and drive checks come before the progress line;
pause and resume belong to the older family; a unit without redundancy
(the RAID-0 u4) refuses the rebuild before its words are read.

  $ "$KV_CLI" maint rebuild c0 u0 x; echo "status $?"
  Error: (CLI:016) Invalid argument in maint command.
  
  
  status 1
  $ "$KV_CLI" maint rebuild c0 u0 p7 foo bar; echo "status $?"
  Error: (CLI:016) Invalid argument in maint command.
  
  
  status 1
  $ "$KV_CLI" maint rebuild c0 u0 p9:11; echo "status $?"
  The following drive(s) cannot be used [9, 11].
  Error: (CLI:144) Invalid drive(s) specified.
  
  
  status 1
  $ "$KV_CLI" maint rebuild c0 u0 p3:3; echo "status $?"
  Error: (CLI:008) Invalid ID specified.  Found a specified ID already in use.
  
  
  status 1
  $ "$KV_CLI" maint rebuild c0 u0 p5-3; echo "status $?"
  Disks specified in a range must be in ascending order.
  Error: (CLI:144) Invalid drive(s) specified.
  
  
  status 1
  $ "$KV_CLI" maint rebuild c0 u0 pause; echo "status $?"
  Error: (CLI:024) Invalid operation(s) for the specified controller.
  
  
  status 1
  $ "$KV_CLI" maint rebuild c0 u4 x; echo "status $?"
  Error: (CLI:025) Invalid operation(s) for the specified unit.
  
  
  status 1
  $ lines
  CLI [Veify Unit(controller=0, unit=2): Success]
  CLI [Rebuild Unit(controller=0, unit=1, drives=4, ignore ecc=no): Success]
  CLI [Rebuild Unit(controller=0, unit=1, drives=7, ignore ecc=yes): Failed]
  CLI [Rebuild Unit(controller=0, unit=0, drives=7, ignore ecc=no): Failed]
  CLI [Rebuild Unit(controller=0, unit=0, drives=7, ignore ecc=yes): Failed]

Commit and shutdown send the controller's commit request; the media scan
is the older family's and refused here, through the controller's verbs and
the old-style words.

  $ "$KV_CLI" /c0 commit
  Committing transactions on controller /c0 ...Done.
  
  
  $ "$KV_CLI" maint shutdown c0
  Committing transactions on controller /c0 ...Done.
  
  
  $ grep -c '"kind":"commit"' requests.jsonl
  2
  $ "$KV_CLI" /c0 start mediascan; echo "status $?"
  Error: (CLI:024) Invalid operation(s) for the specified controller.
  
  
  status 1
  $ "$KV_CLI" /c0 stop mediascan; echo "status $?"
  Error: (CLI:024) Invalid operation(s) for the specified controller.
  
  
  status 1
  $ "$KV_CLI" maint mediascan c0 start; echo "status $?"
  Error: (CLI:024) Invalid operation(s) for the specified controller.
  
  
  status 1
  $ "$KV_CLI" maint mediascan c0 begin; echo "status $?"
  Error: (CLI:016) Invalid argument in maint command.
  
  
  status 1
  $ "$KV_CLI" maint mediascan c0 stop now; echo "status $?"
  Error: (CLI:016) Invalid argument in maint command.
  
  
  status 1

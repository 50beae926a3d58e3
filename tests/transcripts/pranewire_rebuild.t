Rebuild, its pause and resume, and drive removal on an older-family
controller of eight ports: u0 a RAID-5 verifying at 60 %, u1 a RAID-1
whose second drive is gone, u3 a spare on p6; p5 holds a free drive.

  $ . "$TESTDIR/audit_log.sh"
  $ cp "$FIXTURES/prane/older_only.json" host.json && export KV_EMULATED_HOST="$PWD/host.json"
  $ log=ProgramData/Orvo/kv_mgmt.log
  $ lines() { kv_audit_lines "$log"; rm -f "$log"; }
  $ units() { "$KV_CLI" /c0 show | sed -n '4,/^$/p' | cut -c1-46; }
  $ state() { jq -c '.machine.controllers[0].units[] | select(.number == 1) | {state, members, paused}' host.json; }

The rebuild takes the free drive into the degraded mirror; a second start
finds the unit rebuilding already.

  $ "$KV_CLI" /c0/u1 start rebuild disk=5
  Sending rebuild start request to /c0/u1 on 1 disk(s) [5] ... Done.
  
  
  $ "$KV_CLI" /c0/u1 show
  
  Unit     UnitType  Status         %RCmpl  %V/I/M  Port  Stripe  Size(GB)
  ------------------------------------------------------------------------
  u1       RAID-1    REBUILDING     0%      -       -     -       465.761   
  u1-0     DISK      OK             -       -       p4    -       465.761   
  u1-1     DISK      DEGRADED       -       -       p5    -       465.761   
  
  $ state
  {"state":"rebuilding","members":[4,5],"paused":false}
  $ "$KV_CLI" maint rebuild c0 u1 p5; echo "status $?"
  Sending rebuild start request to /c0/u1 on 1 disk(s) [5] ... Failed.
  (0x0B:0x0032): Unit is rebuilding
  
  
  status 1
  $ lines
  CLI [Rebuild Unit(controller=0, unit=1, drives=5, ignore ecc=no): Success]
  CLI [Rebuild Unit(controller=0, unit=1, drives=5, ignore ecc=no): Failed]

The rebuild pauses and resumes; the paused rebuild still reads as
rebuilding, and the controller's state byte keeps the pause.

  $ "$KV_CLI" /c0/u1 pause rebuild
  Sending rebuild pause request to /c0/u1 ... Done.
  
  $ state
  {"state":"rebuilding","members":[4,5],"paused":true}
  $ "$KV_CLI" /c0/u1 resume rebuild
  Sending rebuild resume request to /c0/u1 ... Done.
  
  $ state
  {"state":"rebuilding","members":[4,5],"paused":false}
  $ "$KV_CLI" /c0/u0 pause rebuild; echo "status $?"
  Sending rebuild pause request to /c0/u0 ... Failed.
  (0x0B:0x0040): Unit is not rebuilding
  
  
  status 1

The port's SMART view reads the drive's interface first, which the older
family does not report: it ends with the library's refusal (the SMART
read itself is the library's, tried in pranewire_routes_test.cpp).

  $ "$KV_CLI" /c0/p4 show smart; echo "status $?"
  (0x0B:0x0002): Feature not supported
  
  
  status 1

Removing the drive the mirror rebuilds onto ends the rebuild: the unit is
degraded again, short of that member. Removing the spare's drive takes the
spare away. A good member of a degraded unit cannot be removed.

  $ "$KV_CLI" /c0/p5 remove quiet
  Removing port /c0/p5 ... Done.
  
  
  $ state
  {"state":"degraded","members":[4,null],"paused":null}
  $ "$KV_CLI" /c0/p6 remove quiet
  Removing port /c0/p6 ... Done.
  
  
  $ units
  u0    RAID-5    VERIFYING      -       60%    
  u1    RAID-1    DEGRADED       -       -      
  
  $ "$KV_CLI" /c0/p4 remove quiet; echo "status $?"
  Removing port /c0/p4 ... Failed.
  (0x0B:0x0030): Remove operation invalid for unit
  
  
  status 1
  $ "$KV_CLI" /c0/p7 remove quiet; echo "status $?"
  Removing port /c0/p7 ... Failed.
  (0x0B:0x002E): Port empty
  
  
  status 1
  $ lines
  CLI [Remove Drive(controller=0, drive=5): Success]
  CLI [Remove Drive(controller=0, drive=6): Success]
  CLI [Remove Drive(controller=0, drive=4): Failed]
  CLI [Remove Drive(controller=0, drive=7): Failed]

The rescan finds both drives again: p5 free, p6 with the spare it
carries, which comes back as a unit.

  $ "$KV_CLI" /c0 rescan
  Rescanning controller /c0 for units and drives ...Done.
  Found the following unit(s): [/c0/u2].
  Found the following drive(s): [/c0/p5].
  
  $ "$KV_CLI" /c0 show | sed -n '/^Port/,$p'
  Port   Status           Unit   Size        Blocks        Serial
  ---------------------------------------------------------------
  p0     OK               u0     232.88 GB   488397168     TQ0P004411          
  p1     OK               u0     232.88 GB   488397168     TQ0P004412          
  p2     OK               u0     232.88 GB   488397168     TQ0P004413          
  p3     NOT-PRESENT      -      -           -             -
  p4     OK               u1     465.76 GB   976773168     TQ0A001204          
  p5     OK               -      465.76 GB   976773168     TQ0A001205          
  p6     OK               u2     465.76 GB   976773168     TQ0A001206          
  p7     NOT-PRESENT      -      -           -             -
  
  $ lines
  CLI [Rescan Controller(controller=0, make os aware=yes): Success]
  CLI [    Rescan found unit 2 (SPARE)]
  CLI [    Rescan found drive on port5]

A rebuild onto a drive too small for the mirror is refused before the
controller changes anything.

  $ jq '.machine.controllers[0].drives |= map(if .port == 5 then .capacity = 976771000 else . end)' host.json > small.json && mv small.json host.json
  $ "$KV_CLI" /c0/u1 start rebuild disk=5; echo "status $?"
  Sending rebuild start request to /c0/u1 on 1 disk(s) [5] ... Failed.
  (0x0B:0x0036): Replacement drive is too small for rebuild operation
  
  
  status 1
  $ state
  {"state":"degraded","members":[4,null],"paused":null}

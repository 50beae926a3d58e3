Drive numbers of creation, rebuild and migration name ports of the
controller: a number at or past its port count is refused (144) before
anything is sent, never taken as the port of its low eight bits. c0 is a
family-8 controller of 16 ports (drives 0-6 and 8; a degraded RAID-5 u5
on drives 4 and 5, a single disk u6 on drive 6), c1 a family-6
controller of 40 ports (drives 0-3 and 30; a RAID-5 u0 on drives 0-2).

  $ . "$TESTDIR/audit_log.sh"
  $ cp "$FIXTURES/numbers/host.json" host.json && export KV_EMULATED_HOST="$PWD/host.json"
  $ try() { echo "[$*]"; "$KV_CLI" "$@" 2>&1 | grep -v '^$'; }
  $ . "$TESTDIR/batch.sh"
  $ refuse() { kv_queue "$@"; }
  $ refused() { kv_run_queue; }
  $ log=ProgramData/Orvo/kv_mgmt.log
  $ lines() { kv_audit_lines "$log" 2>/dev/null; rm -f "$log"; }
  $ units() { "$KV_CLI" "$1" show | grep '^u[0-9]' | cut -c1-30; }

Creation: 258 is not port 2, 259 not a second port 3, 16 is one past
the last port; 15 is a port, an empty one.

  $ for d in 0:1:258 0:1:16 0:3:259 0:1:15; do refuse /c0 add type=raid5 disk=$d; done
  > refused
  [/c0 add type=raid5 disk=0:1:258]
  Error: (CLI:144) Invalid drive(s) specified.
  [/c0 add type=raid5 disk=0:1:16]
  Error: (CLI:144) Invalid drive(s) specified.
  [/c0 add type=raid5 disk=0:3:259]
  Error: (CLI:144) Invalid drive(s) specified.
  [/c0 add type=raid5 disk=0:1:15]
  The following drive(s) cannot be used [15].
  Error: (CLI:144) Invalid drive(s) specified.

A RAID-1 asks the controller nothing about its drives before it is
created; its drive numbers are refused all the same, in both styles.

  $ refuse /c0 add type=raid1 disk=0:258
  > refuse maint createunit c0 rraid1 p0:258
  > refused
  [/c0 add type=raid1 disk=0:258]
  Error: (CLI:144) Invalid drive(s) specified.
  [maint createunit c0 rraid1 p0:258]
  Error: (CLI:144) Invalid drive(s) specified.

Rebuild: 264 is not port 8.

  $ refuse /c0/u5 start rebuild disk=264
  > refuse maint rebuild c0 u5 p264
  > refused
  [/c0/u5 start rebuild disk=264]
  Error: (CLI:144) Invalid drive(s) specified.
  [maint rebuild c0 u5 p264]
  Error: (CLI:144) Invalid drive(s) specified.

Migration: 258 is not port 2 for the mirror of the single disk u6; on the
40-port controller 286 is not port 30 and 259 not a second port 3.

  $ refuse /c0/u6 migrate type=raid1 disk=258
  > refuse /c1/u0 migrate type=raid5 disk=286
  > refuse /c1/u0 migrate type=raid5 disk=3:259
  > refused
  [/c0/u6 migrate type=raid1 disk=258]
  Error: (CLI:144) Invalid drive(s) specified.
  [/c1/u0 migrate type=raid5 disk=286]
  Error: (CLI:144) Invalid drive(s) specified.
  [/c1/u0 migrate type=raid5 disk=3:259]
  Error: (CLI:144) Invalid drive(s) specified.

Nothing changed and nothing was logged.

  $ units /c0
  u5    RAID-5    DEGRADED      
  u6    SINGLE    OK            
  $ units /c1
  u0    RAID-5    OK            
  $ lines

The ports near the end are taken as they are: port 8 of c0 and port 30
of c1.

  $ try /c0 add type=raid0 disk=3:8 noscan | head -2
  [/c0 add type=raid0 disk=3:8 noscan]
  Creating new unit on controller /c0 ... Done. The new unit is /c0/u0.
  $ try /c1/u0 migrate type=raid5 disk=30
  [/c1/u0 migrate type=raid5 disk=30]
  Sending migration message to /c1/u0 ... Done.
  $ lines
  CLI [Create Unit(controller=0 drives=3 8, type=RAID 0, stripe=256, make os aware=no, unit created=0): Success]
  CLI [Enable Auto Verify(controller=0, unit=0): Success]
  CLI [Set Keepwell Mode(controller=0, unit=0, mode=balance): Success]
  CLI [Enabled Unit Queuing(controller=0, unit=0): Success]
  CLI [Start Migrate Unit(controller=1, unit=0, drives=0 1 2 30, type=RAID 5, stripe=64, make os aware=yes): Success]

The older family's controller c2 (8 ports) keeps 2048 blocks of every
drive for itself: a unit over a drive of 1000 blocks (port 6) would hold
no block at all, and the library refuses it as a drive too small before
the create packet; so does a RAID-0 whose stripes round its 2 blocks
away. A drive of 2049 blocks (port 7) gives a mirror of one block.

  $ try /c2 add type=raid1 disk=6:7
  [/c2 add type=raid1 disk=6:7]
  Creating new unit on controller /c2 ... (0x0B:0x0036): Replacement drive is too small for rebuild operation
  $ try /c2 add type=raid0 disk=0:7 stripe=64
  [/c2 add type=raid0 disk=0:7 stripe=64]
  Creating new unit on controller /c2 ... (0x0B:0x0036): Replacement drive is too small for rebuild operation
  $ units /c2
  $ try /c2 add type=raid1 disk=0:7
  [/c2 add type=raid1 disk=0:7]
  Creating new unit on controller /c2 ... Done. The new unit is /c2/u0.
  $ jq -c '.machine.controllers[2].units' host.json
  [{"capacity":1,"members":[0,7],"number":0,"state":"ok","type":"raid1","write_cache":1}]
  $ lines
  CLI [Create Unit(controller=2 drives=6 7, type=RAID 1, stripe=n/a, make os aware=yes): Failed]
  CLI [Create Unit(controller=2 drives=0 7, type=RAID 0, stripe=64, make os aware=yes): Failed]
  CLI [Create Unit(controller=2 drives=0 7, type=RAID 1, stripe=n/a, make os aware=yes, unit created=0): Success]

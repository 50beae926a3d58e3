The default host's older-family controller /c2 (a RAID-1 on its two
drives) through the whole library: its event queue, the rescan, the
verify, the cache flush, the commit, the media scan, unit deletion,
creation and removal, and the firmware update that the family refuses.
Every change the audit log records is shown with its line.

  $ . "$TESTDIR/audit_log.sh"
  $ export KV_EMULATED_HOST="$PWD/host.json"
  $ log=ProgramData/Orvo/kv_mgmt.log
  $ lines() { kv_audit_lines "$log"; rm -f "$log"; }
  $ units() { "$KV_CLI" /c2 show | sed -n '4,/^$/p' | cut -c1-46; }

The event list reads the controller's queue through the library's event
walk: the last event read prints first, and a second listing finds the
queue empty and prints nothing.

  $ "$KV_CLI" /c2 show alarms
  c2   -                           INFO      (0x0F:0x002B): Verify complete: Unit #0
  c2   -                           INFO      (0x0F:0x0029): Verify started: Unit #0
  
  $ "$KV_CLI" /c2 show alarms
  
  $ "$KV_CLI" /c2 show alarms reverse
  

The rescan on a controller that has nothing new.

  $ "$KV_CLI" /c2 rescan
  Rescanning controller /c2 for units and drives ...Done.
  Found the following unit(s): [none].
  Found the following drive(s): [none].
  
  $ lines
  CLI [Rescan Controller(controller=2, make os aware=yes): Success (nothing found)]

A verify starts on the OK mirror and stops again; a second stop finds no
verify to stop.

  $ "$KV_CLI" /c2/u0 start verify
  Sending start verify message to /c2/u0 ... Done.
  
  $ units
  u0    RAID-1    VERIFYING      -       0%     
  
  $ "$KV_CLI" /c2/u0 stop verify
  Stopped verify on /c2/u0
  
  $ units
  u0    RAID-1    OK             -       -      
  
  $ "$KV_CLI" /c2/u0 stop verify; echo "status $?"
  Error: (CLI:019) Invalid operation for the current state of the specified unit.
  
  
  status 1
  $ lines
  CLI [Veify Unit(controller=2, unit=0): Success]

The write cache flush, the commit and the media scan go to the controller.

  $ "$KV_CLI" /c2/u0 flush
  Flushing write-cache on unit /c2/u0 ...Done.
  
  $ "$KV_CLI" /c2 commit
  Committing transactions on controller /c2 ...Done.
  
  
  $ "$KV_CLI" maint commit c2
  Committing transactions on controller /c2 ...Done.
  
  
  $ "$KV_CLI" /c2 start mediascan
  Sending MediaScan-Start request to /c2 ... Done.
  
  
  $ jq '.machine.controllers[2].media_scan' host.json
  true
  $ "$KV_CLI" /c2 stop mediascan
  Sending MediaScan-Stop request to /c2 ... Done.
  
  
  $ jq '.machine.controllers[2].media_scan' host.json
  false
  $ lines
  CLI [Flush Write Cache(controller=2, unit=0): Success]

A rebuild and its pause need a degraded or rebuilding unit: the OK
mirror refuses them with the controller's reason.

  $ "$KV_CLI" /c2/u0 start rebuild disk=1; echo "status $?"
  Sending rebuild start request to /c2/u0 on 1 disk(s) [1] ... Failed.
  (0x0B:0x0031): Unit is ok
  
  
  status 1
  $ "$KV_CLI" /c2/u0 pause rebuild; echo "status $?"
  Sending rebuild pause request to /c2/u0 ... Failed.
  (0x0B:0x0040): Unit is not rebuilding
  
  
  status 1
  $ lines
  CLI [Rebuild Unit(controller=2, unit=0, drives=1, ignore ecc=no): Failed]

Deleting the mirror frees its drives; a new one is created on them with
the controller's "add" command, deleted again, and created with the
old-style words.

  $ "$KV_CLI" /c2/u0 del quiet
  Deleting unit c2/u0 ...Done.
  
  
  $ "$KV_CLI" /c2 show | sed -n '/^Port/,$p'
  Port   Status           Unit   Size        Blocks        Serial
  ---------------------------------------------------------------
  p0     OK               -      232.88 GB   488397168     TQ0P004411          
  p1     OK               -      232.88 GB   488397168     TQ0P004412          
  
  $ "$KV_CLI" /c2 add type=raid1 disk=0-1
  Creating new unit on controller /c2 ... Done. The new unit is /c2/u0.
  
  $ units
  u0    RAID-1    OK             -       -      
  
  $ "$KV_CLI" /c2/u0 del quiet
  Deleting unit c2/u0 ...Done.
  
  
  $ "$KV_CLI" maint createunit c2 rraid0 p0:1 k64
  Creating new unit on controller /c2 ... Done. The new unit is /c2/u0.
  
  $ units
  u0    RAID-0    OK             -       -      
  
  $ "$KV_CLI" /c2 add type=raid5 disk=0-1; echo "status $?"
  Error: (CLI:010) Invalid number of ports/drives specified.
  
  
  status 1
  $ "$KV_CLI" /c2 add type=raid50 disk=0-1; echo "status $?"
  Error: (CLI:026) Invalid RAID type or invalid RAID type for controller specified.
  
  
  status 1
  $ lines
  CLI [Delete Unit(controller=2, unit=0, make os aware=yes): Success]
  CLI [Create Unit(controller=2 drives=0 1, type=RAID 1, stripe=n/a, make os aware=yes, unit created=0): Success]
  CLI [Delete Unit(controller=2, unit=0, make os aware=yes): Success]
  CLI [Create Unit(controller=2 drives=0 1, type=RAID 0, stripe=64, make os aware=yes, unit created=0): Success]

Removing the unit exports it and takes its drives off their ports; the
drives keep the unit's configuration, so the rescan finds them again and
brings the unit back.

  $ "$KV_CLI" /c2/u0 remove quiet
  Removing /c2/u0 ... Done.
  
  
  $ "$KV_CLI" /c2 show | sed -n '/^Port/,$p'
  Port   Status           Unit   Size        Blocks        Serial
  ---------------------------------------------------------------
  p0     NOT-PRESENT      -      -           -             -
  p1     NOT-PRESENT      -      -           -             -
  
  $ "$KV_CLI" /c2 rescan
  Rescanning controller /c2 for units and drives ...Done.
  Found the following unit(s): [/c2/u0].
  Found the following drive(s): [none].
  
  $ "$KV_CLI" /c2 show | sed -n '/^Port/,$p'
  Port   Status           Unit   Size        Blocks        Serial
  ---------------------------------------------------------------
  p0     OK               u0     232.88 GB   488397168     TQ0P004411          
  p1     OK               u0     232.88 GB   488397168     TQ0P004412          
  
  $ lines
  CLI [Remove Unit(controller=2, unit=0, make os aware=yes): Success]
  CLI [Rescan Controller(controller=2, make os aware=yes): Success]
  CLI [    Rescan found unit 0 (RAID 0)]

The older family takes no firmware update from the controller command.

  $ printf 'image' > image.bin
  $ "$KV_CLI" /c2 update fw=image.bin; echo "status $?"
  Error: (CLI:024) Invalid operation(s) for the specified controller.
  
  
  status 1

Unit creation on an older-family controller of eight ports, all holding
free drives (p0-p3 and p7 of 250 GB, p4-p6 of 500 GB): every RAID type
the family has, through the controller's "add" command and the old-style
"createunit" words, with the audit log line of each creation.

  $ . "$TESTDIR/audit_log.sh"
  $ jq '.machine.controllers[0].units = [] | .machine.controllers[0].events = [] | .machine.controllers[0].drives += [.machine.controllers[0].drives[0] + {port: 3, serial: "TQ0P004414"}, .machine.controllers[0].drives[0] + {port: 7, serial: "TQ0P004418"}]' "$FIXTURES/prane/older_only.json" > host.json
  $ export KV_EMULATED_HOST="$PWD/host.json"
  $ log=ProgramData/Orvo/kv_mgmt.log
  $ lines() { kv_audit_lines "$log"; rm -f "$log"; }
  $ units() { "$KV_CLI" /c0 show | sed -n '4,/^$/p' | cut -c1-64; }

  $ "$KV_CLI" /c0 add type=raid10 disk=0-3 stripe=256
  Creating new unit on controller /c0 ... Done. The new unit is /c0/u0.
  
  $ "$KV_CLI" /c0 add type=raid5 disk=4-6 stripe=64
  Creating new unit on controller /c0 ... Done. The new unit is /c0/u1.
  
  $ "$KV_CLI" /c0 add type=spare disk=7
  Creating new unit on controller /c0 ... Done. The new unit is /c0/u2.
  WARNING: This Spare unit may replace failed drive of same interface type only.
  
  $ units
  u0    RAID-10   OK             -       -       256K    465.77   
  u1    RAID-5    OK             -       -       64K     931.521  
  u2    SPARE     OK             -       -       -       232.886  
  
  $ "$KV_CLI" /c0/u0 show
  
  Unit     UnitType  Status         %RCmpl  %V/I/M  Port  Stripe  Size(GB)
  ------------------------------------------------------------------------
  u0       RAID-10   OK             -       -       -     256K    465.77    
  u0-0     RAID-1    OK             -       -       -     -       -         
  u0-0-0   DISK      OK             -       -       p0    -       232.885   
  u0-0-1   DISK      OK             -       -       p1    -       232.885   
  u0-1     RAID-1    OK             -       -       -     -       -         
  u0-1-0   DISK      OK             -       -       p2    -       232.885   
  u0-1-1   DISK      OK             -       -       p3    -       232.885   
  
  $ lines
  CLI [Create Unit(controller=0 drives=0 1 2 3, type=RAID 10, stripe=256, make os aware=yes, unit created=0): Success]
  CLI [Create Unit(controller=0 drives=4 5 6, type=RAID 5, stripe=64, make os aware=yes, unit created=1): Success]
  CLI [Create Unit(controller=0 drives=7, type=SPARE, stripe=n/a, make os aware=yes, unit created=2): Success]

A drive that belongs to a unit is refused by the controller's family
before anything changes.

  $ "$KV_CLI" /c0 add type=raid0 disk=6-7; echo "status $?"
  Creating new unit on controller /c0 ... (0x0B:0x001F): One or more of the specified drives belong to another unit
  
  
  status 1
  $ units
  u0    RAID-10   OK             -       -       256K    465.77   
  u1    RAID-5    OK             -       -       64K     931.521  
  u2    SPARE     OK             -       -       -       232.886  
  
  $ lines
  CLI [Create Unit(controller=0 drives=6 7, type=RAID 0, stripe=256, make os aware=yes): Failed]

The old-style words: "r" and the type, "p" and the ports, "k" and the
stripe; types the older family does not have are refused.

  $ for u in u0 u1 u2; do "$KV_CLI" /c0/$u del quiet > /dev/null; done
  $ "$KV_CLI" maint createunit c0 rjbod p7
  Creating new unit on controller /c0 ... Done. The new unit is /c0/u0.
  
  $ "$KV_CLI" maint createunit c0 rraid5 p0:1:2 k64
  Creating new unit on controller /c0 ... Done. The new unit is /c0/u1.
  
  $ "$KV_CLI" maint createunit c0 rraid1 p3:4
  Creating new unit on controller /c0 ... Done. The new unit is /c0/u2.
  
  $ "$KV_CLI" maint createunit c0 rraid6 p5:6; echo "status $?"
  Error: (CLI:026) Invalid RAID type or invalid RAID type for controller specified.
  
  
  status 1
  $ "$KV_CLI" /c0 add type=single disk=5; echo "status $?"
  Error: (CLI:026) Invalid RAID type or invalid RAID type for controller specified.
  
  
  status 1
  $ units
  u0    JBOD      OK             -       -       -       232.886  
  u1    RAID-5    OK             -       -       64K     465.77   
  u2    RAID-1    OK             -       -       -       232.885  
  
  $ lines | grep Create
  CLI [Create Unit(controller=0 drives=7, type=JBOD, stripe=n/a, make os aware=yes, unit created=0): Success]
  CLI [Create Unit(controller=0 drives=0 1 2, type=RAID 5, stripe=64, make os aware=yes, unit created=1): Success]
  CLI [Create Unit(controller=0 drives=3 4, type=RAID 1, stripe=n/a, make os aware=yes, unit created=2): Success]

The library turns a new unit's write cache on by itself. When the
controller starts new units with it off ("new_unit_write_cache") and that
quiet request fails, the creation turns it on and warns: the older family
has no battery backup unit.

  $ for u in u0 u1 u2; do "$KV_CLI" /c0/$u del quiet > /dev/null; done
  $ jq '.machine.controllers[0].new_unit_write_cache = false | .faults = [{"match": {"layer": "firmware", "kind": "prane", "opcode": "0x13", "table": "0x0300", "parameter": 7}, "action": {"status": 1, "code": "0x0204"}}]' host.json > off.json && mv off.json host.json
  $ "$KV_CLI" /c0 add type=raid1 disk=0:1
  Creating new unit on controller /c0 ... Done. The new unit is /c0/u0.
  Setting write cache = ON for the new unit ... Done.
  Warning: You do not have a battery backup unit for /c0/u0 and the enabled
  write cache (default) may cause data loss in the event of power failure.
  
  $ "$KV_CLI" /c0 show | sed -n 4p
  u0    RAID-1    OK             -       -       -       232.885   ON     -      

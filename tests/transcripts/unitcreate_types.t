Creating a unit of every RAID type on a family-8 controller with sixteen
SATA drives (drive 15 is SAS); unit u0 (RAID-5 on drives 0-2) and u1 (a
single disk on drive 14) exist already. Each creation prints its progress
lines; the next "/c0 show" lists the new units and the audit log holds one
line per change.

  $ . "$TESTDIR/audit_log.sh"
  $ cp "$FIXTURES/unitcreate/host.json" host.json && export KV_EMULATED_HOST="$PWD/host.json"
  $ log() { kv_audit_lines; rm -f ProgramData/Orvo/kv_mgmt.log; }

New-style words after "add": RAID-0, RAID-1, RAID-10, JBOD, spare and
single disk.

  $ "$KV_CLI" /c0 add type=raid0 disk=3:4 stripe=16
  Creating new unit on controller /c0 ... Done. The new unit is /c0/u2.
  Setting AutoVerify=ON for the new unit ... Done.
  Setting default Keepwell policy to [balance] for the new unit ... Done.
  Setting default Command Queuing policy for unit /c0/u2 to [on] ... Done.
  
  $ "$KV_CLI" /c0 add type=raid1 disk=5:6 name=Mirror nocache
  Creating new unit on controller /c0 ... Done. The new unit is /c0/u3.
  Naming unit /c0/u3 to [Mirror] ... Done.
  Setting AutoVerify=ON for the new unit ... Done.
  Setting default Keepwell policy to [balance] for the new unit ... Done.
  Setting default Command Queuing policy for unit /c0/u3 to [on] ... Done.
  Setting write cache = OFF for the new unit ... Done.
  
  $ "$KV_CLI" /c0 add type=raid10 disk=7-10 noqpolicy ignoreecc
  Creating new unit on controller /c0 ... Done. The new unit is /c0/u4.
  Setting AutoVerify=ON for the new unit ... Done.
  Setting IgnoreECC=ON for the new unit ... Done.
  Setting default Keepwell policy to [balance] for the new unit ... Done.
  Setting Command Queuing policy for unit /c0/u4 to [off] ... Done.
  
  $ "$KV_CLI" /c0 add type=jbod disk=11
  Creating new unit on controller /c0 ... Done. The new unit is /c0/u5.
  Setting default Keepwell policy to [balance] for the new unit ... Done.
  Setting default Command Queuing policy for unit /c0/u5 to [on] ... Done.
  
  $ "$KV_CLI" /c0 add type=spare disk=12
  Creating new unit on controller /c0 ... Done. The new unit is /c0/u6.
  WARNING: This Spare unit may replace failed drive of same interface type only.
  
  $ "$KV_CLI" /c0 add type=single disk=13 keepwell=perform
  Creating new unit on controller /c0 ... Done. The new unit is /c0/u7.
  Setting AutoVerify=ON for the new unit ... Done.
  Setting Keepwell policy to [perform] for the new unit ... Done.
  Warning: New unit /c0/u7 keepwell policy is set to Performance which may
  cause data loss in the event of power failure.
  Setting default Command Queuing policy for unit /c0/u7 to [on] ... Done.
  
  $ "$KV_CLI" /c0 show | sed -n 1,13p
  
  Unit  UnitType  Status         %RCmpl  %V/I/M  Stripe  Size(GB)  Cache  AVrfy
  ------------------------------------------------------------------------------
  u0    RAID-5    OK             -       -       256K    931.523   RiW    OFF    
  u1    SINGLE    OK             -       -       -       465.762   RiW    OFF    
  u2    RAID-0    OK             -       -       16K     931.523   RiW    ON     
  u3    RAID-1    OK             -       -       -       465.762   Ri     ON     
  u4    RAID-10   OK             -       -       256K    931.523   RiW    ON     
  u5    JBOD      OK             -       -       -       465.762   RiW    OFF    
  u6    SPARE     OK             -       -       -       465.762   -      OFF    
  u7    SINGLE    OK             -       -       -       465.762   RiW    ON     
  
  VPort Status         Unit Size      Type  Phy Encl-Slot    Model
  $ log
  CLI [Create Unit(controller=0 drives=3 4, type=RAID 0, stripe=16, make os aware=yes, unit created=2): Success]
  CLI [Enable Auto Verify(controller=0, unit=2): Success]
  CLI [Set Keepwell Mode(controller=0, unit=2, mode=balance): Success]
  CLI [Enabled Unit Queuing(controller=0, unit=2): Success]
  CLI [Create Unit(controller=0 drives=5 6, type=RAID 1, stripe=n/a, make os aware=yes, unit created=3): Success]
  CLI [Set Unit Name(controller=0, unit=3, name=Mirror): Success]
  CLI [Enable Auto Verify(controller=0, unit=3): Success]
  CLI [Set Keepwell Mode(controller=0, unit=3, mode=balance): Success]
  CLI [Enabled Unit Queuing(controller=0, unit=3): Success]
  CLI [Disable Write Cache(controller=0, unit=3): Success]
  CLI [Create Unit(controller=0 drives=7 8 9 10, type=RAID 10, stripe=256, make os aware=yes, unit created=4): Success]
  CLI [Enable Auto Verify(controller=0, unit=4): Success]
  CLI [Continue on ECC errors on rebuild(controller=0, unit=4): Success]
  CLI [Set Keepwell Mode(controller=0, unit=4, mode=balance): Success]
  CLI [Disabled Unit Queuing(controller=0, unit=4): Success]
  CLI [Create Unit(controller=0 drives=11, type=JBOD, stripe=n/a, make os aware=yes, unit created=5): Success]
  CLI [Set Keepwell Mode(controller=0, unit=5, mode=balance): Success]
  CLI [Enabled Unit Queuing(controller=0, unit=5): Success]
  CLI [Create Unit(controller=0 drives=12, type=SPARE, stripe=n/a, make os aware=yes, unit created=6): Success]
  CLI [Create Unit(controller=0 drives=13, type=SINGLE DISK, stripe=n/a, make os aware=yes, unit created=7): Success]
  CLI [Enable Auto Verify(controller=0, unit=7): Success]
  CLI [Set Keepwell Mode(controller=0, unit=7, mode=perform): Success]
  CLI [Enabled Unit Queuing(controller=0, unit=7): Success]

Old-style "createunit" words: the type after "r", the drives after "p",
the stripe after "k".

  $ cp "$FIXTURES/unitcreate/host.json" host.json
  $ "$KV_CLI" /c0 createunit rraid5 p3-5 k64 autoverify
  Creating new unit on controller /c0 ... Done. The new unit is /c0/u2.
  Setting AutoVerify=ON for the new unit ... Done.
  Setting default Keepwell policy to [balance] for the new unit ... Done.
  Setting default Command Queuing policy for unit /c0/u2 to [on] ... Done.
  
  $ "$KV_CLI" /c0 createunit rraid6 p6:7:8:9:10 k256 nocache
  Creating new unit on controller /c0 ... Done. The new unit is /c0/u3.
  Setting AutoVerify=ON for the new unit ... Done.
  Setting default Keepwell policy to [balance] for the new unit ... Done.
  Setting default Command Queuing policy for unit /c0/u3 to [on] ... Done.
  Setting write cache = OFF for the new unit ... Done.
  
  $ "$KV_CLI" /c0 createunit rsingledisk p11 noscan
  Creating new unit on controller /c0 ... Done. The new unit is /c0/u4.
  Setting AutoVerify=ON for the new unit ... Done.
  Setting default Keepwell policy to [balance] for the new unit ... Done.
  Setting default Command Queuing policy for unit /c0/u4 to [on] ... Done.
  
  $ "$KV_CLI" /c0 createunit rspare p12
  Creating new unit on controller /c0 ... Done. The new unit is /c0/u5.
  WARNING: This Spare unit may replace failed drive of same interface type only.
  
  $ "$KV_CLI" /c0 show | sed -n 1,9p
  
  Unit  UnitType  Status         %RCmpl  %V/I/M  Stripe  Size(GB)  Cache  AVrfy
  ------------------------------------------------------------------------------
  u0    RAID-5    OK             -       -       256K    931.523   RiW    OFF    
  u1    SINGLE    OK             -       -       -       465.762   RiW    OFF    
  u2    RAID-5    OK             -       -       64K     931.523   RiW    ON     
  u3    RAID-6    OK             -       -       256K    1397.29   Ri     ON     
  u4    SINGLE    OK             -       -       -       465.762   RiW    ON     
  u5    SPARE     OK             -       -       -       465.762   -      OFF    
  $ log
  CLI [Create Unit(controller=0 drives=3 4 5, type=RAID 5, stripe=64, make os aware=yes, unit created=2): Success]
  CLI [Enable Auto Verify(controller=0, unit=2): Success]
  CLI [Set Keepwell Mode(controller=0, unit=2, mode=balance): Success]
  CLI [Enabled Unit Queuing(controller=0, unit=2): Success]
  CLI [Create Unit(controller=0 drives=6 7 8 9 10, type=RAID 6, stripe=256, make os aware=yes, unit created=3): Success]
  CLI [Enable Auto Verify(controller=0, unit=3): Success]
  CLI [Set Keepwell Mode(controller=0, unit=3, mode=balance): Success]
  CLI [Enabled Unit Queuing(controller=0, unit=3): Success]
  CLI [Disable Write Cache(controller=0, unit=3): Success]
  CLI [Create Unit(controller=0 drives=11, type=SINGLE DISK, stripe=n/a, make os aware=no, unit created=4): Success]
  CLI [Enable Auto Verify(controller=0, unit=4): Success]
  CLI [Set Keepwell Mode(controller=0, unit=4, mode=balance): Success]
  CLI [Enabled Unit Queuing(controller=0, unit=4): Success]
  CLI [Create Unit(controller=0 drives=12, type=SPARE, stripe=n/a, make os aware=yes, unit created=5): Success]

RAID-50: without a group the drive count decides it (6 drives: two groups
of 3, 8 drives: two of 4); group= and g ask for one. The drives of one
unit are all SATA or all SAS.

  $ cp "$FIXTURES/unitcreate/host.json" host.json
  $ "$KV_CLI" /c0 add type=raid50 disk=3-8
  Creating new unit on controller /c0 ... Done. The new unit is /c0/u2.
  Setting AutoVerify=ON for the new unit ... Done.
  Setting default Keepwell policy to [balance] for the new unit ... Done.
  Setting default Command Queuing policy for unit /c0/u2 to [on] ... Done.
  
  $ "$KV_CLI" /c0 createunit rraid50 p9-13:15 g3
  Error: (CLI:139) A configuration of mixed SATA and SAS drives is not supported
  by the current controller.
  
  
  [1]
  $ "$KV_CLI" /c0 show | sed -n 1,7p
  
  Unit  UnitType  Status         %RCmpl  %V/I/M  Stripe  Size(GB)  Cache  AVrfy
  ------------------------------------------------------------------------------
  u0    RAID-5    OK             -       -       256K    931.523   RiW    OFF    
  u1    SINGLE    OK             -       -       -       465.762   RiW    OFF    
  u2    RAID-50   OK             -       -       256K    1863.05   RiW    ON     
  
  $ log
  CLI [Create Unit(controller=0 drives=3 4 5 6 7 8, type=RAID 50, stripe=256, drives/subunit=3, make os aware=yes, unit created=2): SUCCESS]
  CLI [Enable Auto Verify(controller=0, unit=2): Success]
  CLI [Set Keepwell Mode(controller=0, unit=2, mode=balance): Success]
  CLI [Enabled Unit Queuing(controller=0, unit=2): Success]
  $ cp "$FIXTURES/unitcreate/host.json" host.json
  $ "$KV_CLI" /c0 createunit rraid50 p3-10 g4 k64
  Creating new unit on controller /c0 ... Done. The new unit is /c0/u2.
  Setting AutoVerify=ON for the new unit ... Done.
  Setting default Keepwell policy to [balance] for the new unit ... Done.
  Setting default Command Queuing policy for unit /c0/u2 to [on] ... Done.
  
  $ "$KV_CLI" /c0/u2 show
  
  Unit     UnitType  Status         %RCmpl  %V/I/M  VPort Stripe  Size(GB)
  ------------------------------------------------------------------------
  u2       RAID-50   OK*            -       -       -     -       2794.57   
  u2-0     RAID-5    OK             -       -       -     64K     -         
  u2-0-0   DISK      OK             -       -       p3    -       465.762   
  u2-0-1   DISK      OK             -       -       p4    -       465.762   
  u2-0-2   DISK      OK             -       -       p5    -       465.762   
  u2-0-3   DISK      OK             -       -       p6    -       465.762   
  u2-1     RAID-5    OK             -       -       -     64K     -         
  u2-1-0   DISK      OK             -       -       p7    -       465.762   
  u2-1-1   DISK      OK             -       -       p8    -       465.762   
  u2-1-2   DISK      OK             -       -       p9    -       465.762   
  u2-1-3   DISK      OK             -       -       p10   -       465.762   
  u2/v0    Volume    -              -       -       -     -       2794.57   
  
  $ log
  CLI [Create Unit(controller=0 drives=3 4 5 6 7 8 9 10, type=RAID 50, stripe=64, drives/subunit=4, make os aware=yes, unit created=2): SUCCESS]
  CLI [Enable Auto Verify(controller=0, unit=2): Success]
  CLI [Set Keepwell Mode(controller=0, unit=2, mode=balance): Success]
  CLI [Enabled Unit Queuing(controller=0, unit=2): Success]

The unit's disk joins the disks Windows sees.

  $ jq -c '.machine.disks[] | select(.target == 2)' host.json
  {"controller":0,"disk_number":2,"target":2,"unit_disk":true}

On the family-6 controller c1 (firmware level 36): RAID-6 is refused
before any output, rapid RAID recovery is taken for a redundant type, and
keepwell=perform warns.

  $ "$KV_CLI" /c1 add type=raid6 disk=0-4
  Error: (CLI:026) Invalid RAID type or invalid RAID type for controller specified.
  
  
  [1]
  $ "$KV_CLI" /c1 add type=raid5 disk=0-2 rrr=rebuild keepwell=perform
  Creating new unit on controller /c1 ... Done. The new unit is /c1/u0.
  Setting AutoVerify=ON for the new unit ... Done.
  Setting Keepwell policy to [perform] for the new unit ... Done.
  Warning: New unit /c1/u0 keepwell policy is set to Performance which may
  cause data loss in the event of power failure.
  Setting Rapid RAID Recovery policy on /c1/u0 to [rebuild] ... Done.
  Setting default Command Queuing policy for unit /c1/u0 to [on] ... Done.
  
  $ "$KV_CLI" /c1 add type=raid1 disk=3:4 keepwell=performance rdcachebasic
  Creating new unit on controller /c1 ... Done. The new unit is /c1/u1.
  Setting AutoVerify=ON for the new unit ... Done.
  Setting Keepwell policy to [performance] for the new unit ... Done.
  Setting default Command Queuing policy for unit /c1/u1 to [on] ... Done.
  
  $ "$KV_CLI" /c1 show | sed -n 1,6p
  
  Unit  UnitType  Status         %RCmpl  %V/I/M  Stripe  Size(GB)  Cache  AVrfy
  ------------------------------------------------------------------------------
  u0    RAID-5    OK             -       -       256K    931.523   ON     ON     
  u1    RAID-1    OK             -       -       -       465.762   ON     ON     
  
  $ log
  CLI [Create Unit(controller=1 drives=0 1 2, type=RAID 5, stripe=256, make os aware=yes, unit created=0): Success]
  CLI [Enable Auto Verify(controller=1, unit=0): Success]
  CLI [Set Keepwell Mode(controller=1, unit=0, mode=perform): Success]
  CLI [Set Rapid RAID Recovery(controller=1, unit=0, rr_recovery=Rebuild): Success]
  CLI [Enabled Unit Queuing(controller=1, unit=0): Success]
  CLI [Create Unit(controller=1 drives=3 4, type=RAID 1, stripe=n/a, make os aware=yes, unit created=1): Success]
  CLI [Enable Auto Verify(controller=1, unit=1): Success]
  CLI [Set Keepwell Mode(controller=1, unit=1, mode=perform): Success]
  CLI [Enabled Unit Queuing(controller=1, unit=1): Success]

The shell's old-style "maint" command reaches the same creation.

  $ cp "$FIXTURES/unitcreate/host.json" host.json
  $ "$KV_CLI" maint createunit c0 rjbod p13 noscan
  Creating new unit on controller /c0 ... Done. The new unit is /c0/u2.
  Setting default Keepwell policy to [balance] for the new unit ... Done.
  Setting default Command Queuing policy for unit /c0/u2 to [on] ... Done.
  
  $ log
  CLI [Create Unit(controller=0 drives=13, type=JBOD, stripe=n/a, make os aware=no, unit created=2): Success]
  CLI [Set Keepwell Mode(controller=0, unit=2, mode=balance): Success]
  CLI [Enabled Unit Queuing(controller=0, unit=2): Success]

A mirror migrated to single disks splits: the unit keeps its address, the
other half becomes the next free unit, and the unit that keeps the address
takes the asked write cache (off after nocache) and auto-verify silently.
Windows hears of the split (the unit's flag is on unless "noscan").

  $ cp "$FIXTURES/unitcreate/host.json" host.json && rm -f ProgramData/Orvo/kv_mgmt.log
  $ "$KV_CLI" /c0 add type=raid1 disk=3:4 > /dev/null
  $ "$KV_CLI" /c0/u2 migrate type=single nocache
  Sending migration message to /c0/u2 ... Done.
  Split or migrate u2 to [u2, u3].
  
  $ "$KV_CLI" /c0 show | sed -n 6,7p
  u2    SINGLE    OK             -       -       -       465.762   Ri     ON     
  u3    SINGLE    OK             -       -       -       465.762   RiW    OFF    
  $ log | tail -3
  CLI [Split Mirror(controller=0, unit=2, make os aware=yes): Success]
  CLI [Disable Write Cache(controller=0, unit=2): Success]
  CLI [Enable Auto Verify(controller=0, unit=2): Success]

Volumes of a new unit, the interactive volume dialogue, the battery's say
over the write cache of a new unit, and failures of the controller during
a creation, on the family-8 controller c0 (drives 3-13 free).

  $ . "$TESTDIR/audit_log.sh"
  $ cp "$FIXTURES/unitcreate/host.json" host.json && export KV_EMULATED_HOST="$PWD/host.json"
  $ log() { kv_audit_lines; rm -f ProgramData/Orvo/kv_mgmt.log; }

vol= asks for up to four volumes in GB; the controller keeps what they
leave as one more volume. A creation with volumes leaves no audit line of
its own.

  $ "$KV_CLI" /c0 add type=raid5 disk=3-5 vol=100:200 nocache
  Creating new unit on controller /c0 ... Done. The new unit is /c0/u2.
  Setting AutoVerify=ON for the new unit ... Done.
  Setting default Keepwell policy to [balance] for the new unit ... Done.
  Setting default Command Queuing policy for unit /c0/u2 to [on] ... Done.
  Setting write cache = OFF for the new unit ... Done.
  
  $ "$KV_CLI" /c0/u2 show | tail -5
  u2-2     DISK      OK             -       -       p5    -       465.762   
  u2/v0    Volume    -              -       -       -     -       100       
  u2/v1    Volume    -              -       -       -     -       200       
  u2/v2    Volume    -              -       -       -     -       631.523   
  
  $ log
  CLI [Enable Auto Verify(controller=0, unit=2): Success]
  CLI [Set Keepwell Mode(controller=0, unit=2, mode=balance): Success]
  CLI [Enabled Unit Queuing(controller=0, unit=2): Success]
  CLI [Disable Write Cache(controller=0, unit=2): Success]

A RAID-50 with volumes goes through the group variant of the same call,
again without an audit line of its own (on a copy of the host).

  $ mkdir r50 && cp "$FIXTURES/unitcreate/host.json" r50/host.json
  $ KV_EMULATED_HOST=$PWD/r50/host.json "$KV_CLI" /c0 add type=raid50 disk=3-8 group=3 vol=100 nocache
  Creating new unit on controller /c0 ... Done. The new unit is /c0/u2.
  Setting AutoVerify=ON for the new unit ... Done.
  Setting default Keepwell policy to [balance] for the new unit ... Done.
  Setting default Command Queuing policy for unit /c0/u2 to [on] ... Done.
  Setting write cache = OFF for the new unit ... Done.
  
  $ KV_EMULATED_HOST=$PWD/r50/host.json "$KV_CLI" /c0/u2 show | sed -n '4p;13,14p'
  u2       RAID-50   OK*            -       -       -     -       1863.05   
  u2/v0    Volume    -              -       -       -     -       100       
  u2/v1    Volume    -              -       -       -     -       1763.05   
  $ grep -c Create r50/ProgramData/Orvo/kv_mgmt.log
  0
  [1]
  $ rm -r r50

The RAID-0 volume dialogue: sizes until "q", then the creation.

  $ printf 'y\n10\n20\nq\ny\n' | "$KV_CLI" /c0 add type=raid0 disk=6:7 vol=?
  Do you wish to specify v0, v1, v2, v3, etc.? Y|N [N]: Enter 'q' or 'quit' to stop input...
  v0=v1=v2=calculating estimated remaining capacity... 
  Do you wish to create the unit? Y|N [N]: Creating new unit on controller /c0 ... Done. The new unit is /c0/u3.
  Setting AutoVerify=ON for the new unit ... Done.
  Setting default Keepwell policy to [balance] for the new unit ... Done.
  Setting default Command Queuing policy for unit /c0/u3 to [on] ... Done.
  
  $ "$KV_CLI" /c0/u3 show | tail -5
  u3-1     DISK      OK             -       -       p7    -       465.762   
  u3/v0    Volume    -              -       -       -     -       10        
  u3/v1    Volume    -              -       -       -     -       20        
  u3/v2    Volume    -              -       -       -     -       901.523   
  

Any answer but "y" to the first question creates the unit without volumes;
"n" to the creation question and to starting over keeps the sizes so far.

  $ printf 'x\n' | "$KV_CLI" /c0 add type=raid0 disk=8:9 vol=?
  Do you wish to specify v0, v1, v2, v3, etc.? Y|N [N]: Invalid input!
  Creating new unit on controller /c0 ... Done. The new unit is /c0/u4.
  Setting AutoVerify=ON for the new unit ... Done.
  Setting default Keepwell policy to [balance] for the new unit ... Done.
  Setting default Command Queuing policy for unit /c0/u4 to [on] ... Done.
  
  $ printf 'y\n5\nq\nn\nn\n' | "$KV_CLI" /c0 add type=raid0 disk=10:11 vol=?
  Do you wish to specify v0, v1, v2, v3, etc.? Y|N [N]: Enter 'q' or 'quit' to stop input...
  v0=v1=calculating estimated remaining capacity... 
  Do you wish to create the unit? Y|N [N]: Do you wish to start over? Y|N [N]: Creating new unit on controller /c0 ... Done. The new unit is /c0/u5.
  Setting AutoVerify=ON for the new unit ... Done.
  Setting default Keepwell policy to [balance] for the new unit ... Done.
  Setting default Command Queuing policy for unit /c0/u5 to [on] ... Done.
  
  $ "$KV_CLI" /c0/u5 show | tail -4
  u5-1     DISK      OK             -       -       p11   -       465.762   
  u5/v0    Volume    -              -       -       -     -       5         
  u5/v1    Volume    -              -       -       -     -       926.523   
  
  $ printf 'y\n1x\n' | "$KV_CLI" /c0 add type=raid0 disk=12:13 vol=?
  Do you wish to specify v0, v1, v2, v3, etc.? Y|N [N]: Enter 'q' or 'quit' to stop input...
  v0=Error: (CLI:002) Syntax Error.
  
  
  [1]
  $ log
  CLI [Enable Auto Verify(controller=0, unit=3): Success]
  CLI [Set Keepwell Mode(controller=0, unit=3, mode=balance): Success]
  CLI [Enabled Unit Queuing(controller=0, unit=3): Success]
  CLI [Create Unit(controller=0 drives=8 9, type=RAID 0, stripe=256, make os aware=yes, unit created=4): Success]
  CLI [Enable Auto Verify(controller=0, unit=4): Success]
  CLI [Set Keepwell Mode(controller=0, unit=4, mode=balance): Success]
  CLI [Enabled Unit Queuing(controller=0, unit=4): Success]
  CLI [Enable Auto Verify(controller=0, unit=5): Success]
  CLI [Set Keepwell Mode(controller=0, unit=5, mode=balance): Success]
  CLI [Enabled Unit Queuing(controller=0, unit=5): Success]

A battery that is not ready refuses a change of the write cache away from
the controller's default (unless the Keepwell policy is performance); the
creation goes on.

  $ cp "$FIXTURES/unitcreate/host.json" host.json
  $ jq '.machine.controllers[0].bbu.ready = false' host.json > ready.json && mv ready.json host.json
  $ "$KV_CLI" /c0 add type=raid1 disk=3:4 nocache rdcachebasic
  Creating new unit on controller /c0 ... Done. The new unit is /c0/u2.
  Setting AutoVerify=ON for the new unit ... Done.
  Setting default Keepwell policy to [balance] for the new unit ... Done.
  Setting default Command Queuing policy for unit /c0/u2 to [on] ... Done.
  Setting write cache=OFF for the new unit ...Failed
  .  BBU is not ready. Use /c0/u2 set cache=OFF command 
    to change the write cache policy when the BBU is ready.
  Setting read cache = basic for the new unit ... Done.
  
  $ "$KV_CLI" /c0 add type=raid1 disk=5:6 nocache keepwell=performance
  Creating new unit on controller /c0 ... Done. The new unit is /c0/u3.
  Setting AutoVerify=ON for the new unit ... Done.
  Setting Keepwell policy to [performance] for the new unit ... Done.
  Setting default Command Queuing policy for unit /c0/u3 to [on] ... Done.
  Setting write cache = OFF for the new unit ... Done.
  
  $ "$KV_CLI" /c0 show | sed -n 6,7p
  u2    RAID-1    OK             -       -       -       465.762   RbW    ON     
  u3    RAID-1    OK             -       -       -       465.762   Ri     ON     
  $ log
  CLI [Create Unit(controller=0 drives=3 4, type=RAID 1, stripe=n/a, make os aware=yes, unit created=2): Success]
  CLI [Enable Auto Verify(controller=0, unit=2): Success]
  CLI [Set Keepwell Mode(controller=0, unit=2, mode=balance): Success]
  CLI [Enabled Unit Queuing(controller=0, unit=2): Success]
  CLI [Enable Basic Read Cache(controller=0, unit=2): Success]
  CLI [Create Unit(controller=0 drives=5 6, type=RAID 1, stripe=n/a, make os aware=yes, unit created=3): Success]
  CLI [Enable Auto Verify(controller=0, unit=3): Success]
  CLI [Set Keepwell Mode(controller=0, unit=3, mode=perform): Success]
  CLI [Enabled Unit Queuing(controller=0, unit=3): Success]
  CLI [Disable Write Cache(controller=0, unit=3): Success]

On controllers whose new units start with the write cache off (the host
file's "new_unit_write_cache"), the creation turns it on, as a new unit
wants it. Without a battery (the family-6 c1) a warning follows; a battery
that is not ready refuses the change unless the Keepwell policy is
performance; a ready one takes it without a word.

  $ jq '.machine.controllers[].new_unit_write_cache = false' "$FIXTURES/unitcreate/host.json" > host.json
  $ "$KV_CLI" /c1 add type=raid1 disk=0:1
  Creating new unit on controller /c1 ... Done. The new unit is /c1/u0.
  Setting AutoVerify=ON for the new unit ... Done.
  Setting default Keepwell policy to [balance] for the new unit ... Done.
  Setting default Command Queuing policy for unit /c1/u0 to [on] ... Done.
  Setting write cache = ON for the new unit ... Done.
  Warning: You do not have a battery backup unit for /c1/u0 and the enabled
  write cache (default) may cause data loss in the event of power failure.
  
  $ "$KV_CLI" /c0 add type=raid1 disk=3:4
  Creating new unit on controller /c0 ... Done. The new unit is /c0/u2.
  Setting AutoVerify=ON for the new unit ... Done.
  Setting default Keepwell policy to [balance] for the new unit ... Done.
  Setting default Command Queuing policy for unit /c0/u2 to [on] ... Done.
  Setting write cache = ON for the new unit ... Done.
  
  $ jq '.machine.controllers[0].bbu.ready = false' host.json > ready.json && mv ready.json host.json
  $ "$KV_CLI" /c0 add type=raid1 disk=5:6
  Creating new unit on controller /c0 ... Done. The new unit is /c0/u3.
  Setting AutoVerify=ON for the new unit ... Done.
  Setting default Keepwell policy to [balance] for the new unit ... Done.
  Setting default Command Queuing policy for unit /c0/u3 to [on] ... Done.
  Setting write cache=ON for the new unit ...Failed
  .  BBU is not ready. Use /c0/u3 set cache=ON command 
    to change the write cache policy when the BBU is ready.
  
  $ "$KV_CLI" /c0 add type=raid1 disk=7:8 keepwell=performance
  Creating new unit on controller /c0 ... Done. The new unit is /c0/u4.
  Setting AutoVerify=ON for the new unit ... Done.
  Setting Keepwell policy to [performance] for the new unit ... Done.
  Setting default Command Queuing policy for unit /c0/u4 to [on] ... Done.
  Setting write cache = ON for the new unit ... Done.
  
  $ "$KV_CLI" /c0 show | sed -n 6,8p
  u2    RAID-1    OK             -       -       -       465.762   RiW    ON     
  u3    RAID-1    OK             -       -       -       465.762   Ri     ON     
  u4    RAID-1    OK             -       -       -       465.762   RiW    ON     
  $ log | grep -e Create -e Write
  CLI [Create Unit(controller=1 drives=0 1, type=RAID 1, stripe=n/a, make os aware=yes, unit created=0): Success]
  CLI [Enable Write Cache(controller=1, unit=0): Success]
  CLI [Create Unit(controller=0 drives=3 4, type=RAID 1, stripe=n/a, make os aware=yes, unit created=2): Success]
  CLI [Enable Write Cache(controller=0, unit=2): Success]
  CLI [Create Unit(controller=0 drives=5 6, type=RAID 1, stripe=n/a, make os aware=yes, unit created=3): Success]
  CLI [Create Unit(controller=0 drives=7 8, type=RAID 1, stripe=n/a, make os aware=yes, unit created=4): Success]
  CLI [Enable Write Cache(controller=0, unit=4): Success]

The controller refuses the create command: the open progress line, then
the controller's error; the audit line says Failed.

  $ cp "$FIXTURES/unitcreate/host.json" host.json
  $ jq '.faults = [{"match": {"layer": "firmware", "opcode": "0x14"}, "action": {"status": 1, "code": "0x0114"}}]' host.json > f.json && mv f.json host.json
  $ "$KV_CLI" /c0 add type=raid5 disk=3-5
  Creating new unit on controller /c0 ... (0x03:0x0114): Out of memory
  
  
  [1]
  $ log
  CLI [Create Unit(controller=0 drives=3 4 5, type=RAID 5, stripe=256, make os aware=yes): Failed]
  $ "$KV_CLI" /c0 show | sed -n 4,6p
  u0    RAID-5    OK             -       -       256K    931.523   RiW    OFF    
  u1    SINGLE    OK             -       -       -       465.762   RiW    OFF    
  

A follow-up setting fails: the unit exists and its address was printed,
"Failed." ends the open line, and the settings after it are not made.

  $ jq '.faults = [{"match": {"layer": "firmware", "opcode": "0x13", "table": "0x0302", "parameter": 21}, "action": {"status": 1, "code": "0x0204"}}]' host.json > f.json && mv f.json host.json
  $ "$KV_CLI" /c0 add type=raid5 disk=3-5
  Creating new unit on controller /c0 ... Done. The new unit is /c0/u2.
  Setting AutoVerify=ON for the new unit ... Done.
  Setting default Keepwell policy to [balance] for the new unit ...Failed.
  (0x03:0x0204): Drive timeout
  
  
  [1]
  $ log
  CLI [Create Unit(controller=0 drives=3 4 5, type=RAID 5, stripe=256, make os aware=yes, unit created=2): Success]
  CLI [Enable Auto Verify(controller=0, unit=2): Success]
  CLI [Set Keepwell Mode(controller=0, unit=2, mode=balance): Failed]
  $ "$KV_CLI" /c0 show | sed -n 6p
  u2    RAID-5    OK             -       -       256K    931.523   RiW    ON     

A failing name ends its own line with "Failed." once; the unit stays.

  $ jq '.faults = [{"match": {"layer": "firmware", "opcode": "0x13", "table": "0x0303", "parameter": 17}, "action": {"status": 1, "code": "0x0204"}}]' host.json > f.json && mv f.json host.json
  $ "$KV_CLI" /c0 add type=raid1 disk=6:7 name=Logs
  Creating new unit on controller /c0 ... Done. The new unit is /c0/u3.
  Naming unit /c0/u3 to [Logs] ... Failed.
  (0x03:0x0204): Drive timeout
  
  
  [1]
  $ "$KV_CLI" /c0 show | sed -n 7p
  u3    RAID-1    OK             -       -       -       465.762   RiW    OFF    

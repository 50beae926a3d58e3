The changes made under a controller's management lock (the write and read
cache of a unit, a new unit's cache, the SAF-TE enclosure writes: alarm
audibility and slot, port and unit identify, and the firmware download)
when the lock cannot be released afterwards (the driver's unlock request
fails): the change stands and is reported as done, the release's error
follows on standard error, the command ends with status 1, and the
controller stays locked. The default host: c0 is a family-8 controller at
level 37, c1 a family-6 controller with a SAF-TE backplane e0.

  $ . "$TESTDIR/audit_log.sh"
  $ export KV_EMULATED_HOST="$PWD/host.json"
  $ "$KV_CLI" show > /dev/null
  $ log=ProgramData/Orvo/kv_mgmt.log
  $ failunlock() {
  >   jq --argjson c "$1" '.faults = [{"match": {"layer": "driver", "kind": "unlock", "controller": $c},
  >                                     "action": {"os_error": 31}}]
  >                        | .machine.controllers[].management_lock = false' host.json > f.json
  >   mv f.json host.json
  > }
  $ locked() { jq -c '[.machine.controllers[] | .management_lock // false]' host.json; }

The write cache: the unit's cache is off, the audit line says the change
was made, and the next change meets the held lock.

  $ failunlock 0
  $ "$KV_CLI" /c0/u0 set cache=off quiet; echo "status $?"
  Setting Write Cache Policy on /c0/u0 to [off] ... Done.
  (0x0A:0x001F): A device attached to the system is not functioning.\r (esc)
  
  
  
  status 1
  $ locked; "$KV_CLI" /c0/u0 show wrcache
  [true,false,false]
  /c0/u0 Write Cache = off
  
  $ kv_audit_lines "$log" | tail -n 1
  CLI [Disable Write Cache(controller=0, unit=0): Success]
  $ "$KV_CLI" /c0/u0 set cache=on quiet; echo "status $?"
  Setting Write Cache Policy on /c0/u0 to [on] ... Failed.
  (0x07:0x1002): Already locked
  
  
  status 1

The read cache, the enclosure writes and the identify commands built on
them, each with a fresh lock whose release fails.

  $ for command in "/c0/u0 set rdcache=basic" "/e0/alm0 set alarm=unmute" \
  >                "/e0/slot2 set identify=on" "/c1/p3 set identify=on" "/c1/u0 set identify=off"; do
  >   case $command in /c0*) c=0 ;; *) c=1 ;; esac
  >   failunlock $c; "$KV_CLI" $command 2>&1; echo "status $? locked $(locked)"
  > done
  Setting Read Cache Policy on /c0/u0 to [basic] ... Done.
  (0x0A:0x001F): A device attached to the system is not functioning.\r (esc)
  
  
  
  status 1 locked [true,false,false]
  Setting alarm audibility of /c1/e0/alm0 to [unmute] ... Done.
  (0x0A:0x001F): A device attached to the system is not functioning.\r (esc)
  
  
  
  status 1 locked [false,true,false]
  Setting Slot Identify on /c1/e0/slot2 to [on] ... Done.
  
  (0x0A:0x001F): A device attached to the system is not functioning.\r (esc)
  
  
  
  status 1 locked [false,true,false]
  Setting port Identify on /c1/p3 to [on] ... Done.
  (0x0A:0x001F): A device attached to the system is not functioning.\r (esc)
  
  
  
  status 1 locked [false,true,false]
  Setting unit Identify on /c1/u0 to [off] ... Done.
  (0x0A:0x001F): A device attached to the system is not functioning.\r (esc)
  
  
  
  status 1 locked [false,true,false]
  $ "$KV_CLI" /c0/u0 show rdcache; "$KV_CLI" /e0 show all | grep '^slot'
  /c0/u0 Read Cache = Basic
  
  slot0     OK              /c1/p0        Off           
  slot1     NO-DEVICE       -             Off           
  slot2     OK              /c1/p2        On            
  slot3     OK              /c1/p3        On            
  $ jq -c '.machine.controllers[1].enclosures.list[0].global_flags' host.json
  [1,0,0]

A new unit's write cache: the unit is made and its cache set, and the
create ends there with the release's error.

  $ "$KV_CLI" /c0/u3 del quiet > /dev/null
  $ failunlock 0
  $ "$KV_CLI" /c0 add type=single disk=11 nocache; echo "status $?"
  Creating new unit on controller /c0 ... Done. The new unit is /c0/u3.
  Setting AutoVerify=ON for the new unit ... Done.
  Setting default Keepwell policy to [balance] for the new unit ... Done.
  Setting default Command Queuing policy for unit /c0/u3 to [on] ... Done.
  Setting write cache = OFF for the new unit ... Done.
  (0x0A:0x001F): A device attached to the system is not functioning.\r (esc)
  
  
  
  status 1
  $ locked; "$KV_CLI" /c0/u3 show wrcache
  [true,false,false]
  /c0/u3 Write Cache = off
  

The firmware download (the firmware host: c0 and c2 take the image, c1
does not): the new image is in place. The update of every controller
reports the release on standard output, as it reports any controller's
failure, and goes on with the next one.

  $ cp "$FIXTURES/firmware/host.json" host.json
  $ perl "$FIXTURES/firmware/mkimage.pl" good.img size=20000 srl=30 lowest=25 version="KF62 7.35.00.003"
  $ failunlock 0
  $ "$KV_CLI" /c0 update fw=good.img force; echo "status $?"
  
  Examining compatibility data from firmware image and /c0 ... Done.
  Downloading the firmware from file good.img ... Done. 
  The new image will take effect after reboot.
  (0x0A:0x001F): A device attached to the system is not functioning.\r (esc)
  
  
  
  status 1
  $ locked; "$KV_CLI" /c0 show firmware
  [true,false,false]
  /c0 Firmware Version = KF62 7.35.00.003
  
  $ failunlock 2
  $ "$KV_CLI" update fw=good.img force 2>&1 | grep -v '^$'; locked
  Examining compatibility data from firmware image and /c0 ... Done.
  Downloading the firmware from file good.img ... Done. 
  The new image will take effect after reboot.
  Examining compatibility data from firmware image and /c1 ... Failed.
  (0x0B:0x0068): Incompatible firmware architecture.
  Examining compatibility data from firmware image and /c2 ... Done.
  Downloading the firmware from file good.img ... Done. 
  The new image will take effect after reboot.
  (0x0A:0x001F): A device attached to the system is not functioning.\r (esc)
  [false,false,true]

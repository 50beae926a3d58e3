The rescan of a controller, /cN rescan [noscan], and of every controller,
rescan at the root. c0 (family 8, ports 0-3) holds a RAID-1 on ports 0 and
1; c1 (family 6) has no drives. Each rescan writes its audit line, and one
more line for each unit and drive it found.

  $ cp "$FIXTURES/events/host.json" host.json && export KV_EMULATED_HOST="$PWD/host.json"
  $ log=ProgramData/Orvo/kv_mgmt.log
  $ audit() { sed 's/^.* CLI //' "$log" | tr -d '\r'; rm -f "$log"; }

Nothing new: both lists say none, and the audit line says so.

  $ "$KV_CLI" /c0 rescan
  Rescanning controller /c0 for units and drives ...Done.
  Found the following unit(s): [none].
  Found the following drive(s): [none].
  
  $ audit
  [Rescan Controller(controller=0, make os aware=yes): Success (nothing found)]

Three drives were plugged into c0's empty ports 2 and 3 and c1's port 1;
the drives on c0's ports 2 and 3 carry a RAID-1 of another controller. The
rescan of c0 imports that unit as u1 (u0 is taken) and lists no free
drive; "noscan" leaves Windows out of it. The unit is c0's from now on.

  $ drive() { echo "{\"port\": $1, \"capacity\": 1953525168, \"model\": \"Torvex TX1000-S7\", \"serial\": \"NEW$1\", \"unit_flags\": $2}"; }
  $ jq --argjson a "$(drive 2 1)" --argjson b "$(drive 3 1)" --argjson c "$(drive 1 0)" '
  >   .machine.controllers[0].new_drives = [$a, $b]
  > | .machine.controllers[0].foreign_units = [{"number": 0, "type": "raid1", "members": [2, 3], "name": "moved"}]
  > | .machine.controllers[1].new_drives = [$c]' "$FIXTURES/events/host.json" > host.json
  $ "$KV_CLI" /c0 rescan noscan
  Rescanning controller /c0 for units and drives ...Done.
  Found the following unit(s): [/c0/u1].
  Found the following drive(s): [none].
  
  $ audit
  [Rescan Controller(controller=0, make os aware=no): Success]
  [    Rescan found unit 1 (RAID 1)]
  $ "$KV_CLI" /c0 show | grep '^u'
  u0    RAID-1    REBUILDING     10%     -       -       931.513   RiW    OFF    
  u1    RAID-1    OK             -       -       -       931.513   RiW    OFF    

The root rescan goes through every controller: c0 finds nothing more, c1
finds its new drive (a free drive: no unit came with it).

  $ "$KV_CLI" rescan
  Rescanning controller /c0 for units and drives ...Done.
  Found the following unit(s): [none].
  Found the following drive(s): [none].
  Rescanning controller /c1 for units and drives ...Done.
  Found the following unit(s): [none].
  Found the following drive(s): [/c1/p1].
  
  $ audit
  [Rescan Controller(controller=0, make os aware=yes): Success (nothing found)]
  [Rescan Controller(controller=1, make os aware=yes): Success]
  [    Rescan found drive on port1]

A word other than "noscan" or help raises 32; "help" prints the topic.

  $ "$KV_CLI" /c0 rescan bogus; echo "status $?"
  Error: (CLI:032) Invalid controller command syntax.
  
  
  status 1
  $ "$KV_CLI" /c0 rescan help | grep -c rescan
  1
  $ test -e "$log" || echo "no audit line"
  no audit line

A library failure: c0's controller refuses the import scan of a drive
found on port 2. "Failed." ends the progress line, the controller's
message follows on standard error, and the audit line says Failed.

  $ jq --argjson a "$(drive 2 1)" '.machine.controllers[0].new_drives = [$a] | .faults = [{"match": {"layer": "firmware", "opcode": "0x07"}, "action": {"status": 1, "code": "0x0204"}}]' "$FIXTURES/events/host.json" > host.json
  $ "$KV_CLI" /c0 rescan; echo "status $?"
  Rescanning controller /c0 for units and drives ...Failed.
  (0x03:0x0204): Drive timeout
  
  
  status 1
  $ audit
  [Rescan Controller(controller=0, make os aware=yes): Failed (nothing found)]

Reading the controller's logs is audited too: the diagnostic report reads
the error log and then the controller log, and both lines read the same.

  $ cp "$FIXTURES/events/host.json" host.json
  $ "$KV_CLI" /c0 show diag | tr -d '\000' | grep -c 'Information on Controller\|Controller Log Information'
  2
  $ audit
  [Get Error Log Controller(controller=0): Success]
  [Get Error Log Controller(controller=0): Success]

Automatic drive detection: "set autodetect=on|off" with a port list
("disk=" and numbers joined by ":" and "-", or "all") on the newer-family
controllers. The progress line names the listed ports that are empty and
those that hold a drive; the controller keeps the ports it no longer
watches. c0 (8 ports) has drives on ports 0, 3 and 5; c1 (4 ports, level
33) one on port 1.

  $ cp "$FIXTURES/firmware/host.json" host.json && export KV_EMULATED_HOST="$PWD/host.json"
  $ off() { jq -c ".machine.controllers[$1].auto_detect_off" host.json; }
  $ detects() { grep -c '"opcode":6' requests.jsonl || true; }

Empty ports and drives, each set in ascending order.

  $ "$KV_CLI" /c0 set autodetect=off disk=0-3
  Setting Auto-Detect on /c0 to [off] for port [1,2] and for disk [0,3]... Done.
  
  $ off 0
  [0,1,2,3]
  $ "$KV_CLI" /c0 set autodetect=off disk=6
  Setting Auto-Detect on /c0 to [off] for port [6]... Done.
  
  $ "$KV_CLI" /c0 set autodetect=off disk=5
  Setting Auto-Detect on /c0 to [off] for disk [5]... Done.
  
  $ "$KV_CLI" /c0 set autodetect=on disk=7:1-2:5
  Setting Auto-Detect on /c0 to [on] for port [1,2,7] and for disk [5]... Done.
  
  $ off 0
  [0,3,6]
  $ "$KV_CLI" /c1 set autodetect=off disk=3:0-1
  Setting Auto-Detect on /c1 to [off] for port [0,3] and for disk [1]... Done.
  
  $ off 1
  [0,1,3]

"all" names every port of the controller (any case); several "disk=" words
add to one list, each reporting the list so far.

  $ "$KV_CLI" /c0 set autodetect=off DISK=ALL
  Setting Auto-Detect on /c0 to [off] for all disks/ports... Done.
  
  $ off 0
  [0,1,2,3,4,5,6,7]
  $ "$KV_CLI" /c0 set autodetect=on disk=All
  Setting Auto-Detect on /c0 to [on] for all disks/ports... Done.
  
  $ off 0
  []
  $ "$KV_CLI" /c0 set autodetect=off disk=1 disk=3
  Setting Auto-Detect on /c0 to [off] for port [1]...  for port [1] and for disk [3]... Done.
  
  $ off 0
  [1,3]

Each setting was one port detection request (opcode 6) to its controller.

  $ grep '"opcode":6' requests.jsonl | jq -c '{controller}' | sort | uniq -c | sed 's/^ *//'
  7 {"controller":0}
  1 {"controller":1}

Refusals. No word after the setting is 31 on any controller; a value other
than "on" or "off" is 31 too. In the port list: a repeated port is 8, a
list that is not numbers joined by ":" and "-" is 143, so is a number
above 128, and a port the controller does not have; the library refuses
port 128 itself. A refused list sends nothing and changes nothing; the
progress line ends in "Failed.".

  $ rm requests.jsonl
  $ for w in "autodetect=on" "autodetect=yes disk=1" \
  >          "autodetect=on disk=1:1" "autodetect=on disk=1-3:2" "autodetect=on disk=1 disk=1" \
  >          "autodetect=on disk=1-" "autodetect=on disk=1::2" "autodetect=on disk=a" \
  >          "autodetect=on disk=-1" "autodetect=on disk=" "autodetect=on disk=129" \
  >          "autodetect=on disk=0-100000" "autodetect=on disk=99999999999999999999" \
  >          "autodetect=on disk=8" "autodetect=on disk=128" "autodetect=on disk=1 foo"; do
  >   echo "[$w]"; "$KV_CLI" /c0 set $w 2>&1 | grep -v '^$'
  > done
  [autodetect=on]
  Error: (CLI:031) Invalid controller command.
  [autodetect=yes disk=1]
  Error: (CLI:031) Invalid controller command.
  [autodetect=on disk=1:1]
  Setting Auto-Detect on /c0 to [on] ...Failed.
  Error: (CLI:008) Invalid ID specified.  Found a specified ID already in use.
  [autodetect=on disk=1-3:2]
  Setting Auto-Detect on /c0 to [on] ...Failed.
  Error: (CLI:008) Invalid ID specified.  Found a specified ID already in use.
  [autodetect=on disk=1 disk=1]
  Setting Auto-Detect on /c0 to [on] for port [1]...  ...Failed.
  Error: (CLI:008) Invalid ID specified.  Found a specified ID already in use.
  [autodetect=on disk=1-]
  Setting Auto-Detect on /c0 to [on] ...Failed.
  Error: (CLI:143) Invalid port or drive ID specified.
  [autodetect=on disk=1::2]
  Setting Auto-Detect on /c0 to [on] ...Failed.
  Error: (CLI:143) Invalid port or drive ID specified.
  [autodetect=on disk=a]
  Setting Auto-Detect on /c0 to [on] ...Failed.
  Error: (CLI:143) Invalid port or drive ID specified.
  [autodetect=on disk=-1]
  Setting Auto-Detect on /c0 to [on] ...Failed.
  Error: (CLI:143) Invalid port or drive ID specified.
  [autodetect=on disk=]
  Setting Auto-Detect on /c0 to [on] ...Failed.
  Error: (CLI:143) Invalid port or drive ID specified.
  [autodetect=on disk=129]
  Setting Auto-Detect on /c0 to [on] ...Failed.
  Error: (CLI:143) Invalid port or drive ID specified.
  [autodetect=on disk=0-100000]
  Setting Auto-Detect on /c0 to [on] ...Failed.
  Error: (CLI:143) Invalid port or drive ID specified.
  [autodetect=on disk=99999999999999999999]
  Setting Auto-Detect on /c0 to [on] ...Failed.
  Error: (CLI:143) Invalid port or drive ID specified.
  [autodetect=on disk=8]
  Setting Auto-Detect on /c0 to [on] ...Failed.
  Error: (CLI:143) Invalid port or drive ID specified.
  [autodetect=on disk=128]
  Setting Auto-Detect on /c0 to [on] Failed.
  (0x0B:0x000A): Invalid drive ID
  [autodetect=on disk=1 foo]
  Setting Auto-Detect on /c0 to [on] for port [1]...  ...Failed.
  Error: (CLI:031) Invalid controller command.

The value is compared as it arrives: a command file keeps its capitals.

  $ echo "/c0 set autodetect=ON disk=1" > commands.txt
  $ "$KV_CLI" -f commands.txt 2>&1 | grep -v '^$' | grep -v '^//'
  Error: (CLI:031) Invalid controller command.
  $ test -e requests.jsonl && detects; off 0
  0
  [1,3]

A range whose end is below its start names no port: nothing is listed and
nothing needs asking the controller.

  $ "$KV_CLI" /c0 set autodetect=on disk=3-1
  Setting Auto-Detect on /c0 to [on]Done.
  
  $ test -e requests.jsonl && detects
  0

A controller that refuses: the library's error ends the line.

  $ jq '.faults = [{"match": {"layer": "firmware", "opcode": "0x06"},
  >                 "action": {"status": 1, "code": "0x0204"}}]' host.json > f.json && mv f.json host.json
  $ "$KV_CLI" /c0 set autodetect=on disk=1; echo "status $?"
  Setting Auto-Detect on /c0 to [on] for port [1]... Failed.
  (0x03:0x0204): Drive timeout
  
  
  status 1
  $ off 0
  [1,3]

A port count or a port status that cannot be read fails the setting with
the library's error, and nothing is sent: no port is taken for an empty
one, and "all" does not stand for no port at all.

  $ jq '.faults = [{"match": {"layer": "firmware", "table": 1027, "parameter": 3, "controller": 0},
  >                 "action": {"status": 1, "code": "0x0204"}, "skip": 1}]' host.json > f.json && mv f.json host.json
  $ "$KV_CLI" /c0 set autodetect=on disk=all; echo "status $?"
  Setting Auto-Detect on /c0 to [on] Failed.
  (0x03:0x0204): Drive timeout
  
  
  status 1
  $ jq '.faults = [{"match": {"layer": "firmware", "table": 2, "parameter": 3, "controller": 0},
  >                 "action": {"status": 1, "code": "0x0204"}}]' host.json > f.json && mv f.json host.json
  $ "$KV_CLI" /c0 set autodetect=on disk=1; echo "status $?"
  Setting Auto-Detect on /c0 to [on] Failed.
  (0x03:0x0204): Drive timeout
  
  
  status 1
  $ off 0
  [1,3]

Help lists the setting.

  $ "$KV_CLI" /c0 set help | grep autodetect
    /cx set autodetect=on|off disk=<p:-p>|all                 (Rhosk series)

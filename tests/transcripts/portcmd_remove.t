Setting a port's identify indication and taking a port's drive out of use,
with the audit log lines of both. c0 (family 8) holds a mirror u0 (p0,
p1), a migrating unit u1 (p6, p7), a spare u2 (p5), free drives on p2 and
p4 (p4 and p5 sit in the slots of the SES enclosure behind port 0).

  $ . "$TESTDIR/audit_log.sh"
  $ cp "$FIXTURES/portcmd/host.json" host.json && export KV_EMULATED_HOST="$PWD/host.json"
  $ . "$FIXTURES/ctlattr/faults.sh"
  $ log() { kv_audit_lines; rm -f ProgramData/Orvo/kv_mgmt.log; }

Identify: a drive in an enclosure slot lights the slot and the next show
reads it back; a drive in no slot prints N/A and changes nothing (no audit
line).

  $ "$KV_CLI" /c0/p4 set identify=on
  Setting port Identify on /c0/p4 to [on] ... Done.
  
  $ "$KV_CLI" /c0/p4 show identify
  /c0/p4 Identify Status = on
  
  $ "$KV_CLI" /c0/p2 set identify=on
  Setting port Identify on /c0/p2 to [on] ... N/A
  
  $ "$KV_CLI" /c0/p4 set identify=off
  Setting port Identify on /c0/p4 to [off] ... Done.
  
  $ log
  CLI [Identify Port(controller=0, port=4, enable=yes): Success]
  CLI [Identify Port(controller=0, port=4, enable=no): Success]

A failed identify write ends the line with the library's error.

  $ jq '.machine.controllers[0].enclosures.list[0].fail = ["send_diagnostic"]' host.json > f.json && mv f.json host.json
  $ "$KV_CLI" /c0/p4 set identify=on
  Setting port Identify on /c0/p4 to [on(0x03:0x0204): Drive timeout
  
  
  [1]
  $ "$KV_CLI" /c0/p4 show identify
  /c0/p4 Identify Status = off
  
  $ log
  CLI [Identify Port(controller=0, port=4, enable=yes): Failed]

Removal asks first; "n" keeps the drive; "q" and "quiet" do not ask, and
"export" is "remove".

  $ echo n | "$KV_CLI" /c0/p2 remove
  Removing /c0/p2 will take the disk offline.
  Do you want to continue ? Y|N [N]: The command is aborted.
  
  $ "$KV_CLI" /c0/p2 show | tail -2
  p2    OK             -    931.51 GB SAS   2   -            KV-SAS-1TB          
  
  $ echo y | "$KV_CLI" /c0/p2 remove
  Removing /c0/p2 will take the disk offline.
  Do you want to continue ? Y|N [N]: Removing port /c0/p2 ... Done.
  
  
  $ "$KV_CLI" /c0/p2 show | tail -2
  p2    NOT-PRESENT    -    -         -     -   -            -
  
  $ "$KV_CLI" /c0/p4 export q
  Removing port /c0/p4 ... Done.
  
  
  $ log
  CLI [Remove Drive(controller=0, drive=2): Success]
  CLI [Remove Drive(controller=0, drive=4): Success]

A drive of a migrating unit is refused before any removal request.

  $ "$KV_CLI" /c0/p6 remove quiet
  Removing port /c0/p6 ... Failed.
  Error: (CLI:088) Failed to export a drive which belongs to a migrating unit.
  
  
  [1]
  $ jq -s '[.[] | select(.opcode == 10)] | length' requests.jsonl
  2

A member of the OK mirror may go: the mirror runs degraded on its other
drive. Its last drive may not: the controller's checks refuse it.

  $ "$KV_CLI" /c0/p0 remove quiet
  Removing port /c0/p0 ... Done.
  
  
  $ "$KV_CLI" /c0/u0 show | sed -n 4,7p
  u0       RAID-1    DEGRADED*      -       -       -     -       465.762   
  u0-0     DISK      DEGRADED       -       -       -     -       0         
  u0-1     DISK      OK             -       -       p1    -       465.762   
  u0/v0    Volume    -              -       -       -     -       465.762   
  $ "$KV_CLI" /c0/p1 remove quiet
  Removing port /c0/p1 ... Failed.
  (0x0B:0x0030): Remove operation invalid for unit
  
  
  [1]
  $ log
  CLI [Remove Drive(controller=0, drive=0): Success]
  CLI [Remove Drive(controller=0, drive=1): Failed]

An empty port has no drive to remove; a controller refusal ends the
removal with "Failed." and its text, and the drive stays.

  $ "$KV_CLI" /c0/p3 remove quiet
  Removing port /c0/p3 ... Failed.
  (0x0B:0x002E): Port empty
  
  
  [1]
  $ jq '.faults = [{"match": {"layer": "firmware", "opcode": 10}, "action": {"status": 1, "code": "0x0204"}}]' host.json > f.json && mv f.json host.json
  $ "$KV_CLI" /c1/p0 remove quiet
  Removing port /c1/p0 ... Failed.
  (0x03:0x0204): Drive timeout
  
  
  [1]
  $ "$KV_CLI" /c1/p0 show status
  /c1/p0 Status = OK
  
  $ log
  CLI [Remove Drive(controller=0, drive=3): Failed]
  CLI [Remove Drive(controller=1, drive=0): Failed]

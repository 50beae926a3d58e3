The write-cache flush of a controller's units, against one newer-family
controller (family 6) with a RAID-5 (u0), a degraded RAID-1 (u1), a
verifying RAID-1 (u2), a spare (u3), an inoperable RAID-0 (u4) and a
single disk (u5).

  $ . "$TESTDIR/audit_log.sh"
  $ cp "$FIXTURES/unitmaint/host.json" host.json && export KV_EMULATED_HOST="$PWD/host.json"
  $ log=ProgramData/Orvo/kv_mgmt.log
  $ lines() { kv_audit_lines "$log"; }
  $ flushes() { grep '"opcode":14,' requests.jsonl | grep -o '"result":"[a-z_]*"'; }

No word flushes every unit but the spare, in name order; the inoperable
unit's failure is reported on standard output and the walk goes on. Each
flush is one firmware command and one audit line.

  $ "$KV_CLI" /c0 flush; echo "status $?"
  Flushing write-cache on unit /c0/u0 ...Done.
  Flushing write-cache on unit /c0/u1 ...Done.
  Flushing write-cache on unit /c0/u2 ...Done.
  Flushing write-cache on unit /c0/u4 ...Failed.
  (0x03:0x0128): Unit offline
  
  Flushing write-cache on unit /c0/u5 ...Done.
  
  status 0
  $ flushes
  "result":"ok"
  "result":"ok"
  "result":"ok"
  "result":"firmware_error"
  "result":"ok"
  $ lines
  CLI [Flush Write Cache(controller=0, unit=0): Success]
  CLI [Flush Write Cache(controller=0, unit=1): Success]
  CLI [Flush Write Cache(controller=0, unit=2): Success]
  CLI [Flush Write Cache(controller=0, unit=4): Failed]
  CLI [Flush Write Cache(controller=0, unit=5): Success]

Unit lists: every word is checked first, then each named unit is flushed
once, in name order.

  $ rm "$log"
  $ "$KV_CLI" /c0 flush u2:0:2 u0
  Flushing write-cache on unit /c0/u0 ...Done.
  Flushing write-cache on unit /c0/u2 ...Done.
  
  $ lines
  CLI [Flush Write Cache(controller=0, unit=0): Success]
  CLI [Flush Write Cache(controller=0, unit=2): Success]

A word that is not a unit list flushes nothing.

  $ rm requests.jsonl
  $ "$KV_CLI" /c0 flush u1 x1; echo "status $?"
  Error: (CLI:016) Invalid argument in maint command.
  
  
  status 1
  $ "$KV_CLI" /c0 flush u1:a; echo "status $?"
  Error: (CLI:016) Invalid argument in maint command.
  
  
  status 1
  $ "$KV_CLI" /c0 flush u; echo "status $?"
  Error: (CLI:006) Specified unit does not exist.
  
  
  status 0
  $ grep -c '"opcode":14,' requests.jsonl
  0
  [1]

A unit that does not exist is reported and the others are still flushed;
a spare named in the list answers that it has nothing to flush.

  $ "$KV_CLI" /c0 flush u9:1:3; echo "status $?"
  Flushing write-cache on unit /c0/u1 ...Done.
  Flushing write-cache on unit /c0/u3 ...Failed.
  Error: (CLI:025) Invalid operation(s) for the specified unit.
  
  Error: (CLI:006) Specified unit does not exist.
  
  
  status 0

The old-style "maint flush" and the root "flush" reach the same walk.

  $ "$KV_CLI" maint flush c0 u5
  Flushing write-cache on unit /c0/u5 ...Done.
  
  $ "$KV_CLI" flush | head -3
  Flushing write-cache on unit /c0/u0 ...Done.
  Flushing write-cache on unit /c0/u1 ...Done.
  Flushing write-cache on unit /c0/u2 ...Done.

A controller error answers the flush of one unit; the walk goes on.

  $ jq '.faults = [{"match": {"layer": "firmware", "opcode": 14}, "action": {"status": 1, "code": "0x0204"}}]' host.json > faulty.json && mv faulty.json host.json
  $ "$KV_CLI" /c0 flush u0:1
  Flushing write-cache on unit /c0/u0 ...Failed.
  (0x03:0x0204): Drive timeout
  
  Flushing write-cache on unit /c0/u1 ...Done.
  

Name order is the order of the names as text: with units 1, 2 and 10
(and the spare u3) the walk goes u1, u10, u2, while the unit table lists
them by number.

  $ cp "$FIXTURES/unitmaint/numbered.json" host.json
  $ "$KV_CLI" /c0 flush
  Flushing write-cache on unit /c0/u1 ...Done.
  Flushing write-cache on unit /c0/u10 ...Done.
  Flushing write-cache on unit /c0/u2 ...Done.
  
  $ "$KV_CLI" /c0 show | sed -n '4,7p' | cut -c1-30
  u1    SINGLE    OK            
  u2    SINGLE    OK            
  u3    SPARE     OK            
  u10   SINGLE    OK            

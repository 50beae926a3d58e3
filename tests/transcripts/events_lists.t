The controller's event list, /cN show alarms|aens|events [reverse], on a
small host: c0 (family 8) holds nine events of every severity, among them
a debug event and a time synchronisation (code 49), which are never
listed, an event of an unknown severity, one without a description (the
library's text for its code stands in) and one with no text at all; c1
(family 6) has an empty event queue. Times print as local time (GMT here).

  $ cp "$FIXTURES/events/host.json" host.json && export KV_EMULATED_HOST="$PWD/host.json"

Oldest first, then newest first: the same rows in the opposite order.

  $ "$KV_CLI" /c0 show alarms
  
  Ctl  Date                        Severity  AEN Message
  ------------------------------------------------------------------------------
  c0   [Mon Nov 02 2026 10:01:00]  INFO      Initialize started: unit=0
  c0   [Mon Nov 02 2026 11:00:00]  WARNING   Drive removed: port=1
  c0   [Mon Nov 02 2026 11:01:00]  ERROR     Degraded unit: unit=0, port=1
  c0   [Mon Nov 02 2026 12:00:00]  INFO      (0x04:0x001A): Drive inserted: port=1
  c0   [Mon Nov 02 2026 12:01:00]  UNKNOWN   Vendor event
  c0   [Mon Nov 02 2026 12:01:40]  INFO      
  c0   [Tue Nov 03 2026 10:00:00]  INFO      Rebuild started: unit=0
  
  $ "$KV_CLI" /c0 show alarms reverse
  
  Ctl  Date                        Severity  AEN Message
  ------------------------------------------------------------------------------
  c0   [Tue Nov 03 2026 10:00:00]  INFO      Rebuild started: unit=0
  c0   [Mon Nov 02 2026 12:01:40]  INFO      
  c0   [Mon Nov 02 2026 12:01:00]  UNKNOWN   Vendor event
  c0   [Mon Nov 02 2026 12:00:00]  INFO      (0x04:0x001A): Drive inserted: port=1
  c0   [Mon Nov 02 2026 11:01:00]  ERROR     Degraded unit: unit=0, port=1
  c0   [Mon Nov 02 2026 11:00:00]  WARNING   Drive removed: port=1
  c0   [Mon Nov 02 2026 10:01:00]  INFO      Initialize started: unit=0
  

"aens" and "events" are the same view; words after "reverse" are not
read. The walk asked the controller for every event, the hidden ones too:
first, then next for each of the nine ids.

  $ "$KV_CLI" /c0 show alarms > alarms.txt
  $ "$KV_CLI" /c0 show aens | diff - alarms.txt && "$KV_CLI" /c0 show events | diff - alarms.txt && echo same
  same
  $ "$KV_CLI" /c0 show alarms reverse > reverse.txt
  $ "$KV_CLI" /c0 show events reverse anything | diff - reverse.txt && echo same
  same
  $ rm requests.jsonl; "$KV_CLI" /c0 show alarms > /dev/null
  $ jq -r 'select(.op == "request") | .kind' requests.jsonl | grep event | sort | uniq -c | sed 's/^ *//'
  1 event_first
  9 event_next

An empty queue prints the header alone; the root command lists every
controller in turn.

  $ "$KV_CLI" /c1 show alarms
  
  Ctl  Date                        Severity  AEN Message
  ------------------------------------------------------------------------------
  
  $ "$KV_CLI" show alarms | grep -c '^c0 '
  7
  $ "$KV_CLI" show alarms | grep -c '^Ctl '
  2

Any other word after the list word raises 31 before the controller is
asked.

  $ rm requests.jsonl; "$KV_CLI" /c0 show alarms bogus; echo "status $?"
  Error: (CLI:031) Invalid controller command.
  
  
  status 1
  $ test -e requests.jsonl && jq -r 'select(.op == "request") | .kind' requests.jsonl | grep -c event
  0
  [1]

A failed read ends the list with the library's error; the rows printed
before it stay printed. Here the driver refuses the third "next" request.

  $ jq '.faults = [{"match": {"layer": "driver", "kind": "event_next"}, "action": {"return_code": "0x8002"}, "skip": 2}]' "$FIXTURES/events/host.json" > host.json
  $ "$KV_CLI" /c0 show alarms; echo "status $?"
  
  Ctl  Date                        Severity  AEN Message
  ------------------------------------------------------------------------------
  c0   [Mon Nov 02 2026 10:01:00]  INFO      Initialize started: unit=0
  c0   [Mon Nov 02 2026 11:00:00]  WARNING   Drive removed: port=1
  (0x07:0x8002): insufficient length parameter
  
  
  status 1

The built-in default host (made when the host file is missing) gives its
newer controllers a few events each; c1's list, newest first.

  $ export KV_EMULATED_HOST="$PWD/fresh.json"
  $ "$KV_CLI" /c1 show alarms reverse 2>/dev/null
  
  Ctl  Date                        Severity  AEN Message
  ------------------------------------------------------------------------------
  c1   [Tue Nov 03 2026 11:00:00]  INFO      Verify started: unit=1
  c1   [Mon Nov 02 2026 12:01:00]  ERROR     Degraded unit: unit=0, port=1
  c1   [Mon Nov 02 2026 12:00:00]  WARNING   Drive removed: port=1
  

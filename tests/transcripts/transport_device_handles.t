The request log of the emulated host shows every device the tool opens
closed again, and every request sent on a device that is open at that
moment, over whole commands (whether they succeed or not): listings,
settings, a refused request and a controller that fails in the middle of
a command.

  $ cp "$FIXTURES/hosts/battery.json" host.json && export KV_EMULATED_HOST="$PWD/host.json"
  $ check() {
  >   python3 -c '
  > import json, sys
  > held = set(); bad = 0; requests = 0
  > for n, line in enumerate(open("requests.jsonl"), 1):
  >     r = json.loads(line)
  >     op, h = r.get("op"), r.get("handle")
  >     if op == "open" and r.get("result") == "ok": held.add(h)
  >     elif op == "close": held.discard(h)
  >     elif op == "request":
  >         requests += 1
  >         if h not in held: bad += 1; print("request outside an open device, line", n)
  > print("requests", "sent" if requests else "none", "| devices left open:", len(held), "| stray requests:", bad)
  > '
  > }

  $ "$KV_CLI" show > /dev/null || :
  $ "$KV_CLI" /c0 show all > /dev/null 2>&1 || :
  $ "$KV_CLI" /c0/bbu show all > /dev/null 2>&1 || :
  $ "$KV_CLI" /c0/bbu disable quiet > /dev/null
  $ check
  requests sent | devices left open: 0 | stray requests: 0

An open refused by the machine (here the slot query of the discovery,
after which the controllers keep their discovery order) and a firmware
error in the middle of a command: each device opened is closed all the
same, and the next run, with both faults spent, succeeds.

  $ rm requests.jsonl
  $ sed -i 's/"faults": \[\]/"faults": [ { "match": { "layer": "firmware", "opcode": "0x13" }, "action": { "status": 1, "code": "0x0204" }, "count": 1 }, { "match": { "layer": "os", "kind": "open", "controller": 0 }, "action": { "os_error": 5 }, "count": 1 } ]/' host.json
  $ "$KV_CLI" /c0/bbu enable > /dev/null 2>&1; echo "status $?"
  status 1
  $ "$KV_CLI" /c0/bbu enable > /dev/null 2>&1; echo "status $?"
  status 0
  $ grep -c '"result":"os_error"' requests.jsonl
  1
  $ grep -c '"result":"firmware_error"' requests.jsonl
  1
  $ check
  requests sent | devices left open: 0 | stray requests: 0

A rule can let matching requests pass before it fires: with "skip": 1 the
first battery write goes through and the second, in the next run, fails.
The skip counts down in the host file between the runs.

  $ python3 -c '
  > import json
  > host = json.load(open("host.json"))
  > host["faults"] = [{"match": {"layer": "firmware", "opcode": "0x13"},
  >                    "action": {"status": 1, "code": "0x0204"}, "skip": 1}]
  > json.dump(host, open("host.json", "w"))
  > '
  $ "$KV_CLI" /c0/bbu disable quiet > /dev/null; echo "status $?"
  status 0
  $ grep -o '"skip": [0-9]*' host.json
  "skip": 0
  $ "$KV_CLI" /c0/bbu enable; echo "status $?"
  Sending enable BBU message to /c0/bbu ... (0x03:0x0204): Drive timeout
  
  
  status 1
  $ check
  requests sent | devices left open: 0 | stray requests: 0

Fault rules in the host file make requests fail the way the machine would.
A controller whose serial-number probe fails gets no number: the next one
moves up, and the rule's firings are kept in the host file.

  $ cp "$FIXTURES/integration/newer_pair.json" host.json && export KV_EMULATED_HOST="$PWD/host.json"
  $ sed -i 's/"faults": \[\]/"faults": [ { "match": { "layer": "firmware", "opcode": "0x12", "table": "0x0402", "parameter": 9, "controller": 1 }, "action": { "status": 1, "code": "0x0204" }, "count": "always" } ]/' host.json
  $ "$KV_CLI" /c1 show
  Error: (CLI:003) Specified controller does not exist.
  
  
  [1]
  $ grep '"parameter":9' requests.jsonl | head -2 | grep -o '"controller":[0-9]*\|"result":"[a-z_]*"'
  "controller":1
  "result":"firmware_error"
  "controller":0
  "result":"ok"
  $ grep -q '"fired": [1-9]' host.json && echo fired
  fired

A rule that has fired its count is spent and stays in the file with count 0.

  $ cp "$FIXTURES/integration/newer_pair.json" host.json && rm requests.jsonl
  $ sed -i 's/"faults": \[\]/"faults": [ { "match": { "layer": "os", "kind": "open", "controller": 0 }, "action": { "os_error": 5 }, "count": 1 } ]/' host.json
  $ "$KV_CLI" cf //kvhost
  
  $ grep -o '"count": [0-9]*' host.json
  "count": 0
  $ grep '"op":"open"' requests.jsonl | grep '"error":5' | grep -c '"result":"os_error"'
  1

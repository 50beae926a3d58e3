A host file that names a request log gets one JSON line for every open,
request and close that reaches the emulated controllers; without it no log
is written.

  $ cp "$FIXTURES/integration/newer_pair.json" host.json && export KV_EMULATED_HOST="$PWD/host.json"
  $ "$KV_CLI" cf //kvhost
  
  $ test -s requests.jsonl && echo written
  written

Every device the command opened was closed again.

  $ opens=$(grep -c '"op":"open"' requests.jsonl); closes=$(grep -c '"op":"close"' requests.jsonl)
  $ test "$opens" -gt 0 && test "$opens" -eq "$closes" && echo balanced
  balanced

Discovery asks each driver for its PCI slot and then probes the
controllers' serial numbers in slot order: the controller listed second
sits in slot 1 and is probed first.

  $ grep '"kind":"driver_info"' requests.jsonl | head -2 | grep -o '"controller":[0-9]*'
  "controller":0
  "controller":1
  $ grep '"parameter":9' requests.jsonl | head -2 | grep -o '"controller":[0-9]*'
  "controller":1
  "controller":0

The plain host names no request log.

  $ mkdir plain && cp "$FIXTURES/hosts/plain.json" plain/host.json
  $ KV_EMULATED_HOST="$PWD/plain/host.json" "$KV_CLI" cf //kvhost
  
  $ ls plain
  ProgramData
  host.json
  host.json.lock

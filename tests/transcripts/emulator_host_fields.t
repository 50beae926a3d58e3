A host file with a field of the wrong type or out of range stops every
command, help included, with one line that names the file and the field,
and status 1; the file stays as it was.

  $ export KV_EMULATED_HOST="$PWD/host.json"
  $ run() {
  >   cp host.json before.json
  >   "$KV_CLI" "$@" > out.txt 2> err.txt; echo "status $?"
  >   sed 's|^.*host\.json:|host.json:|' err.txt; cat out.txt
  >   cmp -s host.json before.json && echo untouched
  > }
  $ "$KV_CLI" help > /dev/null && mv host.json default.json
  $ spoil() { jq "$1" default.json > host.json; }

  $ spoil '.machine.controllers[0].units[1].type = 5'
  $ run help
  status 1
  host.json: machine.controllers[0].units[1].type: expected a text
  untouched
  $ run show
  status 1
  host.json: machine.controllers[0].units[1].type: expected a text
  untouched

Out of range: a port past 127, a status past 255, a negative size.

  $ spoil '.machine.controllers[0].drives[0].port = 128'
  $ run /c0 show
  status 1
  host.json: machine.controllers[0].drives[0].port: 128 is out of range (0 to 127)
  untouched
  $ spoil '.machine.controllers[0].drives[2].status = 300'
  $ run /c0/p2 show
  status 1
  host.json: machine.controllers[0].drives[2].status: 300 is out of range (0 to 255)
  untouched
  $ spoil '.machine.controllers[0].units[0].capacity = -1'
  $ run /c0/u0 show
  status 1
  host.json: machine.controllers[0].units[0].capacity: -1 is out of range (0 to 18446744073709551615)
  untouched

Nested lists: a unit's members, an enclosure's elements, a fault rule.

  $ spoil '.machine.controllers[0].units[0].members[1] = "5"'
  $ run /c0 show
  status 1
  host.json: machine.controllers[0].units[0].members[1]: expected a whole number or null
  untouched
  $ spoil '.machine.controllers[0].enclosures.list[0].fans[1].speed = 9'
  $ run /c0/e0 show
  status 1
  host.json: machine.controllers[0].enclosures.list[0].fans[1].speed: 9 is out of range (0 to 7)
  untouched
  $ spoil '.faults = [{"match": {"layer": "firmware", "opcode": "zero"}, "action": {"code": "0x0204"}}]'
  $ run
  status 1
  host.json: faults[0].match.opcode: expected a whole number or a "0x..." text
  untouched

A file that is not JSON at all names the place where it stops being JSON.

  $ printf '{"format": 1,\n "machine": {"controllers": [}\n' > host.json
  $ run -f /dev/null
  status 1
  host.json: not valid JSON at line 2, column 30
  untouched

A number too large for any number type is named at its place too.

  $ printf '{"format": 1,\n "size": 2e2000}\n' > host.json
  $ run -f /dev/null
  status 1
  host.json: not valid JSON at line 2, column 10 (a number too large)
  untouched

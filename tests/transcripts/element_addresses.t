Addresses of enclosure elements, against enclosures that exist. c0
(family 8) has two enclosures of its own: /c0/e0 with two slots, two fans
and one temperature sensor, power supply, alarm and door each, and /c0/e10
with two slots and one fan. c1 (family 7) has one enclosure directly
below the host, /e0, with one element of each kind. Each address alone (no
command word) reaches the element it names, whose own syntax error tells
which kind it is: 120 slot, 122 fan, 126 temperature sensor, 128 power
supply, 124 alarm, 118 door, 115 the enclosure itself.

  $ cp "$FIXTURES/elements/addresses.json" host.json && export KV_EMULATED_HOST="$PWD/host.json"
  $ . "$TESTDIR/batch.sh"
  $ first_line() { printf '%-40s' "$1"; head -1; }
  $ probe() { kv_each first_line "$@"; }

Every element kind below a controller's enclosure and below a host-level
enclosure. Doors are named "edr"; "door" selects them as well.

  $ probe /c0/e0 /c0/e0/slot1 /c0/e0/fan1 /c0/e0/temp0 /c0/e0/pwrs0 /c0/e0/alm0 /c0/e0/edr0 /c0/e0/door0
  /c0/e0                                  Error: (CLI:115) Invalid enclosure command syntax.
  /c0/e0/slot1                            Error: (CLI:120) Invalid slot command syntax.
  /c0/e0/fan1                             Error: (CLI:122) Invalid fan command syntax.
  /c0/e0/temp0                            Error: (CLI:126) Invalid temperature sensor command syntax.
  /c0/e0/pwrs0                            Error: (CLI:128) Invalid power supply command syntax.
  /c0/e0/alm0                             Error: (CLI:124) Invalid alarm command syntax.
  /c0/e0/edr0                             Error: (CLI:118) Invalid door command syntax.
  /c0/e0/door0                            Error: (CLI:118) Invalid door command syntax.
  $ probe /e0 /e0/slot1 /e0/fan0 /e0/temp0 /e0/pwrs0 /e0/alm0 /e0/edr0 /e0/door0
  /e0                                     Error: (CLI:115) Invalid enclosure command syntax.
  /e0/slot1                               Error: (CLI:120) Invalid slot command syntax.
  /e0/fan0                                Error: (CLI:122) Invalid fan command syntax.
  /e0/temp0                               Error: (CLI:126) Invalid temperature sensor command syntax.
  /e0/pwrs0                               Error: (CLI:128) Invalid power supply command syntax.
  /e0/alm0                                Error: (CLI:124) Invalid alarm command syntax.
  /e0/edr0                                Error: (CLI:118) Invalid door command syntax.
  /e0/door0                               Error: (CLI:118) Invalid door command syntax.

An element that the enclosure does not have: each lookup raises its own
code (113 slot, 114 fan, 127 temperature sensor, 129 power supply, 111
alarm and door). Below a controller's enclosure a part with "slt" goes to
the slot lookup, which knows only the "slot" names; below a host-level
enclosure "slt" is no element word. A missing enclosure ends at 112
before any element is looked up; c1's enclosure stands below the host,
so /c1/e0 does not exist.

  $ probe /c0/e0/slot2 /c0/e0/fan2 /c0/e0/temp1 /c0/e0/pwrs1 /c0/e0/alm1 /c0/e0/edr1 /c0/e0/door1 /c0/e0/slt1
  /c0/e0/slot2                            Error: (CLI:113) Specified enclosure slot does not exist.
  /c0/e0/fan2                             Error: (CLI:114) Specified enclosure fan does not exist.
  /c0/e0/temp1                            Error: (CLI:127) Specified enclosure temperature sensor does not exist.
  /c0/e0/pwrs1                            Error: (CLI:129) Specified enclosure power supply does not exist.
  /c0/e0/alm1                             Error: (CLI:111) Device not found.
  /c0/e0/edr1                             Error: (CLI:111) Device not found.
  /c0/e0/door1                            Error: (CLI:111) Device not found.
  /c0/e0/slt1                             Error: (CLI:113) Specified enclosure slot does not exist.
  $ probe /c0/e10/temp0 /c0/e10/pwrs0 /c0/e10/alm0 /c0/e10/edr0
  /c0/e10/temp0                           Error: (CLI:127) Specified enclosure temperature sensor does not exist.
  /c0/e10/pwrs0                           Error: (CLI:129) Specified enclosure power supply does not exist.
  /c0/e10/alm0                            Error: (CLI:111) Device not found.
  /c0/e10/edr0                            Error: (CLI:111) Device not found.
  $ probe /e0/slot2 /e0/fan1 /e0/temp1 /e0/pwrs1 /e0/alm1 /e0/edr1 /e0/door1 /e0/slt0
  /e0/slot2                               Error: (CLI:113) Specified enclosure slot does not exist.
  /e0/fan1                                Error: (CLI:114) Specified enclosure fan does not exist.
  /e0/temp1                               Error: (CLI:127) Specified enclosure temperature sensor does not exist.
  /e0/pwrs1                               Error: (CLI:129) Specified enclosure power supply does not exist.
  /e0/alm1                                Error: (CLI:111) Device not found.
  /e0/edr1                                Error: (CLI:111) Device not found.
  /e0/door1                               Error: (CLI:111) Device not found.
  /e0/slt0                                Error: (CLI:002) Syntax Error.
  $ probe /c0/e1/fan0 /e1/fan0 /c1/e0/fan0 /c9/e0/fan9
  /c0/e1/fan0                             Error: (CLI:112) Specified enclosure does not exist.
  /e1/fan0                                Error: (CLI:112) Specified enclosure does not exist.
  /c1/e0/fan0                             Error: (CLI:112) Specified enclosure does not exist.
  /c9/e0/fan9                             Error: (CLI:003) Specified controller does not exist.

Malformed element parts: a part with none of the element words, a part
after an element, and a part with two words (the first in the order of
tests wins: "slot" before "fan").

  $ probe /c0/e0/foo0 /e0/foo0 /e0/fan0/x /c0/e0/fan0/x /c0/e10/fan0/slot0 /e0/slotfan0
  /c0/e0/foo0                             Error: (CLI:002) Syntax Error.
  /e0/foo0                                Error: (CLI:002) Syntax Error.
  /e0/fan0/x                              Error: (CLI:002) Syntax Error.
  /c0/e0/fan0/x                           Error: (CLI:002) Syntax Error.
  /c0/e10/fan0/slot0                      Error: (CLI:002) Syntax Error.
  /e0/slotfan0                            Error: (CLI:113) Specified enclosure slot does not exist.

With the host in front, in its short or full form and any case, and with
two-digit enclosure numbers, an element address is read by its parts like
any other; its place in the line does not matter.

  $ probe //kvhost/c0/e0/slot1 //KVHOST.LAB.EXAMPLE/c0/e10/fan0 //kvhost.lab.example/c0/e10/slt1 //kvhost/c0/e10/fan1 //kvhost.lab.example/e0/door0 //kvhost/e0/alm0 //kvhost/e0/pwrs9 //other/c0/e0/fan0
  //kvhost/c0/e0/slot1                    Error: (CLI:120) Invalid slot command syntax.
  //KVHOST.LAB.EXAMPLE/c0/e10/fan0        Error: (CLI:122) Invalid fan command syntax.
  //kvhost.lab.example/c0/e10/slt1        Error: (CLI:113) Specified enclosure slot does not exist.
  //kvhost/c0/e10/fan1                    Error: (CLI:114) Specified enclosure fan does not exist.
  //kvhost.lab.example/e0/door0           Error: (CLI:118) Invalid door command syntax.
  //kvhost/e0/alm0                        Error: (CLI:124) Invalid alarm command syntax.
  //kvhost/e0/pwrs9                       Error: (CLI:129) Specified enclosure power supply does not exist.
  //other/c0/e0/fan0                      Error: (CLI:054) Remote services are not supported with this software.

The focus moves into an enclosure and an element and back; element
addresses relative to the focus ("./") resolve like absolute ones, and a
refused target leaves the focus where it was.

  $ printf 'cf c0\ncf e0\n./slot1\n./fan9\ncf fan1\nbogus\ncf ..\ncf door0\ncf ..\ncf slt0\ncf ..\ncf ..\ncf e0\n./temp0\ncf alm0\ncf /c0/e10\ncf slt1\ncf ./x\ncf //kvhost.lab.example/c0/e0/edr0\n./x\ncf ..\n./pwrs0\ncf /e1\ncf /e0/edr0\ncf /\n' | "$KV_CLI" 2>&1
  //kvhost> 
  //kvhost/c0> 
  //kvhost/c0/e0> Error: (CLI:120) Invalid slot command syntax.
  
  //kvhost/c0/e0> Error: (CLI:114) Specified enclosure fan does not exist.
  
  //kvhost/c0/e0> 
  //kvhost/c0/e0/fan1> Error: (CLI:123) Invalid fan command.
  
  //kvhost/c0/e0/fan1> 
  //kvhost/c0/e0> 
  //kvhost/c0/e0/door0> 
  //kvhost/c0/e0> Error: (CLI:113) Specified enclosure slot does not exist.
  
  //kvhost/c0/e0> 
  //kvhost/c0> 
  //kvhost> 
  //kvhost/e0> Error: (CLI:126) Invalid temperature sensor command syntax.
  
  //kvhost/e0> 
  //kvhost/e0/alm0> 
  //kvhost/c0/e10> Error: (CLI:113) Specified enclosure slot does not exist.
  
  //kvhost/c0/e10> Error: (CLI:002) Syntax Error.
  
  //kvhost/c0/e10> 
  //kvhost.lab.example/c0/e0/edr0> Error: (CLI:002) Syntax Error.
  
  //kvhost.lab.example/c0/e0/edr0> 
  //kvhost.lab.example/c0/e0> Error: (CLI:128) Invalid power supply command syntax.
  
  //kvhost.lab.example/c0/e0> Error: (CLI:112) Specified enclosure does not exist.
  
  //kvhost.lab.example/c0/e0> 
  //kvhost.lab.example/e0/edr0> 
  //kvhost.lab.example>  (no-eol)

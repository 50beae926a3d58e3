Object addresses against two newer-family controllers: c0 (family 8, no
units) and c1 (family 6: units u0 and u10, ports p0 to p3). Each address
alone (no command word) reaches the object it names, whose own syntax
error tells which object that is: 32 controller, 39 unit, 36 port, 52
battery backup unit, 43 the root.

  $ cp "$FIXTURES/controllers/two_newer.json" host.json && export KV_EMULATED_HOST="$PWD/host.json"
  $ . "$TESTDIR/batch.sh"
  $ first_line() { printf '%-36s' "$1"; head -1; }
  $ probe() { kv_each first_line "$@"; }

Absolute forms, with the host in front in its short and its full form, in
any case.

  $ probe /c1 /c1/u0 /c1/u10 /c1/p3 /c1/bbu /c0/bbu //kvhost
  /c1                                 Error: (CLI:032) Invalid controller command syntax.
  /c1/u0                              Error: (CLI:039) Invalid unit command syntax.
  /c1/u10                             Error: (CLI:039) Invalid unit command syntax.
  /c1/p3                              Error: (CLI:036) Invalid port command syntax.
  /c1/bbu                             Error: (CLI:052) Invalid BBU command syntax.
  /c0/bbu                             Error: (CLI:052) Invalid BBU command syntax.
  //kvhost                            Error: (CLI:043) Invalid shell command syntax.
  $ probe //kvhost/c1/u0 //KVHOST/c1/p0 //kvhost.lab.example/c1 //KvHost.Lab.Example/c1/bbu //kvhost.lab.example/
  //kvhost/c1/u0                      Error: (CLI:039) Invalid unit command syntax.
  //KVHOST/c1/p0                      Error: (CLI:036) Invalid port command syntax.
  //kvhost.lab.example/c1             Error: (CLI:032) Invalid controller command syntax.
  //KvHost.Lab.Example/c1/bbu         Error: (CLI:052) Invalid BBU command syntax.
  //kvhost.lab.example/               Error: (CLI:043) Invalid shell command syntax.

The command word after the address goes to the object found.

  $ "$KV_CLI" //kvhost/c1/u0 bogus; echo "status $?"
  Error: (CLI:038) Invalid unit command.
  
  
  status 1

Malformed addresses and foreign hosts.

  $ probe / // /// //other //other/c1 /x0 /kvhost/c1 /c1/x1 /c1/bbux /c1/u0/extra /c1/p0/x /c1/bbu/x /c9/u0/x
  /                                   Error: (CLI:043) Invalid shell command syntax.
  //                                  Error: (CLI:043) Invalid shell command syntax.
  ///                                 Error: (CLI:043) Invalid shell command syntax.
  //other                             Error: (CLI:054) Remote services are not supported with this software.
  //other/c1                          Error: (CLI:054) Remote services are not supported with this software.
  /x0                                 Error: (CLI:002) Syntax Error.
  /kvhost/c1                          Error: (CLI:002) Syntax Error.
  /c1/x1                              Error: (CLI:002) Syntax Error.
  /c1/bbux                            Error: (CLI:002) Syntax Error.
  /c1/u0/extra                        Error: (CLI:002) Syntax Error.
  /c1/p0/x                            Error: (CLI:002) Syntax Error.
  /c1/bbu/x                           Error: (CLI:002) Syntax Error.
  /c9/u0/x                            Error: (CLI:002) Syntax Error.

Names that do not exist: each lookup raises its own code, the controller
first. c1 has no phys; c0's phy0 exists and, with no command word, gives
its own code. Neither controller of this host has enclosures, so here
every enclosure address ends at 112 before an element is looked up;
element_addresses.t reaches every element lookup and its code
on a host with enclosures.

  $ probe /c9 /c9/u0 /c1/u6 /c1/u00 /c1/p9 /c1/phy0 /c0/phy0 /c1/e0 /e0
  /c9                                 Error: (CLI:003) Specified controller does not exist.
  /c9/u0                              Error: (CLI:003) Specified controller does not exist.
  /c1/u6                              Error: (CLI:006) Specified unit does not exist.
  /c1/u00                             Error: (CLI:006) Specified unit does not exist.
  /c1/p9                              Error: (CLI:009) Invalid port specified.
  /c1/phy0                            Error: (CLI:136) Invalid phy specified.
  /c0/phy0                            Error: (CLI:137) Invalid phy command.
  /c1/e0                              Error: (CLI:112) Specified enclosure does not exist.
  /e0                                 Error: (CLI:112) Specified enclosure does not exist.

Element parts are read by their words wherever they stand: "edr" names a
door, "slt" a slot below a controller's enclosure, and a long address
with the full host name is read like a short one (it reaches the
enclosure lookup, not a syntax error). On this host each of them ends at
the controller or enclosure lookup.

  $ probe /e0/fan1 /e0/edr0 /e0/door0 /c0/e0/slt2 /c0/e0/edr1 /c12/e10/slot1 //kvhost.lab.example/c0/e0/slot1
  /e0/fan1                            Error: (CLI:112) Specified enclosure does not exist.
  /e0/edr0                            Error: (CLI:112) Specified enclosure does not exist.
  /e0/door0                           Error: (CLI:112) Specified enclosure does not exist.
  /c0/e0/slt2                         Error: (CLI:112) Specified enclosure does not exist.
  /c0/e0/edr1                         Error: (CLI:112) Specified enclosure does not exist.
  /c12/e10/slot1                      Error: (CLI:003) Specified controller does not exist.
  //kvhost.lab.example/c0/e0/slot1    Error: (CLI:112) Specified enclosure does not exist.
  $ probe /e0/foo /e0/slt1 /e0/fan1/extra /c0/e0/foo /c0/e0/fan1/x
  /e0/foo                             Error: (CLI:002) Syntax Error.
  /e0/slt1                            Error: (CLI:002) Syntax Error.
  /e0/fan1/extra                      Error: (CLI:002) Syntax Error.
  /c0/e0/foo                          Error: (CLI:002) Syntax Error.
  /c0/e0/fan1/x                       Error: (CLI:002) Syntax Error.

In a command file the first failing address ends the run with status 1;
the commands before it ran.

  $ printf '//kvhost.lab.example show ver\n/c1/u6 bogus\n/c1 bogus\n' > cmds.txt
  $ "$KV_CLI" -f cmds.txt; echo "status $?"
  //kvhost> //kvhost.lab.example show ver
  CLI Version = 2.00.09.012
  API Version = 2.06.00.012
  
  //kvhost> /c1/u6 bogus
  Error: (CLI:006) Specified unit does not exist.
  
  
  status 1

At the prompt every failing address is reported and the next line is
read; the run ends with status 0.

  $ printf '/c1/p0 bogus\n/c1/u6\n//other/c1\n/c1/phy0\n/c1 bogus\n' | "$KV_CLI" 2>&1; echo; echo "status $?"
  //kvhost> Error: (CLI:035) Invalid port command.
  
  //kvhost> Error: (CLI:006) Specified unit does not exist.
  
  //kvhost> Error: (CLI:054) Remote services are not supported with this software.
  
  //kvhost> Error: (CLI:136) Invalid phy specified.
  
  //kvhost> Error: (CLI:031) Invalid controller command.
  
  //kvhost> 
  status 0

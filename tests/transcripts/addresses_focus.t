The focus at the prompt: commands without an address are taken relative
to it, "cf" and "focus" move it and refuse targets that do not resolve,
and the prompt shows where it stands. Two newer-family controllers: c0
(family 8, no units) and c1 (family 6: units u0 and u10, ports p0 to p3).

  $ cp "$FIXTURES/controllers/two_newer.json" host.json && export KV_EMULATED_HOST="$PWD/host.json"

Relative commands: "./u0" names an object below the focus, a plain word is
a command word of the focused object itself.

  $ printf 'cf c1\n./u0\n./u0 bogus\n./p3 bogus\n./bbu\nbogus\n./u6\ncf u0\nbogus\n' | "$KV_CLI" 2>&1
  //kvhost> 
  //kvhost/c1> Error: (CLI:039) Invalid unit command syntax.
  
  //kvhost/c1> Error: (CLI:038) Invalid unit command.
  
  //kvhost/c1> Error: (CLI:035) Invalid port command.
  
  //kvhost/c1> Error: (CLI:052) Invalid BBU command syntax.
  
  //kvhost/c1> Error: (CLI:031) Invalid controller command.
  
  //kvhost/c1> Error: (CLI:006) Specified unit does not exist.
  
  //kvhost/c1> 
  //kvhost/c1/u0> Error: (CLI:038) Invalid unit command.
  
  //kvhost/c1/u0>  (no-eol)

Moving: down by plain words, up one level with "..", which stays at the
root, to the root with "/", to an absolute target with or without the
host; the host part keeps the form it was typed in.

  $ printf 'cf c1\ncf p3\ncf ..\ncf ..\ncf ..\nfocus /c1/bbu\ncf /\ncf //kvhost.lab.example/c1\n./u10 bogus\ncf /c0\nfocus //KVHOST\ncf ./c1\n' | "$KV_CLI" 2>&1
  //kvhost> 
  //kvhost/c1> 
  //kvhost/c1/p3> 
  //kvhost/c1> 
  //kvhost> 
  //kvhost> 
  //kvhost/c1/bbu> 
  //kvhost> 
  //kvhost.lab.example/c1> Error: (CLI:038) Invalid unit command.
  
  //kvhost.lab.example/c1> 
  //kvhost.lab.example/c0> 
  //kvhost> Error: (CLI:002) Syntax Error.
  
  //kvhost>  (no-eol)

Refusals leave the focus where it was: 42 for a missing target or more
than one word, 44 for "//" alone and for a "/" target that is neither "/"
nor a controller or enclosure, 54 for another host, and the lookup's own
code for a target that names nothing. This host has no enclosures, so
"cf e0" and "cf /e0" end at 112; element_addresses.t moves the
focus into enclosures and elements.

  $ printf 'cf c1\ncf\ncf u0 u10\ncf //\ncf /x\ncf //other\ncf //other/c1\ncf u6\ncf p9\ncf phy0\ncf e0\ncf ../u1\ncf bbu/x\ncf /c9\ncf /e0\n' | "$KV_CLI" 2>&1
  //kvhost> 
  //kvhost/c1> Error: (CLI:042) Invalid shell command URI specified.
  
  //kvhost/c1> Error: (CLI:042) Invalid shell command URI specified.
  
  //kvhost/c1> Error: (CLI:044) Invalid shell command value.
  
  //kvhost/c1> Error: (CLI:044) Invalid shell command value.
  
  //kvhost/c1> Error: (CLI:054) Remote services are not supported with this software.
  
  //kvhost/c1> Error: (CLI:054) Remote services are not supported with this software.
  
  //kvhost/c1> Error: (CLI:006) Specified unit does not exist.
  
  //kvhost/c1> Error: (CLI:009) Invalid port specified.
  
  //kvhost/c1> Error: (CLI:136) Invalid phy specified.
  
  //kvhost/c1> Error: (CLI:112) Specified enclosure does not exist.
  
  //kvhost/c1> Error: (CLI:002) Syntax Error.
  
  //kvhost/c1> Error: (CLI:002) Syntax Error.
  
  //kvhost/c1> Error: (CLI:003) Specified controller does not exist.
  
  //kvhost/c1> Error: (CLI:112) Specified enclosure does not exist.
  
  //kvhost/c1>  (no-eol)

As one command or in a command file the focus is the root, and a focus
command changes nothing that a later command would see.

  $ "$KV_CLI" cf /c1; echo "status $?"
  
  status 0
  $ printf 'cf /c1\nbogus\n' > cmds.txt && "$KV_CLI" -f cmds.txt; echo "status $?"
  //kvhost> cf /c1
  
  //kvhost/c1> bogus
  Error: (CLI:031) Invalid controller command.
  
  
  status 1

The old input style has no focus: "cf" and "focus" are refused, commands
without an address are the old-style root words, and absolute addresses
work as before.

  $ printf 'cf c1\nfocus /c1\nu0\nshow ver\n/c1/u0 bogus\n' | KV_CLI_INPUT_STYLE=old "$KV_CLI" 2>&1
  //kvhost> Error: (CLI:055) Invalid feature, only available with KV_CLI_INPUT_STYLE=new
  
  //kvhost> Error: (CLI:055) Invalid feature, only available with KV_CLI_INPUT_STYLE=new
  
  //kvhost> Error: (CLI:041) Invalid shell command.
  
  //kvhost> CLI Version = 2.00.09.012
  API Version = 2.06.00.012
  
  //kvhost> Error: (CLI:038) Invalid unit command.
  
  //kvhost>  (no-eol)
  $ KV_CLI_INPUT_STYLE=OLD "$KV_CLI" cf /c1; echo "status $?"
  Error: (CLI:055) Invalid feature, only available with KV_CLI_INPUT_STYLE=new
  
  
  status 1

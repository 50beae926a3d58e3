The number of arguments chooses the run mode: none gives the prompt, '-f'
and a file name a command file, anything else one command.

  $ cp "$FIXTURES/hosts/plain.json" host.json && export KV_EMULATED_HOST="$PWD/host.json"

No arguments: the prompt shows the short host name; the end of input ends
the run with status 0.

  $ printf 'show ver\n' | "$KV_CLI"; echo "status $?"
  //kvhost> CLI Version = 2.00.09.012
  API Version = 2.06.00.012
  
  //kvhost> status 0
  $ "$KV_CLI" < /dev/null; echo "status $?"
  //kvhost> status 0

A command file is echoed line by line behind the prompt and keeps its case,
so '/C0 SHOW' is a syntax error that ends the run. '-fx' selects the file
mode as well; '-F' does not.

  $ cp "$FIXTURES/shell/commands.txt" cmds.txt
  $ "$KV_CLI" -f cmds.txt; echo "status $?"
  //kvhost> # list the controllers
  //kvhost> show
  
  No controller found.
  Make sure appropriate Orvo/Kivra device driver(s) are loaded.
  
  //kvhost> /C0 SHOW
  Error: (CLI:002) Syntax Error.
  
  
  status 1
  $ "$KV_CLI" -fx cmds.txt 2>/dev/null | head -2
  //kvhost> # list the controllers
  //kvhost> show
  $ "$KV_CLI" -F cmds.txt
  Error: (CLI:041) Invalid shell command.
  
  
  [1]

A file that ends with a line end gives one more echo line holding only the
prompt; "quit" ends the file early.

  $ printf 'show ver\nquit\nshow\n' > quit.txt
  $ "$KV_CLI" -f quit.txt; echo "status $?"
  //kvhost> show ver
  CLI Version = 2.00.09.012
  API Version = 2.06.00.012
  
  //kvhost> quit
  status 0
  $ printf 'show ver\n' > one.txt
  $ "$KV_CLI" -f one.txt
  //kvhost> show ver
  CLI Version = 2.00.09.012
  API Version = 2.06.00.012
  
  //kvhost> 

A command file that cannot be opened ends the run:

  $ "$KV_CLI" -f missing.txt; echo "status $?"
  Failed to open input command file
  
  
  status 1

So do a folder and an empty file name, which must not pass for files
without lines: a command file must be a file that can be read. An empty
file is read and runs nothing.

  $ mkdir folder && : > empty.txt
  $ for name in folder "" missing.txt; do "$KV_CLI" -f "$name"; echo "status $?"; done
  Failed to open input command file
  
  
  status 1
  Failed to open input command file
  
  
  status 1
  Failed to open input command file
  
  
  status 1
  $ "$KV_CLI" -f empty.txt; echo "status $?"
  //kvhost> 
  status 0

'-f' alone and '-f a b' are one-shot commands, which the new input style
rejects.

  $ "$KV_CLI" -f; echo "status $?"
  Error: (CLI:041) Invalid shell command.
  
  
  status 1
  $ "$KV_CLI" -f a b 2>&1
  Error: (CLI:041) Invalid shell command.
  
  
  [1]

One-shot commands are lower-cased; a failing one is the run and ends with
its message and two empty lines on standard error.

  $ "$KV_CLI" SHOW VER; echo "status $?"
  CLI Version = 2.00.09.012
  API Version = 2.06.00.012
  
  status 0
  $ "$KV_CLI" /C9 SHOW 2>err; echo "status $?"; cat err
  status 1
  Error: (CLI:003) Specified controller does not exist.
  
  
  $ "$KV_CLI" quit; echo "status $?"
  status 0
  $ "$KV_CLI" "" "  "; echo "status $?"
  status 0

"help" prints the general help; only at the prompt does it list the focus
command.

  $ "$KV_CLI" help | grep -c '^focus'
  0
  [1]
  $ printf 'help\n' > help.txt && "$KV_CLI" -f help.txt | grep -c '^focus'
  0
  [1]
  $ printf 'help\n' | "$KV_CLI" | grep -c '^focus'
  1

A user without administrator rights is turned away whatever the arguments,
after the shell has prepared the log folder.

  $ cp "$FIXTURES/shell/nonadmin.json" nonadmin.json
  $ KV_EMULATED_HOST="$PWD/nonadmin.json" "$KV_CLI" show ver 2>err; echo "status $?"; cat err
  status 1
  Error: (CLI:001) Only root/administrator can run this program.
  
  
  $ KV_EMULATED_HOST="$PWD/nonadmin.json" "$KV_CLI" < /dev/null 2>&1
  Error: (CLI:001) Only root/administrator can run this program.
  
  
  [1]

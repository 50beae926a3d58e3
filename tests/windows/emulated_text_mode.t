kv_cli.exe against the emulated host (KV_EMULATED_HOST names a host file)
reads and writes text as it does with the real calls: standard input and
command files in Windows' text mode, where CR LF ends a line and Ctrl-Z
ends the input, and the audit log with CR LF line ends, its path joined
with backslashes. Only standard output and error keep the line ends as
written, so that the shared transcripts serve this build too. The wine
prefix has no controllers: where the real calls can show a case, both
bindings get the same input and answer alike ("\r" and the host name in
the prompt aside). c0 of the host file holds units u0-u5.

  $ cp "$TESTDIR/../fixtures/unitcmd/units.json" host.json
  $ emulated() { KV_EMULATED_HOST="$PWD/host.json" "$KV_CLI" "$@" 2>&1; }
  $ real() { (unset KV_EMULATED_HOST; "$KV_CLI" "$@" 2>&1 | tr -d '\r'); }
  $ prompts() { sed 's|//[^ >]*> |//host> |g'; }
  $ same() { diff <(real "$@" < input | prompts) <(emulated "$@" < input | prompts) && echo same; }

A question takes its answer with CR LF; the audit line ends in CR LF.

  $ printf 'y\r\n' | emulated /c0/u3 del
  Deleting /c0/u3 will cause the data on the unit to be permanently lost.
  Do you want to continue ? Y|N [N]: Deleting unit c0/u3 ...Done.
  
  
  $ sed -n 'l 0' ProgramData/Orvo/kv_mgmt.log | sed 's/^.* CLI /CLI /'
  CLI [Delete Unit(controller=0, unit=3, make os aware=yes): Success]\r$

The log's path, which a log that cannot be opened shows: the data folder,
"Orvo" and "kv_mgmt.log", each after a backslash.

  $ rm ProgramData/Orvo/kv_mgmt.log && mkdir ProgramData/Orvo/kv_mgmt.log
  $ emulated /c0/u4 del quiet
  Deleting unit c0/u4 ...Error: Could not open file [A-Z]:\\.*\\ProgramData\\Orvo\\kv_mgmt.log (re)
  Done.
  
  

Ctrl-Z at the start of a line ends the input at the prompt: the lines
after it are not run, and the run ends with status 0.

  $ printf '/c9 show\r\n\x1a\r\nhelp\r\n' > input
  $ emulated < input; echo "status $?"
  //kvhost> Error: (CLI:003) Specified controller does not exist.
  
  //kvhost> status 0
  $ same
  same

Within a line, Ctrl-Z ends the input after the text before it, which is
run as the last line.

  $ printf '/c9 sh\x1aow\r\nhelp\r\n' > input
  $ emulated < input
  //kvhost> Error: (CLI:003) Specified controller does not exist.
  
  $ same
  same

A command file reads the same way: CR LF lines, and a Ctrl-Z ends it
after one more echo of the prompt.

  $ printf '# first\r\nshow ver\r\n\x1a\r\nhelp\r\n' > commands.txt
  $ emulated -f commands.txt
  //kvhost> # first
  //kvhost> show ver
  CLI Version = 2.00.09.012
  API Version = 2.06.00.012
  
  //kvhost> 
  $ : > input && same -f commands.txt
  same

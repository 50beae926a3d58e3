The three environment variables are read once at start-up; each switches
its setting only when it holds its keyword, in any case.

  $ cp "$FIXTURES/hosts/plain.json" host.json && export KV_EMULATED_HOST="$PWD/host.json"

Input style: the old one takes commands without the focus and knows the
old-style root words, and has no focus command.

  $ "$KV_CLI" shutdown
  Error: (CLI:041) Invalid shell command.
  
  
  [1]
  $ KV_CLI_INPUT_STYLE=Old "$KV_CLI" shutdown
  
  $ KV_CLI_INPUT_STYLE=Old "$KV_CLI" flush c0 '?'
  Error: (CLI:091) Invalid flush command.
  
  
  [1]
  $ KV_CLI_INPUT_STYLE=old "$KV_CLI" cf //kvhost
  Error: (CLI:055) Invalid feature, only available with KV_CLI_INPUT_STYLE=new
  
  
  [1]
  $ KV_CLI_INPUT_STYLE=older "$KV_CLI" cf //kvhost
  

Output style: the old one also selects the old help layout, which has the
"alarms" topic.

  $ KV_CLI_STYLE=old "$KV_CLI" help alarms > /dev/null; echo "status $?"
  status 0
  $ KV_CLI_STYLE=new "$KV_CLI" help alarms > /dev/null 2>&1; echo "status $?"
  status 1

Logging: the audit log lives in ProgramData/Orvo beside the host file. The
folder is made at start-up, also for a user who is then turned away; the
log file itself appears only when something is audited, and nothing is
here.

  $ "$KV_CLI" show > /dev/null
  $ find ProgramData | sort
  ProgramData
  ProgramData/Orvo
  $ rm -r ProgramData
  $ cp "$FIXTURES/shell/nonadmin.json" nonadmin.json
  $ KV_EMULATED_HOST="$PWD/nonadmin.json" "$KV_CLI" show 2> /dev/null
  [1]
  $ find ProgramData | sort
  ProgramData
  ProgramData/Orvo
  $ rm -r ProgramData
  $ KV_CLI_LOG=off "$KV_CLI" show > /dev/null
  $ KV_CLI_LOG=no "$KV_CLI" show > /dev/null
  $ find ProgramData | sort
  ProgramData
  ProgramData/Orvo

The three environment variables switch the audit log, the output layout
and the input style for the whole run; each takes effect only for its own
keyword, in any case. An audited command (disabling and enabling the
battery backup unit) shows the log's side.

  $ . "$TESTDIR/audit_log.sh"
  $ cp "$FIXTURES/hosts/battery.json" host.json && export KV_EMULATED_HOST="$PWD/host.json"
  $ log=ProgramData/Orvo/kv_mgmt.log
  $ lines() { kv_audit_lines "$log"; }

Logging on (unset, or any value but "off"): one line per audited call, in
the ctime form with the tag "CLI".

  $ "$KV_CLI" /c0/bbu disable quiet > /dev/null
  $ KV_CLI_LOG=no "$KV_CLI" /c0/bbu enable > /dev/null
  $ KV_CLI_LOG= "$KV_CLI" /c0/bbu disable quiet > /dev/null
  $ lines
  CLI [Disable BBU(controller=0): Success]
  CLI [Enable BBU(controller=0): Success]
  CLI [Disable BBU(controller=0): Success]

"off" in any case: the operation runs, nothing is written.

  $ KV_CLI_LOG=Off "$KV_CLI" /c0/bbu enable
  Sending enable BBU message to /c0/bbu ... Done.
  
  $ "$KV_CLI" show | sed -n 4p
  c0    KV-V820-8p   0         0        0       0       3       3      OK       
  $ KV_CLI_LOG=OFF "$KV_CLI" /c0/bbu disable quiet > /dev/null
  $ lines | wc -l
  3

With logging off no log file is created at all.

  $ rm "$log"
  $ KV_CLI_LOG=off "$KV_CLI" /c0/bbu enable > /dev/null
  $ test -e "$log" || echo "no log"
  no log

A failed audited call is logged as failed and its own error is reported.

  $ sed -i 's/"faults": \[\]/"faults": [ { "match": { "layer": "firmware", "opcode": "0x13" }, "action": { "status": 1, "code": "0x0204" }, "count": 1 } ]/' host.json
  $ "$KV_CLI" /c0/bbu disable quiet; echo "status $?"
  Sending disable BBU message to /c0/bbu ... (0x03:0x0204): Drive timeout
  
  
  status 1
  $ lines
  CLI [Disable BBU(controller=0): Failed]

Output style: "old" in any case selects the list layout; any other value
keeps the tables.

  $ for v in old OLD Old new "" older; do echo "[$v]"; KV_CLI_STYLE=$v "$KV_CLI" show | grep -v '^$' | head -n 1; done
  [old]
  List of controllers
  [OLD]
  List of controllers
  [Old]
  List of controllers
  [new]
  Ctl   Model        (V)Ports  Drives   Units   NotOpt  RRate   VRate  BBU
  []
  Ctl   Model        (V)Ports  Drives   Units   NotOpt  RRate   VRate  BBU
  [older]
  Ctl   Model        (V)Ports  Drives   Units   NotOpt  RRate   VRate  BBU

Input style: only "old" in any case turns the focus command off; under
the new style "show" runs relative to the focus (here the controller).

  $ for v in old OLD new ""; do echo "[$v]"; printf 'cf /c0\nshow\n' | KV_CLI_INPUT_STYLE=$v "$KV_CLI" 2>&1 | sed -n 1,3p; done
  [old]
  //kvhost> Error: (CLI:055) Invalid feature, only available with KV_CLI_INPUT_STYLE=new
  
  //kvhost> 
  [OLD]
  //kvhost> Error: (CLI:055) Invalid feature, only available with KV_CLI_INPUT_STYLE=new
  
  //kvhost> 
  [new]
  //kvhost> 
  //kvhost/c0> 
  Unit  UnitType  Status         %RCmpl  %V/I/M  Stripe  Size(GB)  Cache  AVrfy
  []
  //kvhost> 
  //kvhost/c0> 
  Unit  UnitType  Status         %RCmpl  %V/I/M  Stripe  Size(GB)  Cache  AVrfy

KV_EMULATED_HOST may be a relative path: it is taken from the current
folder, and what the run writes stays beside it.

  $ mkdir here && cd here
  $ KV_EMULATED_HOST=rel.json "$KV_CLI" help > /dev/null
  $ ls
  ProgramData
  rel.json
  rel.json.lock

The battery capacity test at /cN/bbu: the question, the progress line,
the audit line, the battery's status afterwards, and the controller's and
the tool's refusals. c0 holds a ready battery; c1 a battery that is not
ready (charging); c2 a BBU without battery; c3 a disabled BBU; c4 none.

  $ . "$TESTDIR/audit_log.sh"
  $ cp "$FIXTURES/bbu/capacity_test.json" host.json && export KV_EMULATED_HOST="$PWD/host.json"
  $ log=ProgramData/Orvo/kv_mgmt.log
  $ lines() { kv_audit_lines "$log"; }
  $ tests() { grep -c '"opcode":30' requests.jsonl || true; }

Help, and words the command does not take.

  $ "$KV_CLI" /c0/bbu test help
    /cx/bbu test [quiet]                                     (Rhosk series)
  
  
  $ . "$TESTDIR/batch.sh"
  $ kv_first_lines "/c0/bbu test" "bogus" "q bogus" "help extra" "quiet bogus"
  Error: (CLI:052) Invalid BBU command syntax.
  Error: (CLI:052) Invalid BBU command syntax.
  Error: (CLI:013) Invalid argument in help command.
  Error: (CLI:052) Invalid BBU command syntax.

"no", an empty answer and "N" abort before anything is sent; the battery
stays as it was and nothing is logged.

  $ for a in 'no' '' 'N'; do printf '%s\n' "$a" | "$KV_CLI" /c0/bbu test; done
  Depending on the Keepwell setting, performing the battery capacity test may
  disable the write cache on controller /c0 for up to 24 hours.
  Do you want to continue? Y|N [N]: Command aborted.  The battery capacity test command on controller /c0 is not issued.
  
  Depending on the Keepwell setting, performing the battery capacity test may
  disable the write cache on controller /c0 for up to 24 hours.
  Do you want to continue? Y|N [N]: Command aborted.  The battery capacity test command on controller /c0 is not issued.
  
  Depending on the Keepwell setting, performing the battery capacity test may
  disable the write cache on controller /c0 for up to 24 hours.
  Do you want to continue? Y|N [N]: Command aborted.  The battery capacity test command on controller /c0 is not issued.
  
  $ "$KV_CLI" /c0/bbu show status; test -e "$log" || echo "no log"; tests
  /c0/bbu BBU Status                = OK
  
  no log
  0

Any other answer asks again; "YES" goes on. The controller starts the test:
"Done.", one firmware command, one audit line, and the battery now reads
"Testing" in the attribute, the table and the controller list.

  $ printf 'maybe\nYES\n' | "$KV_CLI" /c0/bbu test; echo "status $?"
  Depending on the Keepwell setting, performing the battery capacity test may
  disable the write cache on controller /c0 for up to 24 hours.
  Do you want to continue? Y|N [N]: Depending on the Keepwell setting, performing the battery capacity test may
  disable the write cache on controller /c0 for up to 24 hours.
  Do you want to continue? Y|N [N]: Sending battery capacity test message to /c0/bbu ... Done.
  The write cache will be resumed when the test is completed
  with no error.
  
  status 0
  $ tests; lines
  1
  CLI [Start BBU Battery Test(controller=0): Success]
  $ "$KV_CLI" /c0/bbu show status; "$KV_CLI" /c0 show bbustatus; "$KV_CLI" show | sed -n 4p
  /c0/bbu BBU Status                = Testing
  
  
  Name  OnlineState  BBUReady  Status    Volt     Temp     Hours  LastCapTest
  ---------------------------------------------------------------------------
  bbu   On           Yes       Testing   OK       OK       0      03-Mar-2026  
  
  c0    KV-V820-8p   0         0        0       0       3       3      Testing  

A second test while the first runs: the controller refuses with its own
code after the progress line (no "Failed." before the error); the audit
line says it failed and the run ends with status 1.

  $ "$KV_CLI" /c0/bbu test quiet; echo "status $?"
  Sending battery capacity test message to /c0/bbu ... (0x03:0x0302): The BBU resource needed is in use; retry command after a delay
  
  
  status 1
  $ tests; lines | tail -1
  2
  CLI [Start BBU Battery Test(controller=0): Failed]

The status stays "Testing" until the host file says otherwise; then the
test can be started again ("q" skips the question).

  $ sed -i 's/"status": "Testing"/"status": "OK"/' host.json
  $ "$KV_CLI" /c0/bbu test q; "$KV_CLI" /c0/bbu show status
  Sending battery capacity test message to /c0/bbu ... Done.
  The write cache will be resumed when the test is completed
  with no error.
  
  /c0/bbu BBU Status                = Testing
  

A battery that is not ready: the controller refuses with its BBU code.

  $ "$KV_CLI" /c1/bbu test q; echo "status $?"
  Sending battery capacity test message to /c1/bbu ... (0x03:0x0383): BBU not ready
  
  
  status 1
  $ "$KV_CLI" /c1/bbu show status
  /c1/bbu BBU Status                = Charging
  

A BBU without battery: the library refuses before anything reaches the
controller. A disabled BBU and a controller without BBU: the tool refuses
before asking. Neither of the latter writes an audit line.

  $ rm requests.jsonl
  $ "$KV_CLI" /c2/bbu test q; echo "status $?"
  Sending battery capacity test message to /c2/bbu ... (0x0B:0x004B): Battery backup unit has no battery
  
  
  status 1
  $ for c in c3 c4; do echo y | "$KV_CLI" /$c/bbu test; echo "status $?"; done
  Error: (CLI:059) Battery Backup Unit is not present.
  
  
  status 1
  Error: (CLI:059) Battery Backup Unit is not present.
  
  
  status 1
  $ tests; lines | tail -1
  0
  CLI [Start BBU Battery Test(controller=2): Failed]

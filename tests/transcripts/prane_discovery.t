An older-family controller beside a newer one: the manager builds both,
the older one from its own units and ports.

  $ cp "$FIXTURES/prane/older_and_newer.json" host.json && export KV_EMULATED_HOST="$PWD/host.json"
  $ "$KV_CLI" show 2>err; echo "status $?"; cat err
  
  Ctl   Model        (V)Ports  Drives   Units   NotOpt  RRate   VRate  BBU
  ------------------------------------------------------------------------
  c0    KV-P300-2HB  2         0        0       0       3       -      -        
  c1    KV-S620RE-4H 4         0        0       0       3       3      -        
  
  status 0

The older controller's address is reached like the other's.

  $ "$KV_CLI" /c0 show 2>&1; echo "status $?"
  
  Unit  UnitType  Status         %RCmpl  %V/I/M  Stripe  Size(GB)  Cache  AVrfy
  ------------------------------------------------------------------------------
  
  Port   Status           Unit   Size        Blocks        Serial
  ---------------------------------------------------------------
  p0     NOT-PRESENT      -      -           -             -
  p1     NOT-PRESENT      -      -           -             -
  
  status 0
  $ "$KV_CLI" /c1 show model 2>/dev/null
  /c1 Model = KV-S620RE-4H
  

Every request to the older controller is an older-family packet, and
every open has its close.

  $ rm requests.jsonl && "$KV_CLI" show >/dev/null 2>&1
  $ grep '"op":"request"' requests.jsonl | grep '"controller":0,' | grep -o '"kind":"[a-z_]*"' | sort | uniq -c
  \s+1 "kind":"driver_info" (re)
  \s+\d+ "kind":"prane" (re)
  $ test "$(grep -c '"op":"open"' requests.jsonl)" = "$(grep -c '"op":"close"' requests.jsonl)" && echo balanced
  balanced

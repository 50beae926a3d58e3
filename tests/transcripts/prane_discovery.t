An older-family controller beside a newer one. The library does not yet
read an older-family controller's units, so building that controller
ends with the library's message for a feature the family lacks; the
manager reports it on standard error and leaves the controller out, and
the other controller works as usual.

  $ cp "$FIXTURES/prane/older_and_newer.json" host.json && export KV_EMULATED_HOST="$PWD/host.json"
  $ "$KV_CLI" show 2>err; echo "status $?"; cat err
  
  Ctl   Model        (V)Ports  Drives   Units   NotOpt  RRate   VRate  BBU
  ------------------------------------------------------------------------
  c1    KV-9650SE-4L 4         0        0       0       3       3      -        
  
  status 0
  (0x0B:0x0002): Feature not supported
  
  

The left-out controller's address does not exist; the other is reached.

  $ "$KV_CLI" /c0 show 2>&1; echo "status $?"
  (0x0B:0x0002): Feature not supported
  
  
  Error: (CLI:003) Specified controller does not exist.
  
  
  status 1
  $ "$KV_CLI" /c1 show model 2>/dev/null
  /c1 Model = KV-9650SE-4L
  

The refusal is the library's own: the older-family controller sees only
the discovery's requests (the driver information and the serial number
read), none for its units.

  $ rm requests.jsonl && "$KV_CLI" show >/dev/null 2>&1
  $ grep '"op":"request"' requests.jsonl | grep '"controller":0,' | grep -o '"kind":"[a-z_]*"\|"table":[0-9]*'
  "kind":"driver_info"
  "kind":"prane"
  "table":1026

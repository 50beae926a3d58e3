The controller table holds sixteen controllers, c0 to c15; every
listing names them in name order (c0, c1, c10 ... c15, c2 ... c9). The
host file has seventeen newer-family controllers KV-00 ... KV-16; c10
has a single disk u0 on p0 that Windows sees.

  $ cp "$FIXTURES/controllers/seventeen.json" all.json
  $ jq '.machine.controllers |= .[:11]' all.json > host.json && export KV_EMULATED_HOST="$PWD/host.json"

Eleven controllers: all eleven are listed and c10 answers.

  $ "$KV_CLI" show | cut -c1-20
  
  Ctl   Model        (
  --------------------
  c0    KV-00        2
  c1    KV-01        2
  c10   KV-10        2
  c2    KV-02        2
  c3    KV-03        2
  c4    KV-04        2
  c5    KV-05        2
  c6    KV-06        2
  c7    KV-07        2
  c8    KV-08        2
  c9    KV-09        2
  

  $ "$KV_CLI" /c10 show
  
  Unit  UnitType  Status         %RCmpl  %V/I/M  Stripe  Size(GB)  Cache  AVrfy
  ------------------------------------------------------------------------------
  u0    SINGLE    OK             -       -       -       465.762   ON     OFF    
  
  Port   Status           Unit   Size        Blocks        Serial
  ---------------------------------------------------------------
  p0     OK               u0     465.76 GB   976773168     QD-1000             
  p1     NOT-PRESENT      -      -           -             -
  

Deleting c10's unit takes its disk away from Windows first.

  $ "$KV_CLI" /c10/u0 del quiet; echo "status $?"
  Deleting unit c10/u0 ...Done.
  
  
  status 0
  $ jq -c '.machine.disks' host.json
  [{"controller":10,"disk_number":0,"present":false,"target":0,"unit_disk":true}]

Seventeen controllers: the table takes the first sixteen; the
seventeenth is not listed, is never opened, and its name names nothing.

  $ jq '.request_log = "requests.jsonl"' all.json > host.json
  $ "$KV_CLI" show | cut -c1-20
  
  Ctl   Model        (
  --------------------
  c0    KV-00        2
  c1    KV-01        2
  c10   KV-10        2
  c11   KV-11        2
  c12   KV-12        2
  c13   KV-13        2
  c14   KV-14        2
  c15   KV-15        2
  c2    KV-02        2
  c3    KV-03        2
  c4    KV-04        2
  c5    KV-05        2
  c6    KV-06        2
  c7    KV-07        2
  c8    KV-08        2
  c9    KV-09        2
  
  $ jq -s '[.[] | select(.op == "open" and .controller != null)] | map(.controller) | max' requests.jsonl
  15
  $ "$KV_CLI" /c16 show; echo "status $?"
  Error: (CLI:003) Specified controller does not exist.
  
  
  status 1

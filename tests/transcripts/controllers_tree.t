Every command builds the controller tree afresh: the controller list, the
lookups below a controller, and the errors of names that do not exist.
Two newer-family controllers: c0 (family 8, no units) and c1 (family 6: a RAID-1 on
ports 0 and 1, a CBOD on port 2 that gets no unit object, a single disk as
unit 10 on port 3).

  $ cp "$FIXTURES/controllers/two_newer.json" host.json && export KV_EMULATED_HOST="$PWD/host.json"

  $ "$KV_CLI" show
  
  Ctl   Model        (V)Ports  Drives   Units   NotOpt  RRate   VRate  BBU
  ------------------------------------------------------------------------
  c0    KV-V820-8p   0         0        0       0       3       3      -        
  c1    KV-S620RE-4H 4         4        2       0       3       3      -        
  

A controller that does not exist.

  $ "$KV_CLI" /c9 show; echo "status $?"
  Error: (CLI:003) Specified controller does not exist.
  
  
  status 1

Lookups below a controller are exact: u10 is found (it shows its table),
u010 and U10 are not, the CBOD unit 2 has no object, p3 is found (it
shows its drive row) and p4 is not, and a family-6 controller has no
phys.

  $ for path in /c1/u10 /c1/u010 /c1/u2 /c1/p3 /c1/p4 /c1/phy0 /c0/e0 /c1/x; do echo "$path"; "$KV_CLI" $path show 2>&1; done
  /c1/u10
  
  Unit     UnitType  Status         %RCmpl  %V/I/M  Port  Stripe  Size(GB)
  ------------------------------------------------------------------------
  u10      SINGLE    OK*            -       -       p3    -       465.762   
  
  /c1/u010
  Error: (CLI:006) Specified unit does not exist.
  
  
  /c1/u2
  Error: (CLI:006) Specified unit does not exist.
  
  
  /c1/p3
  
  Port   Status           Unit   Size        Blocks        Serial
  ---------------------------------------------------------------
  p3     OK               u10    465.76 GB   976773168     QD-0003             
  
  /c1/p4
  Error: (CLI:009) Invalid port specified.
  
  
  /c1/phy0
  Error: (CLI:136) Invalid phy specified.
  
  
  /c0/e0
  Error: (CLI:112) Specified enclosure does not exist.
  
  
  /c1/x
  Error: (CLI:002) Syntax Error.
  
  
  [1]

The focus moves onto the objects of the tree and refuses those that do
not exist.

  $ printf 'focus /c1\ncf u10\ncf ..\ncf p3\nfocus /c9\ncf /c1/u2\ncf /c0\n' | "$KV_CLI" 2>&1
  //kvhost> 
  //kvhost/c1> 
  //kvhost/c1/u10> 
  //kvhost/c1> 
  //kvhost/c1/p3> Error: (CLI:003) Specified controller does not exist.
  
  //kvhost/c1/p3> Error: (CLI:006) Specified unit does not exist.
  
  //kvhost/c1/p3> 
  //kvhost/c0>  (no-eol)

A controller the library cannot classify is reported and left out; the
others work.

  $ cp "$FIXTURES/controllers/unclassified.json" host.json
  $ "$KV_CLI" show
  Error: (CLI:004) Firmware not compatible, please make sure you are running corresponding firmware & software.
  
  
  
  Ctl   Model        (V)Ports  Drives   Units   NotOpt  RRate   VRate  BBU
  ------------------------------------------------------------------------
  c0    KV-V820-8p   0         0        0       0       3       3      -        
  c1    KV-S620RE-4H 4         4        2       0       3       3      -        
  

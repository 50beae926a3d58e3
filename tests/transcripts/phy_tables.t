The phys in a controller's tables and addresses: c0 is family 8 with six
phys (phy 4 wired to port 5, port 3 behind an enclosure), c1 family 7 at
firmware level 35 (no phys), c2 family 7 at level 36 (one phy per port).

  $ cp "$FIXTURES/phy/phys.json" host.json && export KV_EMULATED_HOST="$PWD/host.json"

The controller's phy table keeps its own header and prints every phy's row:
an address whose first byte is 0 shows "-", an enclosure "N/A", an
enclosure in error "-", a SATA phy without a drive "-"; codes without a
speed show an empty cell or "-".

  $ "$KV_CLI" /c0 show phy
  
                               Device              --- Link Speed (Gbps) ---
  Phy     SAS Addesss          Type     Device     Supported  Enabled  Control
  -----------------------------------------------------------------------------
  phy0    5001d9f000000200     SATA     /c0/p0     1.5-3.0    3.0      Auto   
  phy1    5001d9f000000201     SAS      /c0/p1     3.0        1.5      3.0    
  phy2    -                    ENCL     N/A        1.5        1.5      1.5    
  phy3    5001d9f000000203     ENCL-ERR -                     -        -      
  phy4    5001d9f000000204     SATA     /c0/p5                3.0      Auto   
  phy5    5001d9f000000205     SATA     -          1.5-3.0    -        Auto   
  

The drive table's Phy column names the phy of a directly attached drive
and "-" for a drive behind an enclosure.

  $ "$KV_CLI" /c0 show | sed -n '/^VPort/,$p'
  VPort Status         Unit Size      Type  Phy Encl-Slot    Model
  ------------------------------------------------------------------------------
  p0    OK             u0   465.76 GB SATA  0   -            KV-SATA-500         
  p1    OK             -    931.51 GB SAS   1   -            KV-SAS-1TB          
  p3    OK             -    465.76 GB SATA  -   -            KV-SATA-500         
  p5    OK             u0   465.76 GB SATA  4   -            KV-SATA-500         
  

A directly attached drive that the controller reports through no phy
(phy 255) and that sits in no enclosure slot has no phy to show: its cell
shows "-" and the table goes on with the later ports. A phy that cannot
be read still ends the table with the library's error.

  $ jq '.machine.controllers[0].drives[0].phy = 255' host.json > changed.json && cp changed.json host.json
  $ "$KV_CLI" /c0 show > shown
  $ sed -n '/^VPort/,$p' shown
  VPort Status         Unit Size      Type  Phy Encl-Slot    Model
  ------------------------------------------------------------------------------
  p0    OK             u0   465.76 GB SATA  -   -            KV-SATA-500         
  p1    OK             -    931.51 GB SAS   1   -            KV-SAS-1TB          
  p3    OK             -    465.76 GB SATA  -   -            KV-SATA-500         
  p5    OK             u0   465.76 GB SATA  4   -            KV-SATA-500         
  
  $ "$KV_CLI" /c0/p0 show
  
  VPort Status         Unit Size      Type  Phy Encl-Slot    Model
  ------------------------------------------------------------------------------
  p0    OK             u0   465.76 GB SATA  -   -            KV-SATA-500         
  
  $ cp "$FIXTURES/phy/phys.json" host.json
  $ . "$FIXTURES/ctlattr/faults.sh"
  $ fault 512 32 && "$KV_CLI" /c0 show 2>&1 | sed -n '/^VPort/,$p'
  VPort Status         Unit Size      Type  Phy Encl-Slot    Model
  ------------------------------------------------------------------------------
  p0    OK             u0   465.76 GB SATA  (0x03:0x0204): Drive timeout
  
  
  $ cp "$FIXTURES/phy/phys.json" host.json

Family 7 below level 36 has no phy objects and no phy table; from level 36
it has one phy per port, without SAS addresses.

  $ "$KV_CLI" /c1/phy0 show
  Error: (CLI:136) Invalid phy specified.
  
  
  [1]
  $ "$KV_CLI" /c1 show phy
  Error: (CLI:149) Feature not supported.
  
  
  [1]
  $ "$KV_CLI" /c2 show phy
  
                               Device              --- Link Speed (Gbps) ---
  Phy     SAS Addesss          Type     Device     Supported  Enabled  Control
  -----------------------------------------------------------------------------
  phy0    -                    -        -          1.5-3.0    -        Auto   
  phy1    -                    SAS      /c2/p1     1.5-3.0    3.0      Auto   
  
  $ "$KV_CLI" /c2/phy1 show
  
                               Device              --- Link Speed (Gbps) ---
  Phy     SAS Address          Type     Device     Supported  Enabled  Control
  -----------------------------------------------------------------------------
  phy1    -                    SAS      /c2/p1     1.5-3.0    3.0      Auto   
  

Addresses: a phy that does not exist is 136, a part after a phy 2; the
focus reaches a phy, relative and absolute.

  $ "$KV_CLI" /c0/phy99 show
  Error: (CLI:136) Invalid phy specified.
  
  
  [1]
  $ "$KV_CLI" /c0/phy6 show
  Error: (CLI:136) Invalid phy specified.
  
  
  [1]
  $ "$KV_CLI" /c0/phy1/x show
  Error: (CLI:002) Syntax Error.
  
  
  [1]
  $ printf 'cf /c0\n./phy2 show\ncf phy2\nshow\ncf ..\ncf phy9\n' | "$KV_CLI" 2>&1
  //kvhost> 
  //kvhost/c0> 
                               Device              --- Link Speed (Gbps) ---
  Phy     SAS Address          Type     Device     Supported  Enabled  Control
  -----------------------------------------------------------------------------
  phy2    -                    ENCL     N/A        1.5        1.5      1.5    
  
  //kvhost/c0> 
  //kvhost/c0/phy2> 
                               Device              --- Link Speed (Gbps) ---
  Phy     SAS Address          Type     Device     Supported  Enabled  Control
  -----------------------------------------------------------------------------
  phy2    -                    ENCL     N/A        1.5        1.5      1.5    
  
  //kvhost/c0/phy2> 
  //kvhost/c0> Error: (CLI:136) Invalid phy specified.
  
  //kvhost/c0>  (no-eol)

A phy count that cannot be read ends the building of that controller only:
the manager reports it and lists the others.

  $ fault 1 2 && "$KV_CLI" show 2>&1
  (0x03:0x0204): Drive timeout
  
  
  
  Ctl   Model        (V)Ports  Drives   Units   NotOpt  RRate   VRate  BBU
  ------------------------------------------------------------------------
  c1    KV-T720RA-4N 2         1        0       0       3       3      -        
  c2    KV-T720RA-8N 2         1        0       0       3       3      -        
  

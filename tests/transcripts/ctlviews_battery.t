The battery in each state on a family-8 controller: the BBU column of the
controller list and the battery table follow the battery's status and
levels; a disabled BBU shows Off and no table; a BBU without battery shows
NoBattery; a controller without BBU shows "-".

  $ . "$TESTDIR/audit_log.sh"
  $ cp "$FIXTURES/ctlviews/battery.json" base.json
  $ state() { sed -e "s/\"status\": \"OK\"/\"status\": \"$1\"/" -e "s/\"voltage\": \"OK\"/\"voltage\": \"$2\"/" -e "s/\"temperature\": \"OK\"/\"temperature\": \"$3\"/" base.json > host.json; export KV_EMULATED_HOST="$PWD/host.json"; }

  $ for s in OK - NoBattery Testing Charging Fault Error WeakBat Failed Unknown; do state "$s" OK OK; "$KV_CLI" show | sed -n 4p; done
  c0    KV-V820-8p   1         1        0       0       3       3      OK       
  c0    KV-V820-8p   1         1        0       0       3       3      -        
  c0    KV-V820-8p   1         1        0       0       3       3      NoBattery
  c0    KV-V820-8p   1         1        0       0       3       3      Testing  
  c0    KV-V820-8p   1         1        0       0       3       3      Charging 
  c0    KV-V820-8p   1         1        0       0       3       3      Fault    
  c0    KV-V820-8p   1         1        0       0       3       3      Error    
  c0    KV-V820-8p   1         1        0       0       3       3      WeakBat  
  c0    KV-V820-8p   1         1        0       0       3       3      Failed   
  c0    KV-V820-8p   1         1        0       0       3       3      Unknown  
  $ for l in OK Low High TooLow TooHigh; do state OK "$l" "$l"; "$KV_CLI" /c0 show bbustatus | tail -2; done
  bbu   On           Yes       OK        OK       OK       255    03-Mar-2026  
  
  bbu   On           Yes       OK        Low      Low      255    03-Mar-2026  
  
  bbu   On           Yes       OK        High     High     255    03-Mar-2026  
  
  bbu   On           Yes       OK        TooLow   TooLow   255    03-Mar-2026  
  
  bbu   On           Yes       OK        TooHigh  TooHigh  255    03-Mar-2026  
  

Level classes 5 to 7 read "Unknown".

  $ sed -e 's/"voltage": "OK"/"voltage": 5/' -e 's/"temperature": "OK"/"temperature": 7/' base.json > host.json; "$KV_CLI" /c0 show bbustatus | tail -2
  bbu   On           Yes       OK        Unknown  Unknown  255    03-Mar-2026  
  

  $ state WeakBat OK OK; "$KV_CLI" /c0/bbu show status; "$KV_CLI" /c0/bbu show all
  /c0/bbu BBU Status                = Weak Battery
  
  /c0/bbu Firmware Version          = BBU 1.02
  /c0/bbu Serial Number             = BBU0001
  /c0/bbu Online State              = On
  /c0/bbu BBU Ready                 = Yes
  /c0/bbu BBU Status                = Weak Battery
  /c0/bbu Battery Voltage           = OK
  /c0/bbu Battery Temperature       = OK
  /c0/bbu Estimated Backup Capacity = 255 Hours
  /c0/bbu Last Capacity Test        = 03-Mar-2026
  /c0/bbu Battery Installation Date = 01-Feb-2026
  /c0/bbu Bootloader Version        = BBL 1.00
  /c0/bbu PCB Revision              = 3
  
  $ "$KV_CLI" /c0/bbu show capacity
  /c0/bbu Estimated Backup Capacity = 255 Hours
  
  $ state Failed OK OK; "$KV_CLI" /c0/bbu show status
  /c0/bbu BBU Status                = Failed Battery
  

A disabled BBU, a BBU without battery, and no BBU at all.

  $ sed -e 's/"enabled": true/"enabled": false/' base.json > host.json; "$KV_CLI" show | sed -n 4p; "$KV_CLI" /c0 show bbustatus; "$KV_CLI" /c0/bbu show
  c0    KV-V820-8p   1         1        0       0       3       3      Off      
  
  Error: (CLI:059) Battery Backup Unit is not present.
  
  
  [1]
  $ sed -e 's/"battery": true/"battery": false/' base.json > host.json; "$KV_CLI" show | sed -n 4p; "$KV_CLI" /c0 show bbustatus
  c0    KV-V820-8p   1         1        0       0       3       3      -        
  
  Name  OnlineState  BBUReady  Status    Volt     Temp     Hours  LastCapTest
  ---------------------------------------------------------------------------
  bbu   On           Yes       NoBattery -        -        -      -            
  
  $ sed -e 's/"present": true/"present": false/' base.json > host.json; "$KV_CLI" show | sed -n 4p; "$KV_CLI" /c0 show bbustatus; "$KV_CLI" /c0/bbu show
  c0    KV-V820-8p   1         1        0       0       3       3      -        
  
  Error: (CLI:059) Battery Backup Unit is not present.
  
  
  [1]

Enabling and disabling write their audit lines.

  $ cp base.json host.json; "$KV_CLI" /c0/bbu disable quiet; "$KV_CLI" /c0/bbu enable
  Sending disable BBU message to /c0/bbu ... Done.
  Disabling of all unit write caching on controller /c0 is recommended.
  
  Sending enable BBU message to /c0/bbu ... Done.
  
  $ kv_audit_lines
  CLI [Disable BBU(controller=0): Success]
  CLI [Enable BBU(controller=0): Success]

At /cN/bbu, "show" with a word that contains "all" shows every attribute in
the fixed order, whatever words stand beside it; the host name in front of
the address plays no part.

  $ cp "$FIXTURES/ctlviews/battery.json" host.json
  $ "$KV_CLI" /c0/bbu show fw allx | cut -d= -f1
  /c0/bbu Firmware Version          
  /c0/bbu Serial Number             
  /c0/bbu Online State              
  /c0/bbu BBU Ready                 
  /c0/bbu BBU Status                
  /c0/bbu Battery Voltage           
  /c0/bbu Battery Temperature       
  /c0/bbu Estimated Backup Capacity 
  /c0/bbu Last Capacity Test        
  /c0/bbu Battery Installation Date 
  /c0/bbu Bootloader Version        
  /c0/bbu PCB Revision              
  
  $ "$KV_CLI" //kvhost/c0/bbu show fw | cut -d= -f1
  /c0/bbu Firmware Version          
  

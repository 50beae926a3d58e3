The built-in default host: a newest-generation controller with an SES
enclosure, a model-6 controller with a SAF-TE backplane, and an
older-family controller with a mirror of its two drives.

  $ export KV_EMULATED_HOST="$PWD/host.json"
  $ "$KV_CLI" show 2>err; echo "status $?"; cat err
  
  Ctl   Model        (V)Ports  Drives   Units   NotOpt  RRate   VRate  BBU
  ------------------------------------------------------------------------
  c0    KV-V820-12p  12        12       4       2       3       3      OK       
  c1    KV-S620RE-4H 4         3        2       1       3       3      -        
  c2    KV-P300-2HB  2         2        1       0       3       -      -        
  
  Enclosure     Slots  Drives  Fans  TSUnits  PSUnits  Alarms   
  --------------------------------------------------------------
  /c0/e0        8      8       3     3        2        1        
  e0            4      3       2     2        1        
  
  status 0
  $ "$KV_CLI" /c2 show 2>&1 | tail -3
  p0     OK               u0     232.88 GB   488397168     TQ0P004411          
  p1     OK               u0     232.88 GB   488397168     TQ0P004412          
  

Each controller's memory, which the controller reports in bytes.

  $ for c in 0 1 2; do "$KV_CLI" /c$c show memory; done
  /c0 Available Memory = 512MB
  
  /c1 Available Memory = 224MB
  
  /c2 Available Memory = 32MB
  

A controller object reads each identity text from the controller once per
command, however often the command shows it. (The serial number is read
once more by the library's discovery of the controllers.)

  $ sed -i 's/^  "format": 1,$/  "format": 1,\n  "request_log": "requests.jsonl",/' host.json
  $ "$KV_CLI" /c0 show model firmware bios monitor serial pcb pchip achip model firmware bios monitor serial pcb pchip achip 2>/dev/null | sort | uniq -c
        1 
        2 /c0 ACHIP Version = 1.30
        2 /c0 Bios Version = KB62 7.04.00.007
        2 /c0 Boot Loader Version = KL62 7.04.00.003
        2 /c0 Firmware Version = KF62 7.30.00.058
        2 /c0 Model = KV-V820-12p
        2 /c0 PCB Version = Rev 032
        2 /c0 PCHIP Version = 1.30
        2 /c0 Serial Number = KVS26021-180274
  $ grep '"table":1026' requests.jsonl | grep '"controller":0' | grep -o '"parameter":[0-9]*' | sort | uniq -c
        1 "parameter":11
        1 "parameter":14
        1 "parameter":2
        1 "parameter":3
        1 "parameter":4
        1 "parameter":5
        1 "parameter":6
        1 "parameter":7
        1 "parameter":8
        2 "parameter":9

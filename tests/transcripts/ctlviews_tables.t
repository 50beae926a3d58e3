The controller's views against one host: c0 (family 6) with a unit of
every RAID type and state, units u0-u7 and u10, a free drive on p23 and
empty ports p24 and p25; c1 (family 8) with a verifying RAID-1, an empty
port and a battery; c2 (family 4) with one free drive.

  $ cp "$FIXTURES/ctlviews/views.json" host.json && export KV_EMULATED_HOST="$PWD/host.json"

The controller list in both output styles.

  $ "$KV_CLI" show
  
  Ctl   Model        (V)Ports  Drives   Units   NotOpt  RRate   VRate  BBU
  ------------------------------------------------------------------------
  c0    KV-S620RE-24Q26        24       9       3       3       3      -        
  c1    KV-V820-8p   3         3        1       0       3       3      OK       
  c2    KV-R420RX-4HB2         1        0       0       3       3      -        
  
  $ KV_CLI_STYLE=old "$KV_CLI" show
  List of controllers
  -------------------
  Controller 0: KV-S620RE-24Q (26)
  Controller 1: KV-V820-8p (3)
  Controller 2: KV-R420RX-4HB (2)
  

The unit table lists the units by number (u10 last); the drive table of
family 6 has a row for every port, empty ones included.

  $ "$KV_CLI" /c0 show
  
  Unit  UnitType  Status         %RCmpl  %V/I/M  Stripe  Size(GB)  Cache  AVrfy
  ------------------------------------------------------------------------------
  u0    RAID-0    OK             -       -       64K     931.523   ON     OFF    
  u1    RAID-1    DEGRADED       -       -       -       465.762   ON     OFF    
  u2    RAID-5    REBUILDING     40%     -       64K     931.523   OFF    OFF    
  u3    RAID-6    VERIFYING      -       60%(A)  64K     931.523   ON     ON     
  u4    RAID-10   INIT-PAUSED    -       25%     64K     931.523   ON     OFF    
  u5    RAID-50   OK             -       -       64K     1863.05   ON     OFF    
  u6    SINGLE    OK             -       -       -       465.762   ON     OFF    
  u7    SPARE     OK             -       -       -       465.762   -      OFF    
  u10   JBOD      OK             -       -       -       465.762   ON     OFF    
  
  Port   Status           Unit   Size        Blocks        Serial
  ---------------------------------------------------------------
  p0     OK               u0     465.76 GB   976773168     S000                
  p1     OK               u0     465.76 GB   976773168     S001                
  p2     OK               u1     465.76 GB   976773168     S002                
  p3     OK               u2     465.76 GB   976773168     S003                
  p4     OK               u2     465.76 GB   976773168     S004                
  p5     DEGRADED         u2     465.76 GB   976773168     S005                
  p6     OK               u3     465.76 GB   976773168     S006                
  p7     OK               u3     465.76 GB   976773168     S007                
  p8     OK               u3     465.76 GB   976773168     S008                
  p9     OK               u3     465.76 GB   976773168     S009                
  p10    OK               u4     465.76 GB   976773168     S010                
  p11    OK               u4     465.76 GB   976773168     S011                
  p12    OK               u4     465.76 GB   976773168     S012                
  p13    OK               u4     465.76 GB   976773168     S013                
  p14    OK               u5     465.76 GB   976773168     S014                
  p15    OK               u5     465.76 GB   976773168     S015                
  p16    OK               u5     465.76 GB   976773168     S016                
  p17    OK               u5     465.76 GB   976773168     S017                
  p18    OK               u5     465.76 GB   976773168     S018                
  p19    OK               u5     465.76 GB   976773168     S019                
  p20    OK               u6     465.76 GB   976773168     S020                
  p21    OK               u7     465.76 GB   976773168     S021                
  p22    OK               u10    465.76 GB   976773168     S022                
  p23    OK               -      465.76 GB   976773168     S023                
  p24    NOT-PRESENT      -      -           -             -
  p25    NOT-PRESENT      -      -           -             -
  

Family 8: the VPort table skips the empty port; the battery table follows.

  $ "$KV_CLI" /c1 show
  
  Unit  UnitType  Status         %RCmpl  %V/I/M  Stripe  Size(GB)  Cache  AVrfy
  ------------------------------------------------------------------------------
  u0    RAID-1    VERIFYING      -       10%     -       931.513   RiW    OFF    
  
  VPort Status         Unit Size      Type  Phy Encl-Slot    Model
  ------------------------------------------------------------------------------
  p0    OK             u0   931.51 GB SAS   -   -            KV-SAS-1TB          
  p1    OK             u0   931.51 GB SAS   -   -            KV-SAS-1TB          
  p3    OK             -    1.36 TB   SATA  3   -            KV-SATA-1500        
  
  Name  OnlineState  BBUReady  Status    Volt     Temp     Hours  LastCapTest
  ---------------------------------------------------------------------------
  bbu   On           Yes       OK        OK       OK       255    03-Mar-2026  
  

Attribute words, each on its own line; unknown words are not errors.

  $ for w in driver model memory autocarve firmware bios monitor serial pcb pchip achip numports numunits numdrives foo; do "$KV_CLI" /c1 show $w 2>&1; done
  /c1 Driver Version = 3.00.02.046
  
  /c1 Model = KV-V820-8p
  
  /c1 Available Memory = 512MB
  
  /c1 Auto-Carving Policy = off
  
  /c1 Firmware Version = KF62 7.30.00.058
  
  /c1 Bios Version = KB62 7.04.00.007
  
  /c1 Boot Loader Version = KL62 7.04.00.003
  
  /c1 Serial Number = KVS26021-180274
  
  /c1 PCB Version = Rev 032
  
  /c1 PCHIP Version = 1.30
  
  /c1 ACHIP Version = 1.30
  
  /c1 Connections = 3 of 128
  
  /c1 Number of Units = 1
  
  /c1 Number of Drives = 3
  
  'foo' is not a valid controller parameter of the show command.
  
  $ "$KV_CLI" /c0 show numports
  /c0 Number of Ports = 26
  
  $ "$KV_CLI" /c2 show unitstatus
  
  Unit  UnitType  Status         %RCmpl  %V/I/M  Stripe  Size(GB)  Cache  AVrfy
  ------------------------------------------------------------------------------
  
  $ "$KV_CLI" /c2 show drivestatus
  
  Port   Status           Unit   Size        Blocks        Serial
  ---------------------------------------------------------------
  p0     OK               -      74.53 GB    156301488     S000                
  p1     NOT-PRESENT      -      -           -             -
  
  $ "$KV_CLI" /c1 show bbustatus
  
  Name  OnlineState  BBUReady  Status    Volt     Temp     Hours  LastCapTest
  ---------------------------------------------------------------------------
  bbu   On           Yes       OK        OK       OK       255    03-Mar-2026  
  
  $ KV_CLI_STYLE=old "$KV_CLI" /c2 show unitstatus
  # of units: 0
  
  $ KV_CLI_STYLE=old "$KV_CLI" /c2 show drivestatus
  # of ports: 2
  \tPort 0: KV-DISK-80 S000 74.53 GB (156301488 blocks): OK(NO UNIT) (esc)
  \tPort 1: NOT-PRESENT (esc)
  
  $ "$KV_CLI" /c0 show iostat
  
  Object  Status           Unit   P-IO
  ------------------------------------
  /c0     -                -      0       
  /c0/p0  OK               u0     0       
  /c0/p1  OK               u0     0       
  /c0/p2  OK               u1     0       
  /c0/p3  OK               u2     0       
  /c0/p4  OK               u2     0       
  /c0/p5  DEGRADED         u2     0       
  /c0/p6  OK               u3     0       
  /c0/p7  OK               u3     0       
  /c0/p8  OK               u3     0       
  /c0/p9  OK               u3     0       
  /c0/p10 OK               u4     0       
  /c0/p11 OK               u4     0       
  /c0/p12 OK               u4     0       
  /c0/p13 OK               u4     0       
  /c0/p14 OK               u5     0       
  /c0/p15 OK               u5     0       
  /c0/p16 OK               u5     0       
  /c0/p17 OK               u5     0       
  /c0/p18 OK               u5     0       
  /c0/p19 OK               u5     0       
  /c0/p20 OK               u6     0       
  /c0/p21 OK               u7     0       
  /c0/p22 OK               u10    0       
  /c0/p23 OK               -      0       
  /c0/p24 NOT-PRESENT      -      -       
  /c0/p25 NOT-PRESENT      -      -       
  
  $ "$KV_CLI" /c2 show iostat
  Error: (CLI:024) Invalid operation(s) for the specified controller.
  
  
  [1]

The old-style info reports: the controller report with the unit and drive
lists (a free drive reads NO UNIT, an empty port NOT-PRESENT), one unit,
one port (its block, or its row in the new style) and port attributes.

  $ KV_CLI_STYLE=old "$KV_CLI" info c0
  Controller: c0
  -------------
  Driver:   3.00.02.046
  Model:    KV-S620RE-24Q
  FW:       KF62 1.04.00.056
  BIOS:     KB62 1.04.00.007
  Monitor:  KL62 1.03.00.009
  Serial #: KVS20909-030211
  PCB:      Rev 021
  PCHIP:    1.20
  ACHIP:    1.20
  
  
  # of units: 9
  \tUnit 0: RAID 0 931.52 GB ( 1953546336 blocks): OK (esc)
  \tUnit 1: RAID 1 465.76 GB ( 976773168 blocks): DEGRADED (esc)
  \tUnit 2: RAID 5 931.52 GB ( 1953546336 blocks): REBUILDING (40%) (esc)
  \tUnit 3: RAID 6 931.52 GB ( 1953546336 blocks): VERIFYING (60%) (esc)
  \tUnit 4: RAID 10 931.52 GB ( 1953546336 blocks): INITIALIZING (25%) (esc)
  \tUnit 5: RAID 50 1.82 TB ( 3907092672 blocks): OK (esc)
  \tUnit 6: Single Disk 465.76 GB ( 976773168 blocks): OK (esc)
  \tUnit 7: SPARE 465.76 GB ( 976773168 blocks): OK (esc)
  \tUnit 10: JBOD 465.76 GB ( 976773168 blocks): OK (esc)
  
  # of ports: 26
  \tPort 0: KV-DISK-500 S000 465.76 GB (976773168 blocks): OK(unit 0) (esc)
  \tPort 1: KV-DISK-500 S001 465.76 GB (976773168 blocks): OK(unit 0) (esc)
  \tPort 2: KV-DISK-500 S002 465.76 GB (976773168 blocks): OK(unit 1) (esc)
  \tPort 3: KV-DISK-500 S003 465.76 GB (976773168 blocks): OK(unit 2) (esc)
  \tPort 4: KV-DISK-500 S004 465.76 GB (976773168 blocks): OK(unit 2) (esc)
  \tPort 5: KV-DISK-500 S005 465.76 GB (976773168 blocks): OK(unit 2) (esc)
  \tPort 6: KV-DISK-500 S006 465.76 GB (976773168 blocks): OK(unit 3) (esc)
  \tPort 7: KV-DISK-500 S007 465.76 GB (976773168 blocks): OK(unit 3) (esc)
  \tPort 8: KV-DISK-500 S008 465.76 GB (976773168 blocks): OK(unit 3) (esc)
  \tPort 9: KV-DISK-500 S009 465.76 GB (976773168 blocks): OK(unit 3) (esc)
  \tPort 10: KV-DISK-500 S010 465.76 GB (976773168 blocks): OK(unit 4) (esc)
  \tPort 11: KV-DISK-500 S011 465.76 GB (976773168 blocks): OK(unit 4) (esc)
  \tPort 12: KV-DISK-500 S012 465.76 GB (976773168 blocks): OK(unit 4) (esc)
  \tPort 13: KV-DISK-500 S013 465.76 GB (976773168 blocks): OK(unit 4) (esc)
  \tPort 14: KV-DISK-500 S014 465.76 GB (976773168 blocks): OK(unit 5) (esc)
  \tPort 15: KV-DISK-500 S015 465.76 GB (976773168 blocks): OK(unit 5) (esc)
  \tPort 16: KV-DISK-500 S016 465.76 GB (976773168 blocks): OK(unit 5) (esc)
  \tPort 17: KV-DISK-500 S017 465.76 GB (976773168 blocks): OK(unit 5) (esc)
  \tPort 18: KV-DISK-500 S018 465.76 GB (976773168 blocks): OK(unit 5) (esc)
  \tPort 19: KV-DISK-500 S019 465.76 GB (976773168 blocks): OK(unit 5) (esc)
  \tPort 20: KV-DISK-500 S020 465.76 GB (976773168 blocks): OK(unit 6) (esc)
  \tPort 21: KV-DISK-500 S021 465.76 GB (976773168 blocks): OK(unit 7) (esc)
  \tPort 22: KV-DISK-500 S022 465.76 GB (976773168 blocks): OK(unit 10) (esc)
  \tPort 23: KV-DISK-500 S023 465.76 GB (976773168 blocks): OK(NO UNIT) (esc)
  \tPort 24: NOT-PRESENT (esc)
  \tPort 25: NOT-PRESENT (esc)
  
  $ "$KV_CLI" info c0 u3
  
  Unit     UnitType  Status         %RCmpl  %V/I/M  Port  Stripe  Size(GB)
  ------------------------------------------------------------------------
  u3       RAID-6    VERIFYING*     -       60%(A)  -     64K     931.523   
  u3-0     DISK      OK             -       -       p6    -       465.762   
  u3-1     DISK      OK             -       -       p7    -       465.762   
  u3-2     DISK      OK             -       -       p8    -       465.762   
  u3-3     DISK      OK             -       -       p9    -       465.762   
  u3/v0    Volume    -              -       -       -     -       931.523   
  
  $ KV_CLI_STYLE=old "$KV_CLI" info c0 p23
  Controller 0, Port 23
  ----------------------
  Status:    OK
  Model:     KV-DISK-500
  Size:      465.76 GB (976773168 blocks)
  Serial #:  S023
  FW:        FW23
  Unit:      NO UNIT
  
  $ KV_CLI_STYLE=old "$KV_CLI" info c1 p0
  Controller 1, Port 0
  ----------------------
  Status:    OK
  Model:     KV-SAS-1TB
  Size:      931.51 GB (1953525168 blocks)
  Serial #:  S000
  FW:        FW00
  Unit:      0
  
  $ "$KV_CLI" info c1 p0
  
  VPort Status         Unit Size      Type  Phy Encl-Slot    Model
  ------------------------------------------------------------------------------
  p0    OK             u0   931.51 GB SAS   -   -            KV-SAS-1TB          
  
  $ "$KV_CLI" info c0 p24
  
  Port   Status           Unit   Size        Blocks        Serial
  ---------------------------------------------------------------
  p24    NOT-PRESENT      -      -           -             -
  
  $ KV_CLI_STYLE=old "$KV_CLI" info c0 p24
  Error: (CLI:020) Invalid operation for the current state of the specified port.
  
  
  [1]
  $ "$KV_CLI" info c0 p0 status model serial capacity firmware
  /c0/p0 Status = OK
  /c0/p0 Model = KV-DISK-500
  /c0/p0 Serial = S000
  /c0/p0 Capacity = 465.76 GB (976773168 Blocks)
  /c0/p0 Firmware Version = FW00
  
  $ "$KV_CLI" info c0 p0 status speed
  /c0/p0 Status = OK
  Error: (CLI:012) Invalid argument in info command.
  
  
  [1]
  $ "$KV_CLI" info c0 p1x
  Error: (CLI:009) Invalid port specified.
  
  
  [1]
  $ "$KV_CLI" info c0 model firmware
  Error: (CLI:012) Invalid argument in info command.
  
  
  [1]
  $ "$KV_CLI" info c2 model
  /c2 Model = KV-R420RX-4HB
  
  $ "$KV_CLI" info c2
  
  Unit  UnitType  Status         %RCmpl  %V/I/M  Stripe  Size(GB)  Cache  AVrfy
  ------------------------------------------------------------------------------
  
  Port   Status           Unit   Size        Blocks        Serial
  ---------------------------------------------------------------
  p0     OK               -      74.53 GB    156301488     S000                
  p1     NOT-PRESENT      -      -           -             -
  

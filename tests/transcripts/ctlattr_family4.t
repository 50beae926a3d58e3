Every attribute word of a family-4 controller's show command: firmware
level 30, a mirror, a degraded mirror and a spare, every policy set away
from the emulated controller's default, spin-ups disabled and a battery.

  $ cp "$FIXTURES/ctlattr/family4.json" host.json && export KV_EMULATED_HOST="$PWD/host.json"

The "show all" list of family 4: the port, drive and unit counts, the JBOD
export, spin-up and cache-on-degrade policies, and none of the words that
need family 6.

  $ "$KV_CLI" /c0 show all
  /c0 Driver Version = 3.00.02.046
  /c0 Model = KV-R420RX-8HB
  /c0 Available Memory = 1GB
  /c0 Firmware Version = KF62 5.00.00.010
  /c0 Bios Version = KB62 5.00.00.003
  /c0 Boot Loader Version = KL62 5.00.00.005
  /c0 Serial Number = KVS12010-000004
  /c0 PCB Version = Rev 012
  /c0 PCHIP Version = 2.20
  /c0 ACHIP Version = 2.10
  /c0 Number of Ports = 4
  /c0 Number of Drives = 4
  /c0 Number of Units = 3
  /c0 Total Optimal Units = 2
  /c0 Not Optimal Units = 1 
  /c0 JBOD Export Policy = on
  /c0 Disk Spinup Policy = Disabled
  /c0 Spinup Stagger Time Policy (sec) = N/A
  /c0 Cache on Degrade Policy = Cache Off
  
  Unit  UnitType  Status         %RCmpl  %V/I/M  Stripe  Size(GB)  Cache  AVrfy
  ------------------------------------------------------------------------------
  u0    RAID-1    OK             -       -       -       465.762   ON     OFF    
  u1    RAID-1    DEGRADED       -       -       -       465.762   ON     OFF    
  u2    SPARE     OK             -       -       -       465.762   -      OFF    
  
  Port   Status           Unit   Size        Blocks        Serial
  ---------------------------------------------------------------
  p0     OK               u0     465.76 GB   976773168     S000                
  p1     OK               u0     465.76 GB   976773168     S001                
  p2     OK               u1     465.76 GB   976773168     S002                
  p3     OK               u2     465.76 GB   976773168     S003                
  
  Name  OnlineState  BBUReady  Status    Volt     Temp     Hours  LastCapTest
  ---------------------------------------------------------------------------
  bbu   On           Yes       OK        OK       OK       72     03-Mar-2026  
  

Each word alone. A spin-up count of 255 shows "Disabled" and, with a
stagger time of 0, the stagger time "N/A". Auto-rebuild needs family 6,
and the library reads the host bus from family 6 on; the counts and
limits of family 8, the phy table and mode page control are refused; the
task modes need firmware level 37.

  $ . "$TESTDIR/batch.sh"
  $ nonempty() { grep -v '^$'; }
  $ lines=(); for word in driver model memory firmware bios monitor serial pcb pchip achip \
  >     numports numunits numdrives exportjbod spinup stagger ondegrade ignorefuawrite \
  >     forcedrivecacheon avmode lbareorder autocarve carvesize autorebuild ctlbus \
  >     rebuildrate verifyrate rebuildmode verifymode connectioncnt activedrvcnt drvcnt \
  >     unitcnt activeunitcnt maxdrivesperunit ctlrphys sata_encl_lim sas_encl_lim phy \
  >     modepgctl foo; do
  >   lines+=("/c0 show $word")
  > done; kv_each nonempty "${lines[@]}"
  /c0 Driver Version = 3.00.02.046
  /c0 Model = KV-R420RX-8HB
  /c0 Available Memory = 1GB
  /c0 Firmware Version = KF62 5.00.00.010
  /c0 Bios Version = KB62 5.00.00.003
  /c0 Boot Loader Version = KL62 5.00.00.005
  /c0 Serial Number = KVS12010-000004
  /c0 PCB Version = Rev 012
  /c0 PCHIP Version = 2.20
  /c0 ACHIP Version = 2.10
  /c0 Number of Ports = 4
  /c0 Number of Units = 3
  /c0 Number of Drives = 4
  /c0 JBOD Export Policy = on
  /c0 Disk Spinup Policy = Disabled
  /c0 Spinup Stagger Time Policy (sec) = N/A
  /c0 Cache on Degrade Policy = Cache Off
  /c0 Ignore FUA on Write Policy = ON
  /c0 Force Drive Cache On       = ON
  /c0 AV Mode Policy = on
  /c0 LBA Reordering state = off
  /c0 Auto-Carving Policy = on
  /c0 Auto-Carving Size = 1024 GB
  /c0 Auto-Rebuild Policy = Not Supported.
  /c0 Controller Bus Type = Error
  /c0 Controller Bus Width = Error
  /c0 Controller Bus Speed = Error
  (0x0B:0x0002): Feature not supported
  /c0 Rebuild background task rate = 1 (fastest I/O; slowest Rebuild)
  /c0 Verify background task rate = 5 (fastest Verify; slowest I/O)
  Error: (CLI:149) Feature not supported.
  Error: (CLI:149) Feature not supported.
  Error: (CLI:024) Invalid operation(s) for the specified controller.
  Error: (CLI:024) Invalid operation(s) for the specified controller.
  Error: (CLI:024) Invalid operation(s) for the specified controller.
  Error: (CLI:024) Invalid operation(s) for the specified controller.
  Error: (CLI:024) Invalid operation(s) for the specified controller.
  Error: (CLI:024) Invalid operation(s) for the specified controller.
  Error: (CLI:024) Invalid operation(s) for the specified controller.
  Error: (CLI:024) Invalid operation(s) for the specified controller.
  Error: (CLI:024) Invalid operation(s) for the specified controller.
  Error: (CLI:024) Invalid operation(s) for the specified controller.
  Error: (CLI:024) Invalid operation(s) for the specified controller.
  'foo' is not a valid controller parameter of the show command.

The unit totals: the degraded mirror is the one unit that is not optimal.

  $ "$KV_CLI" /c0 show numunits allunitstatus
  /c0 Number of Units = 3
  /c0 Total Optimal Units = 2
  /c0 Not Optimal Units = 1 
  

The tables in both output styles.

  $ "$KV_CLI" /c0 show unitstatus drivestatus
  
  Unit  UnitType  Status         %RCmpl  %V/I/M  Stripe  Size(GB)  Cache  AVrfy
  ------------------------------------------------------------------------------
  u0    RAID-1    OK             -       -       -       465.762   ON     OFF    
  u1    RAID-1    DEGRADED       -       -       -       465.762   ON     OFF    
  u2    SPARE     OK             -       -       -       465.762   -      OFF    
  
  Port   Status           Unit   Size        Blocks        Serial
  ---------------------------------------------------------------
  p0     OK               u0     465.76 GB   976773168     S000                
  p1     OK               u0     465.76 GB   976773168     S001                
  p2     OK               u1     465.76 GB   976773168     S002                
  p3     OK               u2     465.76 GB   976773168     S003                
  
  $ KV_CLI_STYLE=old "$KV_CLI" /c0 show unitstatus drivestatus bbustatus
  # of units: 3
  \tUnit 0: RAID 1 465.76 GB ( 976773168 blocks): OK (esc)
  \tUnit 1: RAID 1 465.76 GB ( 976773168 blocks): DEGRADED (esc)
  \tUnit 2: SPARE 465.76 GB ( 976773168 blocks): OK (esc)
  # of ports: 4
  \tPort 0: KV-DISK-500 S000 465.76 GB (976773168 blocks): OK(unit 0) (esc)
  \tPort 1: KV-DISK-500 S001 465.76 GB (976773168 blocks): OK(unit 0) (esc)
  \tPort 2: KV-DISK-500 S002 465.76 GB (976773168 blocks): OK(unit 1) (esc)
  \tPort 3: KV-DISK-500 S003 465.76 GB (976773168 blocks): OK(unit 2) (esc)
  
  Name  OnlineState  BBUReady  Status    Volt     Temp     Hours  LastCapTest
  ---------------------------------------------------------------------------
  bbu   On           Yes       OK        OK       OK       72     03-Mar-2026  
  
  $ "$KV_CLI" /c0 show verify
  
  Verify Schedule for Controller /c0
  ========================================================
  Slot\tDay\tHour\t\tDuration\tStatus (esc)
  --------------------------------------------------------
  1\tSun\t12:00am\t\t24 hr(s)\tdisabled (esc)
  2\tMon\t12:00am\t\t24 hr(s)\tdisabled (esc)
  3\tTue\t12:00am\t\t24 hr(s)\tdisabled (esc)
  4\tWed\t12:00am\t\t24 hr(s)\tdisabled (esc)
  5\tThu\t12:00am\t\t24 hr(s)\tdisabled (esc)
  6\tFri\t12:00am\t\t24 hr(s)\tdisabled (esc)
  7\tSat\t12:00am\t\t24 hr(s)\tdisabled (esc)
  
  

The old-style info command reaches the same words; a second word after an
attribute is refused.

  $ "$KV_CLI" info c0 stagger
  /c0 Spinup Stagger Time Policy (sec) = N/A
  
  $ "$KV_CLI" info c0 model firmware
  Error: (CLI:012) Invalid argument in info command.
  
  
  [1]

A policy that cannot be read. The JBOD export, force-drive-cache and AV
mode lines print "Failed." first, LBA reordering " ... Failed."; the
spin-up and cache-on-degrade values end the command with the library's
message alone.

  $ . "$FIXTURES/ctlattr/faults.sh"
  $ fault 1027 17 && "$KV_CLI" /c0 show exportjbod
  Failed.
  (0x03:0x0204): Drive timeout
  
  
  [1]
  $ fault 1027 23 && "$KV_CLI" /c0 show forcedrivecacheon
  Failed.
  (0x03:0x0204): Drive timeout
  
  
  [1]
  $ fault 1027 10 && "$KV_CLI" /c0 show avmode
  Failed.
  (0x03:0x0204): Drive timeout
  
  
  [1]
  $ fault 10 5 && "$KV_CLI" /c0 show lbareorder
   ... Failed.
  (0x03:0x0204): Drive timeout
  
  
  [1]
  $ fault 1027 7 && "$KV_CLI" /c0 show spinup
  (0x03:0x0204): Drive timeout
  
  
  [1]
  $ fault 1027 18 && "$KV_CLI" /c0 show ondegrade
  (0x03:0x0204): Drive timeout
  
  
  [1]
  $ fault 1027 22 && "$KV_CLI" /c0 show ignorefuawrite
  Failed.
  (0x03:0x0204): Drive timeout
  
  
  [1]

Within "show all" the failing JBOD export policy ends the list after the
lines before it.

  $ fault 1027 17 && "$KV_CLI" /c0 show all 2>&1 | tail -6
  /c0 Total Optimal Units = 2
  /c0 Not Optimal Units = 1 
  Failed.
  (0x03:0x0204): Drive timeout
  
  

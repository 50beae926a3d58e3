Every attribute word of family-7 controllers, whose words depend on the
firmware compatibility level: c0 at level 35 has no phys and no task
modes, c1 at level 37 has one phy per port and low latency rebuilds. Both
sit on a PCIe bus.

  $ cp "$FIXTURES/ctlattr/family7.json" host.json && export KV_EMULATED_HOST="$PWD/host.json"

The "show all" lists: the same words for both, the task modes only at
level 37.

  $ "$KV_CLI" /c0 show all
  /c0 Driver Version = 3.00.02.046
  /c0 Model = KV-T720RA-4N
  /c0 Available Memory = 512KB
  /c0 Firmware Version = KF62 1.00.00.012
  /c0 Bios Version = KB62 1.00.00.003
  /c0 Boot Loader Version = KL62 1.00.00.005
  /c0 Serial Number = KVS20909-030207
  /c0 PCB Version = Rev 013
  /c0 PCHIP Version = 3.20
  /c0 ACHIP Version = 3.10
  /c0 Number of Ports = 4
  /c0 Number of Drives = 2
  /c0 Number of Units = 1
  /c0 Total Optimal Units = 0
  /c0 Not Optimal Units = 1 
  /c0 JBOD Export Policy = off
  /c0 Disk Spinup Policy = 1
  /c0 Spinup Stagger Time Policy (sec) = 2
  /c0 Auto-Carving Policy = off
  /c0 Auto-Carving Size = 0 GB
  /c0 Auto-Rebuild Policy = on
  /c0 Rebuild Rate = 3
  /c0 Verify Rate = 3
  /c0 Controller Bus Type = PCIe
  /c0 Controller Bus Width = 4 lanes
  /c0 Controller Bus Speed = 2.5 Gbps/lane
  
  Unit  UnitType  Status         %RCmpl  %V/I/M  Stripe  Size(GB)  Cache  AVrfy
  ------------------------------------------------------------------------------
  u0    RAID-1    REBUILDING     12%     -       -       465.762   ON     OFF    
  
  Port   Status           Unit   Size        Blocks        Serial
  ---------------------------------------------------------------
  p0     OK               u0     465.76 GB   976773168     S000                
  p1     DEGRADED         u0     465.76 GB   976773168     S001                
  p2     NOT-PRESENT      -      -           -             -
  p3     NOT-PRESENT      -      -           -             -
  
  $ "$KV_CLI" /c1 show all
  /c1 Driver Version = 3.00.02.046
  /c1 Model = KV-T720RA-8N
  /c1 Available Memory = 256MB
  /c1 Firmware Version = KF62 1.00.00.018
  /c1 Bios Version = KB62 1.00.00.003
  /c1 Boot Loader Version = KL62 1.00.00.005
  /c1 Serial Number = KVS20909-030217
  /c1 PCB Version = Rev 013
  /c1 PCHIP Version = 3.20
  /c1 ACHIP Version = 3.10
  /c1 Number of Ports = 4
  /c1 Number of Drives = 3
  /c1 Number of Units = 0
  /c1 Total Optimal Units = 0
  /c1 Not Optimal Units = 0 
  /c1 JBOD Export Policy = off
  /c1 Disk Spinup Policy = 1
  /c1 Spinup Stagger Time Policy (sec) = 2
  /c1 Auto-Carving Policy = off
  /c1 Auto-Carving Size = 0 GB
  /c1 Auto-Rebuild Policy = on
  /c1 Rebuild Mode = Low Latency
  /c1 Rebuild Rate = 1
  /c1 Verify Mode = Adaptive
  /c1 Verify Rate = 3
  /c1 Controller Bus Type = PCIe
  /c1 Controller Bus Width = 16 lanes
  /c1 Controller Bus Speed = 2.5 Gbps/lane
  
  Unit  UnitType  Status         %RCmpl  %V/I/M  Stripe  Size(GB)  Cache  AVrfy
  ------------------------------------------------------------------------------
  
  Port   Status           Unit   Size        Blocks        Serial
  ---------------------------------------------------------------
  p0     OK               -      465.76 GB   976773168     S000                
  p1     NOT-PRESENT      -      -           -             -
  p2     OK               -      465.76 GB   976773168     S002                
  p3     OK               -      465.76 GB   976773168     S003                
  

Each word alone on both controllers.

  $ . "$TESTDIR/batch.sh"
  $ nonempty() { grep -v '^$'; }
  $ lines=(); for word in driver model memory firmware bios monitor serial pcb pchip achip \
  >     numports numunits numdrives exportjbod spinup stagger ondegrade ignorefuawrite \
  >     forcedrivecacheon avmode lbareorder autocarve carvesize autorebuild ctlbus \
  >     rebuildrate verifyrate rebuildmode verifymode connectioncnt activedrvcnt drvcnt \
  >     unitcnt activeunitcnt maxdrivesperunit ctlrphys sata_encl_lim sas_encl_lim \
  >     modepgctl bbustatus foo; do
  >   lines+=("/c0 show $word")
  >   lines+=("/c1 show $word")
  > done; kv_each nonempty "${lines[@]}"
  /c0 Driver Version = 3.00.02.046
  /c1 Driver Version = 3.00.02.046
  /c0 Model = KV-T720RA-4N
  /c1 Model = KV-T720RA-8N
  /c0 Available Memory = 512KB
  /c1 Available Memory = 256MB
  /c0 Firmware Version = KF62 1.00.00.012
  /c1 Firmware Version = KF62 1.00.00.018
  /c0 Bios Version = KB62 1.00.00.003
  /c1 Bios Version = KB62 1.00.00.003
  /c0 Boot Loader Version = KL62 1.00.00.005
  /c1 Boot Loader Version = KL62 1.00.00.005
  /c0 Serial Number = KVS20909-030207
  /c1 Serial Number = KVS20909-030217
  /c0 PCB Version = Rev 013
  /c1 PCB Version = Rev 013
  /c0 PCHIP Version = 3.20
  /c1 PCHIP Version = 3.20
  /c0 ACHIP Version = 3.10
  /c1 ACHIP Version = 3.10
  /c0 Number of Ports = 4
  /c1 Number of Ports = 4
  /c0 Number of Units = 1
  /c1 Number of Units = 0
  /c0 Number of Drives = 2
  /c1 Number of Drives = 3
  /c0 JBOD Export Policy = off
  /c1 JBOD Export Policy = off
  /c0 Disk Spinup Policy = 1
  /c1 Disk Spinup Policy = 1
  /c0 Spinup Stagger Time Policy (sec) = 2
  /c1 Spinup Stagger Time Policy (sec) = 2
  /c0 Cache on Degrade Policy = Not Supported
  /c1 Cache on Degrade Policy = Not Supported
  /c0 Ignore FUA on Write Policy = Not Supported
  /c1 Ignore FUA on Write Policy = Not Supported
  /c0 Force Drive Cache On       = OFF
  /c1 Force Drive Cache On       = OFF
  /c0 AV Mode Policy = off
  /c1 AV Mode Policy = off
  /c0 LBA Reordering state = on
  /c1 LBA Reordering state = on
  /c0 Auto-Carving Policy = off
  /c1 Auto-Carving Policy = off
  /c0 Auto-Carving Size = 0 GB
  /c1 Auto-Carving Size = 0 GB
  /c0 Auto-Rebuild Policy = on
  /c1 Auto-Rebuild Policy = on
  /c0 Controller Bus Type = PCIe
  /c0 Controller Bus Width = 4 lanes
  /c0 Controller Bus Speed = 2.5 Gbps/lane
  /c1 Controller Bus Type = PCIe
  /c1 Controller Bus Width = 16 lanes
  /c1 Controller Bus Speed = 2.5 Gbps/lane
  /c0 Rebuild background task rate = 3 (balanced Rebuild and I/O)
  /c1 Rebuild background task rate = 1 (fastest I/O; slowest Rebuild)
  /c0 Verify background task rate = 3 (balanced Verify and I/O)
  /c1 Verify background task rate = 3 (balanced Verify and I/O)
  Error: (CLI:149) Feature not supported.
  /c1 Rebuild background task mode = Low Latency
  Error: (CLI:149) Feature not supported.
  /c1 Verify background task mode = Adaptive
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
  'foo' is not a valid controller parameter of the show command.

The phy table needs level 36; family 7 reports no SAS addresses, and the
ports of directly attached drives appear in the device column.

  $ "$KV_CLI" /c0 show phy
  Error: (CLI:149) Feature not supported.
  
  
  [1]
  $ "$KV_CLI" /c1 show phy
  
                               Device              --- Link Speed (Gbps) ---
  Phy     SAS Addesss          Type     Device     Supported  Enabled  Control
  -----------------------------------------------------------------------------
  phy0    -                    SATA     /c1/p0     1.5-3.0    3.0      Auto   
  phy1    -                    -        -          1.5-3.0    -        Auto   
  phy2    -                    SATA     /c1/p2     1.5-3.0    3.0      Auto   
  phy3    -                    SAS      /c1/p3     1.5-3.0    3.0      Auto   
  

The old-style info command passes an attribute word to the same dispatcher.

  $ "$KV_CLI" info c1 rebuildmode
  /c1 Rebuild background task mode = Low Latency
  
  $ "$KV_CLI" info c0 allunitstatus
  /c0 Total Optimal Units = 0
  /c0 Not Optimal Units = 1 
  
  $ KV_CLI_STYLE=old "$KV_CLI" info c0 unitstatus
  # of units: 1
  \tUnit 0: RAID 1 465.76 GB ( 976773168 blocks): REBUILDING (12%) (esc)
  

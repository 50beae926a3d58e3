Every attribute word of a family-6 controller's show command: firmware
level 33, a PCI-X bus, units verifying, verify-paused and init-paused, no
battery.

  $ cp "$FIXTURES/ctlattr/family6.json" host.json && export KV_EMULATED_HOST="$PWD/host.json"

The "show all" list of family 6: the port counts, JBOD export and spin-up
policies, then the auto-carving, auto-rebuild, task and host bus words.
Below firmware level 37 the task modes print nothing in this list, and
without a battery the battery table is empty.

  $ "$KV_CLI" /c0 show all
  /c0 Driver Version = 3.00.02.046
  /c0 Model = KV-S620RE-8HBQH
  /c0 Available Memory = 1023MB
  /c0 Firmware Version = KF62 1.00.00.011
  /c0 Bios Version = KB62 1.00.00.003
  /c0 Boot Loader Version = KL62 1.00.00.005
  /c0 Serial Number = KVS20909-030206
  /c0 PCB Version = Rev 013
  /c0 PCHIP Version = 3.20
  /c0 ACHIP Version = 3.10
  /c0 Number of Ports = 8
  /c0 Number of Drives = 7
  /c0 Number of Units = 3
  /c0 Total Optimal Units = 2
  /c0 Not Optimal Units = 1 
  /c0 JBOD Export Policy = off
  /c0 Disk Spinup Policy = 4
  /c0 Spinup Stagger Time Policy (sec) = 6
  /c0 Auto-Carving Policy = off
  /c0 Auto-Carving Size = 2048 GB
  /c0 Auto-Rebuild Policy = off
  /c0 Rebuild Rate = 2
  /c0 Verify Rate = 4
  /c0 Controller Bus Type = PCIX
  /c0 Controller Bus Width = 64 bits
  /c0 Controller Bus Speed = 66 Mhz
  
  Unit  UnitType  Status         %RCmpl  %V/I/M  Stripe  Size(GB)  Cache  AVrfy
  ------------------------------------------------------------------------------
  u0    RAID-5    VERIFYING      -       30%     64K     931.523   ON     OFF    
  u1    RAID-1    VERIFY-PAUSED  -       70%     -       465.762   ON     OFF    
  u2    RAID-0    INIT-PAUSED    -       5%      64K     931.523   ON     OFF    
  
  Port   Status           Unit   Size        Blocks        Serial
  ---------------------------------------------------------------
  p0     OK               u0     465.76 GB   976773168     S000                
  p1     OK               u0     465.76 GB   976773168     S001                
  p2     OK               u0     465.76 GB   976773168     S002                
  p3     OK               u1     465.76 GB   976773168     S003                
  p4     OK               u1     465.76 GB   976773168     S004                
  p5     OK               u2     465.76 GB   976773168     S005                
  p6     OK               u2     465.76 GB   976773168     S006                
  p7     NOT-PRESENT      -      -           -             -
  

Each word alone. Asked for by itself, a task mode below level 37 is
refused; the policies of family 4 alone show "Not Supported"; the counts
and limits of family 8 and the phy table are refused.

  $ . "$TESTDIR/batch.sh"
  $ nonempty() { grep -v '^$'; }
  $ lines=(); for word in driver model memory firmware bios monitor serial pcb pchip achip \
  >     numports numunits numdrives exportjbod spinup stagger ondegrade ignorefuawrite \
  >     forcedrivecacheon avmode lbareorder autocarve carvesize autorebuild ctlbus \
  >     rebuildrate verifyrate rebuildmode verifymode connectioncnt activedrvcnt drvcnt \
  >     unitcnt activeunitcnt maxdrivesperunit ctlrphys sata_encl_lim sas_encl_lim phy \
  >     modepgctl bbustatus foo; do
  >   lines+=("/c0 show $word")
  > done; kv_each nonempty "${lines[@]}"
  /c0 Driver Version = 3.00.02.046
  /c0 Model = KV-S620RE-8HBQH
  /c0 Available Memory = 1023MB
  /c0 Firmware Version = KF62 1.00.00.011
  /c0 Bios Version = KB62 1.00.00.003
  /c0 Boot Loader Version = KL62 1.00.00.005
  /c0 Serial Number = KVS20909-030206
  /c0 PCB Version = Rev 013
  /c0 PCHIP Version = 3.20
  /c0 ACHIP Version = 3.10
  /c0 Number of Ports = 8
  /c0 Number of Units = 3
  /c0 Number of Drives = 7
  /c0 JBOD Export Policy = off
  /c0 Disk Spinup Policy = 4
  /c0 Spinup Stagger Time Policy (sec) = 6
  /c0 Cache on Degrade Policy = Not Supported
  /c0 Ignore FUA on Write Policy = Not Supported
  /c0 Force Drive Cache On       = OFF
  /c0 AV Mode Policy = off
  /c0 LBA Reordering state = on
  /c0 Auto-Carving Policy = off
  /c0 Auto-Carving Size = 2048 GB
  /c0 Auto-Rebuild Policy = off
  /c0 Controller Bus Type = PCIX
  /c0 Controller Bus Width = 64 bits
  /c0 Controller Bus Speed = 66 Mhz
  /c0 Rebuild background task rate = 2 (faster I/O; slower Rebuild)
  /c0 Verify background task rate = 4 (faster Verify; slower I/O)
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

A verifying and a verify-paused unit stay optimal, an init-paused one does
not.

  $ "$KV_CLI" /c0 show model allunitstatus
  /c0 Model = KV-S620RE-8HBQH
  /c0 Total Optimal Units = 2
  /c0 Not Optimal Units = 1 
  

The tables in both output styles.

  $ "$KV_CLI" /c0 show unitstatus drivestatus
  
  Unit  UnitType  Status         %RCmpl  %V/I/M  Stripe  Size(GB)  Cache  AVrfy
  ------------------------------------------------------------------------------
  u0    RAID-5    VERIFYING      -       30%     64K     931.523   ON     OFF    
  u1    RAID-1    VERIFY-PAUSED  -       70%     -       465.762   ON     OFF    
  u2    RAID-0    INIT-PAUSED    -       5%      64K     931.523   ON     OFF    
  
  Port   Status           Unit   Size        Blocks        Serial
  ---------------------------------------------------------------
  p0     OK               u0     465.76 GB   976773168     S000                
  p1     OK               u0     465.76 GB   976773168     S001                
  p2     OK               u0     465.76 GB   976773168     S002                
  p3     OK               u1     465.76 GB   976773168     S003                
  p4     OK               u1     465.76 GB   976773168     S004                
  p5     OK               u2     465.76 GB   976773168     S005                
  p6     OK               u2     465.76 GB   976773168     S006                
  p7     NOT-PRESENT      -      -           -             -
  
  $ KV_CLI_STYLE=old "$KV_CLI" /c0 show unitstatus drivestatus
  # of units: 3
  \tUnit 0: RAID 5 931.52 GB ( 1953546336 blocks): VERIFYING (30%) (esc)
  \tUnit 1: RAID 1 465.76 GB ( 976773168 blocks): VERIFYING (70%) (esc)
  \tUnit 2: RAID 0 931.52 GB ( 1953546336 blocks): INITIALIZING (5%) (esc)
  # of ports: 8
  \tPort 0: KV-DISK-500 S000 465.76 GB (976773168 blocks): OK(unit 0) (esc)
  \tPort 1: KV-DISK-500 S001 465.76 GB (976773168 blocks): OK(unit 0) (esc)
  \tPort 2: KV-DISK-500 S002 465.76 GB (976773168 blocks): OK(unit 0) (esc)
  \tPort 3: KV-DISK-500 S003 465.76 GB (976773168 blocks): OK(unit 1) (esc)
  \tPort 4: KV-DISK-500 S004 465.76 GB (976773168 blocks): OK(unit 1) (esc)
  \tPort 5: KV-DISK-500 S005 465.76 GB (976773168 blocks): OK(unit 2) (esc)
  \tPort 6: KV-DISK-500 S006 465.76 GB (976773168 blocks): OK(unit 2) (esc)
  \tPort 7: NOT-PRESENT (esc)
  

The getters with a message mode: a failed read prints the library's
message on standard error and an empty value, and the command goes on.

  $ . "$FIXTURES/ctlattr/faults.sh"
  $ fault 1027 28 && "$KV_CLI" /c0 show autorebuild model 2>errors
  /c0 Auto-Rebuild Policy = 
  /c0 Model = KV-S620RE-8HBQH
  
  $ cat errors
  (0x03:0x0204): Drive timeout
  
  $ fault 1027 29 && "$KV_CLI" /c0 show carvesize 2>errors
  /c0 Auto-Carving Size = 
  
  $ cat errors
  (0x03:0x0204): Drive timeout
  

The controller reads the auto-carving policy quietly when it is built: a
read that fails only there leaves no trace; when the show's read fails
as well, its message goes to standard error.

  $ fault 1027 24 && "$KV_CLI" /c0 show autocarve 2>errors
  /c0 Auto-Carving Policy = off
  
  $ cat errors
  $ fault 1027 24 2 && "$KV_CLI" /c0 show autocarve 2>errors
  /c0 Auto-Carving Policy = 
  
  $ cat errors
  (0x03:0x0204): Drive timeout
  

A failed memory read prints its message on standard error and an empty
value; a failed model read prints its message on standard output, an
empty line and an empty value.

  $ fault 1026 10 && "$KV_CLI" /c0 show memory 2>errors
  /c0 Available Memory = 
  
  $ cat errors
  (0x03:0x0204): Drive timeout
  
  $ fault 1026 8 && "$KV_CLI" /c0 show model
  (0x03:0x0204): Drive timeout
  
  /c0 Model = 
  

At firmware level 37 the library of a model-6 controller still refuses to
read the task modes: the mode is not shown as adaptive. Alone, the
library's message ends the command; in "show all" it takes the mode's line
and the list goes on. The rates read as before. (At this level the unit
table's cache column asks for the read cache mode too, which the library
refuses alike, so "show all" then ends at the unit table.)

  $ jq '.machine.controllers[0].identity.compat_level = 37' host.json > changed.json
  $ cp changed.json host.json
  $ "$KV_CLI" /c0 show rebuildmode
  (0x0B:0x0002): Feature not supported
  
  
  [1]
  $ "$KV_CLI" /c0 show all > shown
  (0x0B:0x0002): Feature not supported
  
  
  [1]
  $ sed -n '/Auto-Rebuild/,/Bus Type/p' shown
  /c0 Auto-Rebuild Policy = off
  (0x0B:0x0002): Feature not supported
  
  /c0 Rebuild Rate = 2
  (0x0B:0x0002): Feature not supported
  
  /c0 Verify Rate = 4
  /c0 Controller Bus Type = PCIX
  $ "$KV_CLI" /c0 show rebuildrate verifyrate
  /c0 Rebuild background task rate = 2 (faster I/O; slower Rebuild)
  /c0 Verify background task rate = 4 (faster Verify; slower I/O)
  

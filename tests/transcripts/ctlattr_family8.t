Every attribute word of a family-8 controller's show command against one
controller: firmware level 37, four explicit phys, a degraded RAID-5, a
spare and a CBOD unit (which no count includes), the enclosure link speed
limits, mode page control and low latency task modes, a memory size that
reads 0, and a battery.

  $ cp "$FIXTURES/ctlattr/family8.json" host.json && export KV_EMULATED_HOST="$PWD/host.json"

The "show all" list of family 8: the counts and limits instead of the port
count, no JBOD export policy, the task modes and rates in summary form.

  $ "$KV_CLI" /c0 show all
  /c0 Driver Version = 3.00.02.046
  /c0 Model = KV-V820-4p
  /c0 Available Memory = 0KB
  /c0 Firmware Version = KF62 7.00.00.018
  /c0 Bios Version = KB62 7.00.00.003
  /c0 Boot Loader Version = KL62 7.00.00.005
  /c0 Serial Number = KVS26021-180208
  /c0 PCB Version = Rev 014
  /c0 PCHIP Version = 4.20
  /c0 ACHIP Version = 4.10
  /c0 Controller Phys = 4
  /c0 Connections = 4 of 128
  /c0 Drives = 4 of 4
  /c0 Units = 2 of 16
  /c0 Active Drives = 5 of 4
  /c0 Active Units = 1 of 8
  /c0 Max Drives Per Unit = 12
  /c0 Total Optimal Units = 1
  /c0 Not Optimal Units = 1 
  /c0 Disk Spinup Policy = 2
  /c0 Spinup Stagger Time Policy (sec) = 3
  /c0 Auto-Carving Policy = on
  /c0 Auto-Carving Size = 1024 GB
  /c0 Auto-Rebuild Policy = on
  /c0 Rebuild Mode = Low Latency
  /c0 Rebuild Rate = 5
  /c0 Verify Mode = Low Latency
  /c0 Verify Rate = 2
  /c0 Controller Bus Type = PCIe
  /c0 Controller Bus Width = 8 lanes
  /c0 Controller Bus Speed = 5.0 Gbps/lane
  
  Unit  UnitType  Status         %RCmpl  %V/I/M  Stripe  Size(GB)  Cache  AVrfy
  ------------------------------------------------------------------------------
  u0    RAID-5    DEGRADED       -       -       64K     931.523   RiW    OFF    
  u3    SPARE     OK             -       -       -       465.762   -      OFF    
  
  VPort Status         Unit Size      Type  Phy Encl-Slot    Model
  ------------------------------------------------------------------------------
  p0    OK             u0   465.76 GB SATA  0   -            KV-DISK-500         
  p1    OK             u0   465.76 GB SATA  1   -            KV-DISK-500         
  p2    OK             u3   465.76 GB SATA  2   -            KV-DISK-500         
  p3    OK             -    465.76 GB SATA  3   -            KV-DISK-500         
  
  Name  OnlineState  BBUReady  Status    Volt     Temp     Hours  LastCapTest
  ---------------------------------------------------------------------------
  bbu   On           Yes       OK        OK       OK       72     03-Mar-2026  
  

Each word alone. The count words print the count before " of " and the
limit after it; numports on family 8 shows the connections.

  $ . "$TESTDIR/batch.sh"
  $ nonempty() { grep -v '^$'; }
  $ lines=(); for word in driver model memory firmware bios monitor serial pcb pchip achip \
  >     numports numunits numdrives ctlrphys connectioncnt drvcnt unitcnt activedrvcnt \
  >     activeunitcnt maxdrivesperunit exportjbod spinup stagger ondegrade ignorefuawrite \
  >     forcedrivecacheon avmode lbareorder autocarve carvesize autorebuild \
  >     sata_encl_lim sas_encl_lim ctlbus rebuildrate rebuildmode verifyrate verifymode foo; do
  >   lines+=("/c0 show $word")
  > done; kv_each nonempty "${lines[@]}"
  /c0 Driver Version = 3.00.02.046
  /c0 Model = KV-V820-4p
  /c0 Available Memory = 0KB
  /c0 Firmware Version = KF62 7.00.00.018
  /c0 Bios Version = KB62 7.00.00.003
  /c0 Boot Loader Version = KL62 7.00.00.005
  /c0 Serial Number = KVS26021-180208
  /c0 PCB Version = Rev 014
  /c0 PCHIP Version = 4.20
  /c0 ACHIP Version = 4.10
  /c0 Connections = 4 of 128
  /c0 Number of Units = 2
  /c0 Number of Drives = 4
  /c0 Controller Phys = 4
  /c0 Connections = 4 of 128
  /c0 Drives = 4 of 4
  /c0 Units = 2 of 16
  /c0 Active Drives = 5 of 4
  /c0 Active Units = 1 of 8
  /c0 Max Drives Per Unit = 12
  /c0 JBOD Export Policy = off
  /c0 Disk Spinup Policy = 2
  /c0 Spinup Stagger Time Policy (sec) = 3
  /c0 Cache on Degrade Policy = Not Supported
  /c0 Ignore FUA on Write Policy = Not Supported
  /c0 Force Drive Cache On       = OFF
  /c0 AV Mode Policy = off
  /c0 LBA Reordering state = on
  /c0 Auto-Carving Policy = on
  /c0 Auto-Carving Size = 1024 GB
  /c0 Auto-Rebuild Policy = on
  /c0 SATA Drive Link Speed Control/Limit in Enclosures = 1.5 Gbps
  /c0 SAS Drive Link Speed Control/Limit in Enclosures = 3.0 Gbps
  /c0 Controller Bus Type = PCIe
  /c0 Controller Bus Width = 8 lanes
  /c0 Controller Bus Speed = 5.0 Gbps/lane
  /c0 Rebuild background task rate = 5 (fastest Rebuild; slowest I/O)
  /c0 Rebuild background task mode = Low Latency
  /c0 Verify background task rate = 2 (faster I/O; slower Verify)
  /c0 Verify background task mode = Low Latency
  'foo' is not a valid controller parameter of the show command.

The totals of optimal units (the spare counts, the CBOD unit does not) are
reached as a later word of a show command or by the old-style info
command; as the first word "allunitstatus" prints the whole list.

  $ "$KV_CLI" /c0 show model allunitstatus
  /c0 Model = KV-V820-4p
  /c0 Total Optimal Units = 1
  /c0 Not Optimal Units = 1 
  
  $ "$KV_CLI" info c0 allunitstatus
  /c0 Total Optimal Units = 1
  /c0 Not Optimal Units = 1 
  

The phy table: an address whose first byte is 0 shows "-", an enclosure
"N/A", an enclosure in error "-".

  $ "$KV_CLI" /c0 show phy
  
                               Device              --- Link Speed (Gbps) ---
  Phy     SAS Addesss          Type     Device     Supported  Enabled  Control
  -----------------------------------------------------------------------------
  phy0    5001d9f000000100     SATA     /c0/p0     1.5-3.0    3.0      Auto   
  phy1    -                    ENCL     N/A        3.0        3.0      3.0    
  phy2    5001d9f000000102     ENCL-ERR -          1.5        1.5      1.5    
  phy3    5001d9f000000103     -        -                     -        Auto   
  

Mode page control and the views that print whole tables.

  $ "$KV_CLI" /c0 show modepgctl
  /c0 Mode Page Control setting = Ignore
  
  $ "$KV_CLI" /c0 show modepgctl extra
  Error: (CLI:056) Invalid argument in show command.
  
  
  [1]
  $ "$KV_CLI" /c0 show unitstatus drivestatus bbustatus
  
  Unit  UnitType  Status         %RCmpl  %V/I/M  Stripe  Size(GB)  Cache  AVrfy
  ------------------------------------------------------------------------------
  u0    RAID-5    DEGRADED       -       -       64K     931.523   RiW    OFF    
  u3    SPARE     OK             -       -       -       465.762   -      OFF    
  
  VPort Status         Unit Size      Type  Phy Encl-Slot    Model
  ------------------------------------------------------------------------------
  p0    OK             u0   465.76 GB SATA  0   -            KV-DISK-500         
  p1    OK             u0   465.76 GB SATA  1   -            KV-DISK-500         
  p2    OK             u3   465.76 GB SATA  2   -            KV-DISK-500         
  p3    OK             -    465.76 GB SATA  3   -            KV-DISK-500         
  
  Name  OnlineState  BBUReady  Status    Volt     Temp     Hours  LastCapTest
  ---------------------------------------------------------------------------
  bbu   On           Yes       OK        OK       OK       72     03-Mar-2026  
  
  $ KV_CLI_STYLE=old "$KV_CLI" /c0 show unitstatus drivestatus
  # of units: 2
  \tUnit 0: RAID 5 931.52 GB ( 1953546336 blocks): DEGRADED (esc)
  \tUnit 3: SPARE 465.76 GB ( 976773168 blocks): OK (esc)
  # of ports: 4
  \tPort 0: KV-DISK-500 S000 465.76 GB (976773168 blocks): OK(unit 0) (esc)
  \tPort 1: KV-DISK-500 S001 465.76 GB (976773168 blocks): OK(unit 0) (esc)
  \tPort 2: KV-DISK-500 S002 465.76 GB (976773168 blocks): OK(unit 3) (esc)
  \tPort 3: KV-DISK-500 S003 465.76 GB (976773168 blocks): OK(NO UNIT) (esc)
  
  $ "$KV_CLI" /c0 show rebuild selftest
  
  Rebuild Schedule for Controller /c0
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
  
  Selftest Schedule for Controller /c0
  ========================================================
  Slot\tDay\tHour\t\tUDMA\t\tSMART (esc)
  --------------------------------------------------------
  1\tSun\t12:00am\t\tdisabled   \tdisabled (esc)
  2\tMon\t12:00am\t\tdisabled   \tdisabled (esc)
  3\tTue\t12:00am\t\tdisabled   \tdisabled (esc)
  4\tWed\t12:00am\t\tdisabled   \tdisabled (esc)
  5\tThu\t12:00am\t\tdisabled   \tdisabled (esc)
  6\tFri\t12:00am\t\tdisabled   \tdisabled (esc)
  7\tSat\t12:00am\t\tdisabled   \tdisabled (esc)
  

A memory size of 0 prints as 0KB and is asked for again on its next use.

  $ sed -i 's/^ "format": 1,$/ "format": 1,\n "request_log": "requests.jsonl",/' host.json
  $ "$KV_CLI" /c0 show memory memory
  /c0 Available Memory = 0KB
  /c0 Available Memory = 0KB
  
  $ grep '"table":1026' requests.jsonl | grep -c '"parameter":10'
  2

A link speed limit the texts do not know shows "N/A".

  $ sed -i 's/"sas_link_limit": 2/"sas_link_limit": 3/' host.json
  $ "$KV_CLI" /c0 show sas_encl_lim
  /c0 SAS Drive Link Speed Control/Limit in Enclosures = N/A
  

Reads that fail. The host bus prints "Error" three times before the
library's message; a task rate or mode that cannot be read ends the
command with the library's message, and in "show all" takes its line while
the list goes on; mode page
control leaves its line open; a phy whose current link speed cannot be
read ends the table in its row. The enclosure link limits and the counts
print "Failed." first.

  $ . "$FIXTURES/ctlattr/faults.sh"
  $ fault 1027 26 && "$KV_CLI" /c0 show ctlbus
  /c0 Controller Bus Type = Error
  /c0 Controller Bus Width = Error
  /c0 Controller Bus Speed = Error
  (0x03:0x0204): Drive timeout
  
  
  [1]
  $ fault 1036 5 && "$KV_CLI" /c0 show rebuildrate
  (0x03:0x0204): Drive timeout
  
  
  [1]
  $ fault 1036 14 && "$KV_CLI" /c0 show verifymode
  (0x03:0x0204): Drive timeout
  
  
  [1]
  $ fault 1036 6 && "$KV_CLI" /c0 show all > shown
  $ sed -n '/Rebuild Mode/,/Verify Mode/p;/Verify Mode/{n;p;n;p;n;p}' shown
  /c0 Rebuild Mode = Low Latency
  /c0 Rebuild Rate = 5
  /c0 Verify Mode = Low Latency
  (0x03:0x0204): Drive timeout
  
  /c0 Controller Bus Type = PCIe
  $ fault 1027 52 && "$KV_CLI" /c0 show modepgctl
  /c0 Mode Page Control setting = (0x03:0x0204): Drive timeout
  
  
  [1]
  $ fault 130 3 && "$KV_CLI" /c0 show phy
  
                               Device              --- Link Speed (Gbps) ---
  Phy     SAS Addesss          Type     Device     Supported  Enabled  Control
  -----------------------------------------------------------------------------
  phy0    5001d9f000000100     SATA     /c0/p0     1.5-3.0    3.0      Auto   
  phy1    -                    ENCL     N/A        3.0        3.0      3.0    
  phy2    5001d9f000000102     ENCL-ERR -          1.5        (0x03:0x0204): Drive timeout
  
  
  [1]
  $ fault 1027 37 && "$KV_CLI" /c0 show sata_encl_lim
  Failed.
  (0x03:0x0204): Drive timeout
  
  
  [1]
  $ fault 1027 40 && "$KV_CLI" /c0 show maxdrivesperunit
  Failed.
  (0x03:0x0204): Drive timeout
  
  
  [1]

A count over a list fails with the list: the unit summary read failing
after the tree is built fails the unit counts; failing every time, the
tree cannot be built and the controller is reported, not shown empty.
The connections are the port count of family 8, which prints the
library's message and counts 0, whether the port list or one drive's
connection count cannot be read.

  $ fault 3 3 1 4 && "$KV_CLI" /c0 show unitcnt
  (0x03:0x0204): Drive timeout
  
  
  [1]
  $ fault 3 3 1 4 && "$KV_CLI" /c0 show numunits
  (0x03:0x0204): Drive timeout
  
  
  [1]
  $ fault 3 3 '"always"' && "$KV_CLI" /c0 show all
  (0x03:0x0204): Drive timeout
  
  
  Error: (CLI:003) Specified controller does not exist.
  
  
  [1]
  $ fault 2 3 && "$KV_CLI" /c0 show connectioncnt
  (0x03:0x0204): Drive timeout
  
  /c0 Connections = 0 of 128
  
  $ fault 513 26 && "$KV_CLI" /c0 show connectioncnt
  (0x03:0x0204): Drive timeout
  
  /c0 Connections = 0 of 128
  

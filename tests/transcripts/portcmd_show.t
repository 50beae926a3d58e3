The attribute words of a port's "show" on controllers of every newer
family: c0 (family 8: SATA and SAS drives attached directly and behind an
SES enclosure, an empty port), c1 (family 6), c2 (family 7 without
compatibility level 36) and c3 (family 4).

  $ . "$TESTDIR/audit_log.sh"
  $ cp "$FIXTURES/portcmd/host.json" host.json && export KV_EMULATED_HOST="$PWD/host.json"
  $ . "$FIXTURES/ctlattr/faults.sh"

The drive row: the newest family's layout with phy or enclosure slot, the
older layout with blocks and serial; an empty port shows dashes.

  $ "$KV_CLI" /c0/p4 show
  
  VPort Status         Unit Size      Type  Phy Encl-Slot    Model
  ------------------------------------------------------------------------------
  p4    OK             -    465.76 GB SATA  -   /c0/e0/slt0  KV-SATA-500         
  
  $ "$KV_CLI" /c0/p3 show
  
  VPort Status         Unit Size      Type  Phy Encl-Slot    Model
  ------------------------------------------------------------------------------
  p3    NOT-PRESENT    -    -         -     -   -            -
  
  $ "$KV_CLI" /c1/p1 show
  
  Port   Status           Unit   Size        Blocks        Serial
  ---------------------------------------------------------------
  p1     NOT-PRESENT      -      -           -             -
  
  $ "$KV_CLI" /c2/p0 show
  
  Port   Status           Unit   Size        Blocks        Serial
  ---------------------------------------------------------------
  p0     OK               -      931.51 GB   1953525168    S420                
  

The unit column: "u?" for a free drive whose unit flags have bit 0 set,
"-" for a drive of a CBOD unit; in a degraded mirror each member shows
its own status.

  $ jq '.machine.controllers[0].drives[2].unit_flags = 1 | .machine.controllers[0].units += [{"number": 3, "type": "cbod", "members": [4]}] | .machine.controllers[0].units[0].state = "degraded" | .machine.controllers[0].units[0].member = 1' host.json > f.json
  $ KV_EMULATED_HOST="$PWD/f.json" "$KV_CLI" /c0 show | grep '^p[0124] '
  p0    OK             u0   465.76 GB SATA  0   -            KV-SATA-500         
  p1    DEGRADED       u0   465.76 GB SATA  1   -            KV-SATA-500         
  p2    OK             u?   931.51 GB SAS   2   -            KV-SAS-1TB          
  p4    OK             -    465.76 GB SATA  -   /c0/e0/slt0  KV-SATA-500         

"show all" lists each family's words: family 8 has the WWN and the drive
interface, family 7 the health values, family 6 neither; the SMART dump
only for a SATA drive (a SAS drive's list ends with the unit).

  $ "$KV_CLI" /c0/p0 show all | head -22
  /c0/p0 Status = OK
  /c0/p0 Model = KV-SATA-500
  /c0/p0 Firmware Version = FW01
  /c0/p0 Serial = S400
  /c0/p0 Capacity = 465.76 GB (976773168 Blocks)
  /c0/p0 WWN = 5001d9f2b1c2d3e4
  /c0/p0 Drive Type = SATA
  /c0/p0 Interface Type = Direct
  /c0/p0 Drive Ports = 1
  /c0/p0 Drive Connections = 1
  /c0/p0 Reallocated Sectors = 3
  /c0/p0 Power On Hours = 812
  /c0/p0 Temperature = Not available
  /c0/p0 Spindle Speed = 7200 RPM
  /c0/p0 Link Speed Supported = 1.5 Gbps and 3.0 Gbps
  /c0/p0 Link Speed = 3.0 Gbps
  /c0/p0 Queuing Supported = Yes
  /c0/p0 Queuing Enabled = Yes
  /c0/p0 Identify Status = N/A
  /c0/p0 Belongs to Unit = u0
  
  /c0/p0 Drive SMART Data:
  $ "$KV_CLI" /c0/p5 show all
  /c0/p5 Status = OK
  /c0/p5 Model = KV-SAS-1TB
  /c0/p5 Firmware Version = SA02
  /c0/p5 Serial = S405
  /c0/p5 Capacity = 931.51 GB (1953525168 Blocks)
  /c0/p5 WWN = 5001d9fd7e675905
  /c0/p5 Drive Type = SAS
  /c0/p5 Interface Type = Enclosure
  /c0/p5 Drive Ports = 1
  /c0/p5 Drive Connections = 1
  /c0/p5 Reallocated Sectors = 0
  /c0/p5 Power On Hours = 0
  /c0/p5 Temperature = 30 deg C
  /c0/p5 Spindle Speed = 7200 RPM
  /c0/p5 Link Speed Supported = 1.5 Gbps and 3.0 Gbps
  /c0/p5 Link Speed = 3.0 Gbps
  /c0/p5 Queuing Supported = Yes
  /c0/p5 Queuing Enabled = Yes
  /c0/p5 Identify Status = off
  /c0/p5 Belongs to Unit = u2
  
  $ "$KV_CLI" /c1/p0 show all | head -13
  /c1/p0 Status = OK
  /c1/p0 Model = KV-SATA-250
  /c1/p0 Firmware Version = FW02
  /c1/p0 Serial = S410
  /c1/p0 Capacity = 233.76 GB (490234752 Blocks)
  /c1/p0 Link Speed Supported = 1.5 Gbps and 3.0 Gbps
  /c1/p0 Link Speed = 3.0 Gbps
  /c1/p0 NCQ Supported = Yes
  /c1/p0 NCQ Enabled = Yes
  /c1/p0 Identify Status = N/A
  /c1/p0 Belongs to Unit = N/A
  
  /c1/p0 Drive SMART Data:
  $ "$KV_CLI" /c2/p0 show all
  /c2/p0 Status = OK
  /c2/p0 Model = KV-SAS-1TB
  /c2/p0 Firmware Version = SA02
  /c2/p0 Serial = S420
  /c2/p0 Capacity = 931.51 GB (1953525168 Blocks)
  /c2/p0 Reallocated Sectors = 0
  /c2/p0 Power On Hours = 17
  /c2/p0 Temperature = 41 deg C
  /c2/p0 Spindle Speed = 7200 RPM
  /c2/p0 Link Speed Supported = 1.5 Gbps and 3.0 Gbps
  /c2/p0 Link Speed = 3.0 Gbps
  /c2/p0 NCQ Supported = Yes
  /c2/p0 NCQ Enabled = Yes
  /c2/p0 Identify Status = N/A
  /c2/p0 Belongs to Unit = N/A
  

Below family 6 "all" still lists "smart": the drive type cannot be asked,
and the SMART dump then fails with the library's text after the other
lines.

  $ "$KV_CLI" /c3/p0 show all
  /c3/p0 Status = OK
  /c3/p0 Model = KV-SATA-250
  /c3/p0 Firmware Version = FW03
  /c3/p0 Serial = S430
  /c3/p0 Capacity = 233.76 GB (490234752 Blocks)
  /c3/p0 Belongs to Unit = N/A
  (0x0B:0x0002): Feature not supported
  
  
  [1]

The SMART dump: 32 lines of 16 bytes and an empty line.

  $ "$KV_CLI" /c2/p1 show smart | head -5
  
  /c2/p1 Drive SMART Data:
  10 00 01 0F 00 64 64 00 00 00 00 00 00 00 05 33 
  00 64 64 00 00 00 00 00 00 00 09 32 00 64 64 00 
  00 00 00 00 00 00 C2 22 00 64 64 1E 00 00 00 00 
  $ "$KV_CLI" /c2/p1 show smart | grep -c '^\([0-9A-F][0-9A-F] \)\{16\}$'
  32
  $ "$KV_CLI" /c2/p0 show smart
  Error: (CLI:142) SMART data is not supported for this drive type.
  
  
  [1]

Each SMART read is logged; the SAS drive was refused before any read.

  $ kv_audit_lines
  CLI [Get Drive SMART Data(controller=0, drive=0): Success]
  CLI [Get Drive SMART Data(controller=1, drive=0): Success]
  CLI [Get Drive SMART Data(controller=2, drive=1): Success]
  CLI [Get Drive SMART Data(controller=2, drive=1): Success]

Single words in order; an unknown word between two valid ones prints its
note and both lines. 65535 power-on hours read "N/A", a temperature of -1
"Not available".

  $ "$KV_CLI" /c0/p1 show status foo pohrs
  /c0/p1 Status = OK
  'foo' is not a valid port parameter of the show command.
  /c0/p1 Power On Hours = N/A
  
  $ "$KV_CLI" /c0/p0 show temperature driveinfo
  /c0/p0 Temperature = Not available
  /c0/p0 Drive Type = SATA
  /c0/p0 Interface Type = Direct
  /c0/p0 Drive Ports = 1
  /c0/p0 Drive Connections = 1
  
  $ "$KV_CLI" /c0/p2 show ncq lspeed identify unit
  /c0/p2 Queuing Supported = No
  /c0/p2 Queuing Enabled = Yes
  /c0/p2 Link Speed Supported = 1.5 Gbps and 3.0 Gbps
  /c0/p2 Link Speed = 3.0 Gbps
  /c0/p2 Identify Status = N/A
  /c0/p2 Belongs to Unit = N/A
  

The family and presence checks come before any output: "wwn" below family
8 is 34 even on an empty port, "status" on an empty port 20, the health
words below family 6 34.

  $ "$KV_CLI" /c1/p1 show wwn
  Error: (CLI:034) Invalid port command of the controller.
  
  
  [1]
  $ "$KV_CLI" /c0/p3 show status
  Error: (CLI:020) Invalid operation for the current state of the specified port.
  
  
  [1]

From family 6 "all" reads the drive type before it shows any word, so on
an empty port it ends with the controller's answer to that read.

  $ "$KV_CLI" /c0/p3 show all
  (0x03:0x010B): Parameter table does not exist
  
  
  [1]
  $ "$KV_CLI" /c3/p0 show rasect
  Error: (CLI:034) Invalid port command of the controller.
  
  
  [1]
  $ "$KV_CLI" /c0/p3 show unit
  Error: (CLI:020) Invalid operation for the current state of the specified port.
  
  
  [1]

The old output style prints the same lines.

  $ KV_CLI_STYLE=old "$KV_CLI" /c0/p0 show status model unit
  /c0/p0 Status = OK
  /c0/p0 Model = KV-SATA-500
  /c0/p0 Belongs to Unit = u0
  

A read that fails inside a count line prints "...Error!" and the
library's text and goes on with the next word; power-on hours end the
command; the WWN prints "... Error." and ends it; the queuing lines print
the error in the line and still try the second; a link speed ends the
command after its label; a drive status that cannot be read ends it with
the library's text, not as an empty port.

  $ fault 512 25 && "$KV_CLI" /c0/p0 show ports connections
  /c0/p0 Drive Ports = ...Error! 
  (0x03:0x0204): Drive timeout
  
  /c0/p0 Drive Connections = 1
  
  $ fault 512 20 && "$KV_CLI" /c0/p0 show pohrs status
  /c0/p0 Power On Hours = ...Error! 
  (0x03:0x0204): Drive timeout
  
  
  [1]
  $ fault 512 27 && "$KV_CLI" /c0/p0 show wwn
  /c0/p0 WWN = ... Error.
  (0x03:0x0204): Drive timeout
  
  
  [1]
  $ fault 512 15 && "$KV_CLI" /c1/p0 show ncq
  /c1/p0 NCQ Supported = (0x03:0x0204): Drive timeout
  /c1/p0 NCQ Enabled = Yes
  
  $ fault 512 16 && "$KV_CLI" /c0/p0 show ncq
  /c0/p0 Queuing Supported = Yes
  /c0/p0 Queuing Enabled = Error(0x03:0x0204): Drive timeout
  
  $ fault 512 17 && "$KV_CLI" /c0/p0 show lspeed
  /c0/p0 Link Speed Supported = (0x03:0x0204): Drive timeout
  
  
  [1]
  $ fault 512 18 && "$KV_CLI" /c0/p0 show lspeed
  /c0/p0 Link Speed Supported = 1.5 Gbps and 3.0 Gbps
  /c0/p0 Link Speed = (0x03:0x0204): Drive timeout
  
  
  [1]
  $ fault 2 3 && "$KV_CLI" /c0/p0 show status
  (0x03:0x0204): Drive timeout
  
  
  [1]

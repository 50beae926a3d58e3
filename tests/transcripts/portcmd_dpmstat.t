A port's drive performance statistics. c0 (family 8, level 37) keeps
statistics for the drive of p0 (a member of u0): a running average and
histogram, its copy on disk, a window of command samples with a tick of 1
ms, two long commands (the configuration announces three) and extended
counters; p2 holds a drive in no unit, p3 is empty. c1 is family 6, c2
family 7 below level 36, c3 family 4.

  $ cp "$FIXTURES/portcmd/host.json" host.json && export KV_EMULATED_HOST="$PWD/host.json"
  $ . "$FIXTURES/ctlattr/faults.sh"

No type is the instantaneous view, computed from the valid samples (the
third is not): two commands of 64 KiB within 1000 ticks of 1 ms, queue
depths 2 and 4, 1300 ticks of response time in all.

  $ "$KV_CLI" /c0/p0 show dpmstat
  
                                 Queue           Xfer         Resp
  Port   Status           Unit   Depth   IOPs    Rate(MB/s)   Time(ms)
  ---------------------------------------------------------------------
  p0     OK               u0     3       2       0.125        650       
  

Two types show two tables in order; the copy on disk; the extended
counters, where a value above 99999999 does not fit its column.

  $ "$KV_CLI" /c0/p0 show pmstat type=ra type=raondisk
  
                                 Queue           Xfer         Resp
  Port   Status           Unit   Depth   IOPs    Rate(MB/s)   Time(ms)
  ---------------------------------------------------------------------
  p0     OK               u0     2       120     3.000        7         
  
                                 Queue           Xfer         Resp
  Port   Status           Unit   Depth   IOPs    Rate(MB/s)   Time(ms)
  ---------------------------------------------------------------------
  p0     OK               u0     1       64      1.500        9         
  
  $ "$KV_CLI" /c0/p0 show dpmstat type=ext
  
                    Sectors                            Commands           
         -----------------------------  ----------------------------------------
  Port   Read      Write     Write-FUA  Read      Write     Write-FUA  Flush
  ------------------------------------------------------------------------------
  p0     99999999  ########  12         4096      2048      6          31        
  

A drive in no unit and an empty port show dashes in the statistics
columns.

  $ "$KV_CLI" /c0/p2 show dpmstat type=ra | tail -2
  p2     OK               -      -       -       -            -         
  
  $ "$KV_CLI" /c0/p3 show dpmstat type=inst | tail -2
  p3     NOT-PRESENT      -      -       -       -            -         
  

The histogram always has 38 rows, the last "10000+".

  $ "$KV_CLI" /c0/p0 show dpmstat type=histdata | sed -n 1,12p
  
                                
  Port   Status           Unit   
  ------------------------------
  p0     OK               u0     
  
  Bin     Response Time(ms)      IO Count
  -----------------------------------------------
  1       1                      5            
  2       2                      9            
  3       3                      0            
  4       4                      0            
  $ "$KV_CLI" /c0/p0 show dpmstat type=histdata | tail -3
  37      10000                  0            
  38      10000+                 2            
  
  $ "$KV_CLI" /c0/p0 show dpmstat type=histdataondisk | grep -c '^[0-9]'
  38

Long commands: as many rows as the configuration announces, a time stamp
in UTC or zeros, the response time in ms and the CDB; a drive in no unit
shows only the dates. A configuration of no long commands prints nothing.

  $ "$KV_CLI" /c0/p0 show dpmstat type=lct
  
                                
  Port   Status           Unit   
  ------------------------------
  p0     OK               u0     
  
                       Resp
  Date       Time      Time(ms) --------- CDB / ATA Task File (hex) -----------
  ------------------------------------------------------------------------------
  2026-12-10 12:00:00  35.000   2a 00 00 00 10 00 00 00 08 00 00 00 00 00 00 00 
  0000-00-00 00:00:00  00.000   28 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 
  0000-00-00 00:00:00  00.000   00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 
  
  $ "$KV_CLI" /c0/p2 show dpmstat type=lctondisk | tail -3
  0000-00-00 00:00:00  -        -                                              
  0000-00-00 00:00:00  -        -                                              
  
  $ jq '.machine.controllers[0].perf.config.long_commands = 0' host.json > f.json && mv f.json host.json
  $ "$KV_CLI" /c0/p0 show dpmstat type=lct
  
  $ jq '.machine.controllers[0].perf.config.long_commands = 1200' host.json > f.json && mv f.json host.json
  $ "$KV_CLI" /c0/p0 show dpmstat type=lct
  (0x0B:0x007A): Invalid argument or value
  
  
  [1]
  $ jq '.machine.controllers[0].perf.config.long_commands = 3' host.json > f.json && mv f.json host.json

A valid type shows its table before an unknown one is refused.

  $ "$KV_CLI" /c0/p2 show dpmstat type=inst type=bad
  
                                 Queue           Xfer         Resp
  Port   Status           Unit   Depth   IOPs    Rate(MB/s)   Time(ms)
  ---------------------------------------------------------------------
  p2     OK               -      -       -       -            -         
  Error: (CLI:146) Invalid performance statistics type in command.
  
  
  [1]

Without firmware level 36 the extended view and its clear print only the
note; below family 6 the clear is refused, while the views still read
(family 4's controller announces its default eight long commands).

  $ "$KV_CLI" /c2/p0 show dpmstat type=ext
  Extended drive statistics is not supported for this controller type/model.
  
  $ "$KV_CLI" /c2/p0 set dpmstat=clear type=ext
   ... 
  Extended drive statistics is not supported for this controller type/model.
  
  $ "$KV_CLI" /c3/p0 set dpmstat=clear
  Error: (CLI:149) Feature not supported.
  
  
  [1]
  $ "$KV_CLI" /c3/p0 show dpmstat type=lct
  
                                
  Port   Status           Unit   
  ------------------------------
  p0     OK               -      
  
                       Resp
  Date       Time      Time(ms) --------- CDB / ATA Task File (hex) -----------
  ------------------------------------------------------------------------------
  0000-00-00 00:00:00  -        -                                              
  0000-00-00 00:00:00  -        -                                              
  0000-00-00 00:00:00  -        -                                              
  0000-00-00 00:00:00  -        -                                              
  0000-00-00 00:00:00  -        -                                              
  0000-00-00 00:00:00  -        -                                              
  0000-00-00 00:00:00  -        -                                              
  0000-00-00 00:00:00  -        -                                              
  

Clearing: the running average (with the histogram) by default, then the
long commands and the extended counters; the views read zeros after it.

  $ "$KV_CLI" /c0/p0 set dpmstat=clear
  Clearing Drive Performance Monitor running average data on/c0/p0 ... Done.
  Please note this clears the Running Average and Histogram data.
  
  $ "$KV_CLI" /c0/p0 set pmstat=clear type=lct type=ext
  Clearing Drive Performance Monitor long command times data on /c0/p0 ... Done.
  Clearing Performance Monitor extended drive statistics on /c0/p0 ... Done.
  
  $ "$KV_CLI" /c0/p0 show dpmstat type=ra type=ext | grep '^p0'
  p0     OK               u0     0       0       0.000        0         
  p0     0         0         0          0         0         0          0         
  $ "$KV_CLI" /c0/p0 show dpmstat type=lct | tail -3
  0000-00-00 00:00:00  00.000   00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 
  0000-00-00 00:00:00  00.000   00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 
  
  $ "$KV_CLI" /c0/p0 show dpmstat type=histdata | grep '^[0-9]' | awk '$NF != 0' | wc -l
  0

A clear that fails prints "Failed." and the controller's text.

  $ fault 256 9 && "$KV_CLI" /c0/p0 set dpmstat=clear type=ext
  Clearing Performance Monitor extended drive statistics on /c0/p0 ... Failed.
  (0x03:0x0204): Drive timeout
  
  
  [1]

iostat: the port's entry of the controller's pending-I/O list of 16-bit
counters; an empty port is refused, and so is a family-4 controller.

  $ jq '.machine.controllers[0].perf.pending_list = [0,1,2,0,700,3]' host.json > f.json && mv f.json host.json
  $ "$KV_CLI" /c0/p5 show iostat
  
  Object  Status           Unit   P-IO
  ------------------------------------
  /c0/p5  OK               u2     3       
  
  $ "$KV_CLI" /c0/p4 show iostat | tail -2
  /c0/p4  OK               -      700     
  
  $ "$KV_CLI" /c0/p3 show iostat
  Error: (CLI:020) Invalid operation for the current state of the specified port.
  
  
  [1]
  $ "$KV_CLI" /c3/p0 show iostat
  Error: (CLI:034) Invalid port command of the controller.
  
  
  [1]

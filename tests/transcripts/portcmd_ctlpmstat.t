The controller's drive performance monitor: the "pmstat" setting and the
"pmstat" / "dpmstat" views with one row per port. c0 is family 8 (level
37) with statistics for the drive of p0, c1 family 6, c2 family 7 below
level 36, c3 family 4.

  $ cp "$FIXTURES/portcmd/host.json" host.json && export KV_EMULATED_HOST="$PWD/host.json"
  $ . "$FIXTURES/ctlattr/faults.sh"

No type: the configuration lines, then the instantaneous table; a family-8
controller lists only the ports that hold a drive, and shows the numbers
of a drive in no unit. Its reported port count is its seven connections,
yet the drive on p7 has its row: the tables walk every port.

  $ "$KV_CLI" /c0 show pmstat
  Drive Performance Monitor Configuration for /c0 ...
  Performance Monitor: ON
  Version: 2
  Capability: 3
  Max commands for averaging: 4
  Max latency commands to save: 3
  Requested data: Instantaneous Drive Statistics
  
                                 Queue           Xfer         Resp
  Port   Status           Unit   Depth   IOPs    Rate(MB/s)   Time(ms)
  ------------------------------------------------------------------------
  p0     OK               u0     3       2       0.125        650       
  p1     OK               u0     0       0       0.000        0         
  p2     OK               -      0       0       0.000        0         
  p4     OK               -      0       0       0.000        0         
  p5     OK               u2     0       0       0.000        0         
  p6     OK               u1     0       0       0.000        0         
  p7     OK               u1     0       0       0.000        0         
  
  $ "$KV_CLI" /c0 show dpmstat type=ra | tail -10
  Port   Status           Unit   Depth   IOPs    Rate(MB/s)   Time(ms)
  ------------------------------------------------------------------------
  p0     OK               u0     2       120     3.000        7         
  p1     OK               u0     0       0       0.000        0         
  p2     OK               -      0       0       0.000        0         
  p4     OK               -      0       0       0.000        0         
  p5     OK               u2     0       0       0.000        0         
  p6     OK               u1     0       0       0.000        0         
  p7     OK               u1     0       0       0.000        0         
  

The extended table has no configuration lines; without level 36 it is
refused. A family-6 controller lists every port; the capability line is
left out when the capability is 0.

  $ "$KV_CLI" /c0 show dpmstat type=ext
  Extended Drive Statistics for /c0 ...
  
                    Sectors                            Commands           
         -----------------------------  ---------------------------------------  
  Port   Read      Write     Write-FUA  Read      Write     Write-FUA  Flush
  ------------------------------------------------------------------------------
  p0     99999999  ########  12         4096      2048      6          31        
  p1     0         0         0          0         0         0          0         
  p2     0         0         0          0         0         0          0         
  p4     0         0         0          0         0         0          0         
  p5     0         0         0          0         0         0          0         
  p6     0         0         0          0         0         0          0         
  p7     0         0         0          0         0         0          0         
  
  $ "$KV_CLI" /c2 show dpmstat type=ext
  Error: (CLI:149) Feature not supported.
  
  
  [1]
  $ "$KV_CLI" /c1 show pmstat type=inst
  Drive Performance Monitor Configuration for /c1 ...
  Performance Monitor: OFF
  Version: 1
  Max commands for averaging: 32
  Max latency commands to save: 8
  Requested data: Instantaneous Drive Statistics
  
                                 Queue           Xfer         Resp
  Port   Status           Unit   Depth   IOPs    Rate(MB/s)   Time(ms)
  ------------------------------------------------------------------------
  p0     OK               -      -       -       -            -         
  p1     NOT-PRESENT      -      -       -       -            -         
  

Refusals: family 4 (149), a word on a line without "type=" (56), an
unknown type (146).

  $ "$KV_CLI" /c3 show pmstat
  Error: (CLI:149) Feature not supported.
  
  
  [1]
  $ "$KV_CLI" /c0 show pmstat ra
  Error: (CLI:056) Invalid argument in show command.
  
  
  [1]
  $ "$KV_CLI" /c0 show pmstat type=xyz
  Error: (CLI:146) Invalid performance statistics type in command.
  
  
  [1]

A failed configuration read ends the view after its failure line.

  $ fault 9 5 && "$KV_CLI" /c0 show pmstat
  Drive Performance Monitor Configuration for /c0 ...
  Performance Monitor: ON
  API pmstat config interface failed.
  

The switch: "pmstat=off" and "dpmstat=on" change it; a word after the
attribute word, another value and family 4 are refused; a failed write
prints "Failed." and the controller's text.

  $ "$KV_CLI" /c0 set pmstat=off
  Setting Drive Performance Monitoring on /c0 to [off] ... Done.
  
  $ "$KV_CLI" /c0 show pmstat | sed -n 2p
  Performance Monitor: OFF
  $ "$KV_CLI" /c0 set dpmstat=on
  Setting Drive Performance Monitoring on /c0 to [on] ... Done.
  
  $ "$KV_CLI" /c0 show pmstat | sed -n 2p
  Performance Monitor: ON
  $ "$KV_CLI" /c0 set pmstat=on now
  Error: (CLI:014) Invalid argument in set command.
  
  
  [1]
  $ "$KV_CLI" /c0 set pmstat=maybe
  Error: (CLI:014) Invalid argument in set command.
  
  
  [1]
  $ "$KV_CLI" /c3 set pmstat=on
  Error: (CLI:149) Feature not supported.
  
  
  [1]
  $ jq '.faults = [{"match": {"layer": "firmware", "opcode": 19, "table": 9, "parameter": 4}, "action": {"status": 1, "code": "0x0204"}}]' host.json > f.json && mv f.json host.json
  $ "$KV_CLI" /c0 set pmstat=off
  Setting Drive Performance Monitoring on /c0 to [off] ... Failed.
  (0x03:0x0204): Drive timeout
  
  
  [1]
  $ "$KV_CLI" /c0 show pmstat | sed -n 2p
  Performance Monitor: ON

A family-7 controller at level 36 with twelve ports, drives on p0, p2,
p10 and p11: the controller keeps statistics for every port, so the
extended table lists every port, empty ones with zero counters, by number
(p10 after p9); an empty port's own views show zeros and its clears are
taken.

  $ cp "$FIXTURES/portcmd/empty_ports.json" host.json
  $ "$KV_CLI" /c0 show dpmstat type=ext; echo "status $?"
  Extended Drive Statistics for /c0 ...
  
                    Sectors                            Commands           
         -----------------------------  ---------------------------------------  
  Port   Read      Write     Write-FUA  Read      Write     Write-FUA  Flush
  ------------------------------------------------------------------------------
  p0     10        20        0          1         2         0          0         
  p1     0         0         0          0         0         0          0         
  p2     0         0         0          0         0         0          0         
  p3     0         0         0          0         0         0          0         
  p4     0         0         0          0         0         0          0         
  p5     0         0         0          0         0         0          0         
  p6     0         0         0          0         0         0          0         
  p7     0         0         0          0         0         0          0         
  p8     0         0         0          0         0         0          0         
  p9     0         0         0          0         0         0          0         
  p10    100       0         0          0         0         0          5         
  p11    0         0         0          0         0         0          0         
  
  status 0
  $ "$KV_CLI" /c0/p1 show dpmstat type=ext | tail -2
  p1     0         0         0          0         0         0          0         
  
  $ "$KV_CLI" /c0/p1 show dpmstat type=lct | tail -2
  0000-00-00 00:00:00  -        -                                              
  
  $ "$KV_CLI" /c0/p1 show dpmstat type=histdata | grep -c '^[0-9].* 0 *$'
  38
  $ for type in ra lct ext; do "$KV_CLI" /c0/p1 set dpmstat=clear type=$type | grep -c Done; done
  1
  1
  1

The older-family controller: the default host's c2, a mirror of its two
drives.

  $ export KV_EMULATED_HOST="$PWD/host.json"
  $ "$KV_CLI" /c2 show
  
  Unit  UnitType  Status         %RCmpl  %V/I/M  Stripe  Size(GB)  Cache  AVrfy
  ------------------------------------------------------------------------------
  u0    RAID-1    OK             -       -       -       232.885   ON     -      
  
  Port   Status           Unit   Size        Blocks        Serial
  ---------------------------------------------------------------
  p0     OK               u0     232.88 GB   488397168     TQ0P004411          
  p1     OK               u0     232.88 GB   488397168     TQ0P004412          
  
  $ "$KV_CLI" /c2 show all | head -13
  /c2 Driver Version = 1.26.2.4
  /c2 Model = KV-P300-2HB
  /c2 Available Memory = 32MB
  /c2 Firmware Version = KF31 3.02.00.094
  /c2 Bios Version = KB30 3.04.00.074
  /c2 Boot Loader Version = KL30 3.03.00.055
  /c2 Serial Number = KVS19004-120043
  /c2 PCB Version = Rev 5
  /c2 PCHIP Version = 1.10
  /c2 ACHIP Version = 1.10
  /c2 Total Optimal Units = 1
  /c2 Not Optimal Units = 0 
  
  $ "$KV_CLI" /c2/u0 show
  
  Unit     UnitType  Status         %RCmpl  %V/I/M  Port  Stripe  Size(GB)
  ------------------------------------------------------------------------
  u0       RAID-1    OK             -       -       -     -       232.885   
  u0-0     DISK      OK             -       -       p0    -       232.885   
  u0-1     DISK      OK             -       -       p1    -       232.885   
  

The root "commit" sends every controller its commit request, the older
one included.

  $ "$KV_CLI" commit
  Committing transactions on controller /c0 ...Done.
  
  Committing transactions on controller /c1 ...Done.
  
  Committing transactions on controller /c2 ...Done.
  
  
The root "show diag" gives each controller's report in turn: the newer
ones (c0, c1) add their battery status word and their controller log,
the older one (c2) ends with its error log.

  $ "$KV_CLI" show diag | tr -d '\000' | grep -o -e 'Diagnostic Information on Controller //.*/c[0-9]' -e 'BBU status word' -e 'Controller Log Information' | sed 's|//.*/|//host/|'
  Diagnostic Information on Controller //host/c0
  BBU status word
  Controller Log Information
  Diagnostic Information on Controller //host/c1
  BBU status word
  Controller Log Information
  Diagnostic Information on Controller //host/c2

A host with only an older-family controller of eight ports: a RAID-5
verifying at 60 %, a RAID-1 whose second drive is gone, a spare, a free
drive and two empty ports; one task rate serves rebuild and verify, so
the verify rate column shows "-".

  $ cp "$FIXTURES/prane/older_only.json" host.json
  $ "$KV_CLI" show
  
  Ctl   Model        (V)Ports  Drives   Units   NotOpt  RRate   VRate  BBU
  ------------------------------------------------------------------------
  c0    KV-P310-4HB  8         6        3       1       4       -      -        
  
  $ "$KV_CLI" /c0 show unitstatus drivestatus
  
  Unit  UnitType  Status         %RCmpl  %V/I/M  Stripe  Size(GB)  Cache  AVrfy
  ------------------------------------------------------------------------------
  u0    RAID-5    VERIFYING      -       60%     64K     465.77    ON     -      
  u1    RAID-1    DEGRADED       -       -       -       465.761   ON     -      
  u3    SPARE     OK             -       -       -       465.762   -      -      
  
  Port   Status           Unit   Size        Blocks        Serial
  ---------------------------------------------------------------
  p0     OK               u0     232.88 GB   488397168     TQ0P004411          
  p1     OK               u0     232.88 GB   488397168     TQ0P004412          
  p2     OK               u0     232.88 GB   488397168     TQ0P004413          
  p3     NOT-PRESENT      -      -           -             -
  p4     OK               u1     465.76 GB   976773168     TQ0A001204          
  p5     OK               -      465.76 GB   976773168     TQ0A001205          
  p6     OK               u3     465.76 GB   976773168     TQ0A001206          
  p7     NOT-PRESENT      -      -           -             -
  
  $ "$KV_CLI" /c0/u1 show
  
  Unit     UnitType  Status         %RCmpl  %V/I/M  Port  Stripe  Size(GB)
  ------------------------------------------------------------------------
  u1       RAID-1    DEGRADED       -       -       -     -       465.761   
  u1-0     DISK      OK             -       -       p4    -       465.761   
  u1-1     DISK      DEGRADED       -       -       -     -       465.761   
  

The event list takes the controller's queued events: the plain list
prints the last one read first, the reverse list in reading order. Each
read takes an event off the queue, so a second listing finds none and
prints nothing at all.

  $ "$KV_CLI" show alarms
  c0   -                           WARNING   (0x0F:0x0008): Unclean shutdown detected: Unit #1
  c0   -                           ERROR     (0x0F:0x0002): Unit degraded: Unit #1
  c0   -                           INFO      (0x0F:0x0029): Verify started: Unit #0
  
  $ "$KV_CLI" show alarms
  
  $ cp "$FIXTURES/prane/older_only.json" host.json
  $ "$KV_CLI" show alarms reverse
  
  Ctl  Date                        Severity  Alarm Message
  ------------------------------------------------------------------------------
  c0   -                           INFO      (0x0F:0x0029): Verify started: Unit #0
  c0   -                           ERROR     (0x0F:0x0002): Unit degraded: Unit #1
  c0   -                           WARNING   (0x0F:0x0008): Unclean shutdown detected: Unit #1
  

A failed event read ends the plain list before it prints anything.

  $ cp "$FIXTURES/prane/older_only.json" host.json
  $ jq '.faults = [{"match": {"layer": "firmware", "opcode": "0x1C"}, "action": {"code": "0x51C7"}, "skip": 1}]' host.json > faulty.json && mv faulty.json host.json
  $ "$KV_CLI" show alarms; echo "status $?"
  (0x12:0x00C7): Prane driver message not found
  
  
  status 1

The old-style controller report and the diagnostic report: the error log
as the controller delivers it, followed by zero bytes up to its 32,768
bytes; on this family no battery status word follows.

  $ KV_CLI_STYLE=old "$KV_CLI" info c0 | sed -n '1,2p;14,17p'
  Controller: c0
  -------------
  # of units: 3
  \tUnit 0: RAID 5 465.77 GB ( 976790016 blocks): VERIFYING (60%) (esc)
  \tUnit 1: RAID 1 465.76 GB ( 976771120 blocks): DEGRADED (esc)
  \tUnit 3: SPARE 465.76 GB ( 976773168 blocks): OK (esc)
  $ jq '.machine.controllers[0].error_log = "E0001 port 1 timeout"' host.json > log.json && mv log.json host.json
  $ "$KV_CLI" /c0 show diag > diag.out
  $ tr -d '\000' < diag.out | sed -e 's/^\(### Time Stamp: *\).*/\1(now)/'
  
  ### Time Stamp:        (now)
  ### Host Name:         kvhost
  ### Host Architecture: x64 (64 bit)
  ### OS Version:        Microsoft Windows (Build 20348)
  
  ### Model:             KV-P310-4HB
  ### Serial #:          KVS19004-120077
  ### Controller ID:     0
  ### CLI Version:       2.00.09.012
  ### API Version:       2.06.00.012
  ### Driver Version:    1.26.2.4
  ### Firmware Version:  KF31 3.02.00.094
  ### BIOS Version:      KB30 3.04.00.074
  ### Available Memory:  32KB
  
  ==========================================================================
  Diagnostic Information on Controller //kvhost/c0 ...
  --------------------------------------------------------------------------
  
  E0001 port 1 timeout
  
  $ tr -cd '\000' < diag.out | wc -c
  32748

Each report read a log through the audit logger (six reads: two for each
newer controller, one for each older); those lines go, so that a later
look at the audit log sees only what follows.

  $ grep -c 'Get Error Log Controller' ProgramData/Orvo/kv_mgmt.log
  6
  $ rm ProgramData/Orvo/kv_mgmt.log

What the older family lacks: the schedules, the task policies, the
firmware update and the later controller policies are refused with CLI
error 24, the schedule slots with 57; the policies it has no setting for
read "Not Supported".

  $ for words in "show rebuild" "show verify" "show selftest" "set rebuild=enable" \
  >     "set verify=disable" "set selftest=enable" "set ondegrade=cacheoff" \
  >     "set avmode=on" "set lbareorder=off" "update fw=image.bin" \
  >     "add rebuild=Sun:12:4" "del verify=3" "set autorebuild=on" \
  >     "set rebuildmode=adaptive" "set rebuildrate=3" "set modepgctl=0" \
  >     "show autorebuild" "show ctlbus" "show rebuildrate" "show modepgctl" \
  >     "set carvesize=1024" "show carvesize"; do
  >   echo "[$words]"; "$KV_CLI" /c0 $words 2>&1 | grep -v '^$'
  > done
  [show rebuild]
  Error: (CLI:024) Invalid operation(s) for the specified controller.
  [show verify]
  Error: (CLI:024) Invalid operation(s) for the specified controller.
  [show selftest]
  Error: (CLI:024) Invalid operation(s) for the specified controller.
  [set rebuild=enable]
  Error: (CLI:024) Invalid operation(s) for the specified controller.
  [set verify=disable]
  Error: (CLI:024) Invalid operation(s) for the specified controller.
  [set selftest=enable]
  Error: (CLI:024) Invalid operation(s) for the specified controller.
  [set ondegrade=cacheoff]
  Error: (CLI:024) Invalid operation(s) for the specified controller.
  [set avmode=on]
  Error: (CLI:024) Invalid operation(s) for the specified controller.
  [set lbareorder=off]
  Error: (CLI:024) Invalid operation(s) for the specified controller.
  [update fw=image.bin]
  Error: (CLI:024) Invalid operation(s) for the specified controller.
  [add rebuild=Sun:12:4]
  Error: (CLI:057) Invalid argument in add command.
  [del verify=3]
  Error: (CLI:057) Invalid argument in add command.
  [set autorebuild=on]
  Error: (CLI:024) Invalid operation(s) for the specified controller.
  [set rebuildmode=adaptive]
  Error: (CLI:024) Invalid operation(s) for the specified controller.
  [set rebuildrate=3]
  Error: (CLI:024) Invalid operation(s) for the specified controller.
  [set modepgctl=0]
  Error: (CLI:024) Invalid operation(s) for the specified controller.
  [show autorebuild]
  Error: (CLI:024) Invalid operation(s) for the specified controller.
  [show ctlbus]
  Error: (CLI:024) Invalid operation(s) for the specified controller.
  [show rebuildrate]
  Error: (CLI:024) Invalid operation(s) for the specified controller.
  [show modepgctl]
  Error: (CLI:024) Invalid operation(s) for the specified controller.
  [set carvesize=1024]
  Error: (CLI:024) Invalid operation(s) for the specified controller.
  [show carvesize]
  Error: (CLI:024) Invalid operation(s) for the specified controller.
  $ "$KV_CLI" /c0 show ondegrade autocarve
  /c0 Cache on Degrade Policy = Not Supported
  /c0 Auto-Carving Policy = Not Supported.
  

The old-style set of the older family: the write cache goes through the
unit's own setter (no question, the older family never asks) into the
host file and the audit log; auto-verify and overwrite-ECC are refused
with 24 before the unit or the value is read.

  $ KV_CLI_INPUT_STYLE=old "$KV_CLI" set cache c0 u0 off; "$KV_CLI" //kvhost set cache c0 u0 on < /dev/null
  Setting Write Cache Policy on /c0/u0 to [off] ... Done.
  
  
  Setting Write Cache Policy on /c0/u0 to [on] ... Done.
  
  
  $ jq -c '.machine.controllers[0].units[0].write_cache' host.json
  1
  $ . "$TESTDIR/audit_log.sh" && kv_audit_lines
  CLI [Disable Write Cache(controller=0, unit=0): Success]
  CLI [Enable Write Cache(controller=0, unit=0): Success]
  $ for words in "autoverify c0 u0 on" "overwriteecc c0 u9 maybe"; do
  >   echo "[$words]"; "$KV_CLI" set $words 2>&1 | grep -v '^$'
  > done
  [autoverify c0 u0 on]
  Error: (CLI:024) Invalid operation(s) for the specified controller.
  [overwriteecc c0 u9 maybe]
  Error: (CLI:024) Invalid operation(s) for the specified controller.

A RAID type the older family does not create is refused before anything
reaches the controller.

  $ rm -f requests.jsonl
  $ "$KV_CLI" /c0 add type=raid50 disk=0-2; echo "status $?"
  Error: (CLI:026) Invalid RAID type or invalid RAID type for controller specified.
  
  
  status 1
  $ grep -c '"opcode":20' requests.jsonl
  0
  [1]

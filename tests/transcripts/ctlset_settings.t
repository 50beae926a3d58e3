The settings every controller class carries itself: JBOD export, disk
spin-up, spin-up stagger time and the rebuild and verify task rates, and
the set dispatcher's word tests.

  $ . "$FIXTURES/ctlset/helpers.sh"
  $ . "$FIXTURES/ctlattr/faults.sh"
  $ host family6

The set dispatcher: nothing after "set" is 32, a word no test matches 31,
help prints the "set" topic.

  $ "$KV_CLI" /c0 set
  Error: (CLI:032) Invalid controller command syntax.
  
  
  [1]
  $ "$KV_CLI" /c0 set foo=1
  Error: (CLI:031) Invalid controller command.
  
  
  [1]
  $ "$KV_CLI" /c0 set help | head -3
    /cx set ondegrade=cacheoff|follow                         (Rhoskan only)
    /cx set spinup=nn                                         (Rhosk series)
    /cx set stagger=nn                                        (Rhosk series)

JBOD export: only the exact words, so a value in capitals (as a command
file keeps it) is refused; the change shows in the following "show".

  $ "$KV_CLI" /c0 set exportjbod=on
  Enabling JBOD Export Policy on /c0... Done.
  
  $ "$KV_CLI" /c0 show exportjbod
  /c0 JBOD Export Policy = on
  
  $ ctl settings.export_jbod
  1
  $ "$KV_CLI" /c0 set exportjbod=off
  Disabling JBOD Export Policy on /c0... Done.
  
  $ ctl settings.export_jbod
  0
  $ . "$TESTDIR/batch.sh"
  $ kv_first_lines "/c0 set" exportjbod exportjbod=yes xexportjbod=on
  Error: (CLI:033) Invalid controller command value.
  Error: (CLI:033) Invalid controller command value.
  Error: (CLI:033) Invalid controller command value.
  $ printf '/c0 set exportjbod=ON\n' > upper.txt && "$KV_CLI" -f upper.txt
  //kvhost> /c0 set exportjbod=ON
  Error: (CLI:033) Invalid controller command value.
  
  
  [1]
  $ log

Auto-carving (the controller's multi-LUN policy) takes "on" or "off"
after the "="; any other value, the bare word included, ends its open
progress line with "Failed." and 33.

  $ "$KV_CLI" /c0 set autocarve=on
  Setting Auto-Carving Policy on /c0 to [on] ... Done.
  
  $ ctl settings.multi_lun
  1
  $ "$KV_CLI" /c0 set autocarve=off
  Setting Auto-Carving Policy on /c0 to [off] ... Done.
  
  $ ctl settings.multi_lun
  0
  $ "$KV_CLI" /c0 set autocarve 2>&1
  Setting Auto-Carving Policy on /c0 to [autocarve] ... Failed.
  Error: (CLI:033) Invalid controller command value.
  
  
  [1]
  $ log
  CLI [Enable Multi-Lun Policy(controller=0): Success]
  CLI [Disable Multi-Lun Policy(controller=0): Success]

Disk spin-up: 1 to 128 below family 8; a value is read from its start, so
spinup=4x sets 4; 0, 129 and a value without digits are refused. The
library takes no more spin-ups than the controller has ports: on this
eight-port controller 128 passes the command's bound and fails there.

  $ "$KV_CLI" /c0 set spinup=128
  Setting Disk Spinup Policy on /c0 to [128] ... Failed.
  (0x0B:0x0039): Invalid spinups value
  
  
  [1]
  $ "$KV_CLI" /c0 set spinup=4x
  Setting Disk Spinup Policy on /c0 to [4] ... Done.
  
  $ "$KV_CLI" /c0 show spinup
  /c0 Disk Spinup Policy = 4
  
  $ ctl settings.spinups
  4
  $ kv_first_lines "/c0 set" spinup=0 spinup=129 spinup=x spinup spinup=-1 spinup=99999999999999999999
  Error: (CLI:033) Invalid controller command value.
  Error: (CLI:033) Invalid controller command value.
  Error: (CLI:033) Invalid controller command value.
  Error: (CLI:033) Invalid controller command value.
  Error: (CLI:033) Invalid controller command value.
  Error: (CLI:033) Invalid controller command value.
  $ log
  CLI [Set Number Spinups Allowed(controller=0, spinups allowed=128): Failed]
  CLI [Set Number Spinups Allowed(controller=0, spinups allowed=4): Success]

On a controller with 128 ports the library takes 128 as well.

  $ host family6 '.machine.controllers[0].settings.ports = 128'
  $ "$KV_CLI" /c0 set spinup=128
  Setting Disk Spinup Policy on /c0 to [128] ... Done.
  
  $ ctl settings.spinups
  128
  $ log
  CLI [Set Number Spinups Allowed(controller=0, spinups allowed=128): Success]
  $ host family6

Stagger time: 0 to 60 below family 8; 0 is allowed.

  $ "$KV_CLI" /c0 set stagger=0
  Setting Spinup Stagger Time Policy on /c0 to [0] ... Done.
  
  $ "$KV_CLI" /c0 set stagger=60
  Setting Spinup Stagger Time Policy on /c0 to [60] ... Done.
  
  $ "$KV_CLI" /c0 show stagger
  /c0 Spinup Stagger Time Policy (sec) = 60
  
  $ kv_first_lines "/c0 set" stagger=61 stagger=-1
  Error: (CLI:033) Invalid controller command value.
  Error: (CLI:033) Invalid controller command value.
  $ log
  CLI [Set Stagger Time(controller=0, stagger time=0): Success]
  CLI [Set Stagger Time(controller=0, stagger time=60): Success]

Spin-ups disabled (255) show as "Disabled", and a stagger time of 0 then
as "N/A"; a stagger time other than 0 stays a number.

  $ host family6 '.machine.controllers[0].settings.spinups = 255 | .machine.controllers[0].settings.stagger = 0'
  $ "$KV_CLI" /c0 show spinup stagger
  /c0 Disk Spinup Policy = Disabled
  /c0 Spinup Stagger Time Policy (sec) = N/A
  
  $ host family6 '.machine.controllers[0].settings.spinups = 255'
  $ "$KV_CLI" /c0 show spinup stagger
  /c0 Disk Spinup Policy = Disabled
  /c0 Spinup Stagger Time Policy (sec) = 6
  

Family 8: spin-up 1 to 16, stagger 0 to 6 (the library again bounds the
spin-ups by the four ports).

  $ host family8
  $ "$KV_CLI" /c0 set spinup=16
  Setting Disk Spinup Policy on /c0 to [16] ... Failed.
  (0x0B:0x0039): Invalid spinups value
  
  
  [1]
  $ kv_first_lines "/c0 set" spinup=17 stagger=7
  Error: (CLI:033) Invalid controller command value.
  Error: (CLI:033) Invalid controller command value.
  $ "$KV_CLI" /c0 set stagger=6
  Setting Spinup Stagger Time Policy on /c0 to [6] ... Done.
  
  $ "$KV_CLI" /c0 show spinup stagger
  /c0 Disk Spinup Policy = 2
  /c0 Spinup Stagger Time Policy (sec) = 6
  
  $ log
  CLI [Set Number Spinups Allowed(controller=0, spinups allowed=16): Failed]
  CLI [Set Stagger Time(controller=0, stagger time=6): Success]

A failed write: "Failed." and the library's error; nothing changes.

  $ fault 1027 7 && "$KV_CLI" /c0 set spinup=3
  Setting Disk Spinup Policy on /c0 to [3] ... Failed.
  (0x03:0x0204): Drive timeout
  
  
  [1]
  $ fault 1027 8 && "$KV_CLI" /c0 set stagger=3
  Setting Spinup Stagger Time Policy on /c0 to [3] ... Failed.
  (0x03:0x0204): Drive timeout
  
  
  [1]
  $ fault 1027 17 && "$KV_CLI" /c0 set exportjbod=on
  Enabling JBOD Export Policy on /c0... Failed.
  (0x03:0x0204): Drive timeout
  
  
  [1]
  $ ctl settings
  {"host_bus":8704,"lun_size":2147483647,"max_active_units":8,"max_drives_per_unit":12,"max_units":16,"mode_page_control":1,"multi_lun":1,"ports":4,"sas_link_limit":2,"sata_link_limit":1,"spinups":2,"stagger":6}
  $ log
  CLI [Set Number Spinups Allowed(controller=0, spinups allowed=3): Failed]
  CLI [Set Stagger Time(controller=0, stagger time=3): Failed]

Task rates, through "rebuild=", "verify=", "rebuildrate=" and
"verifyrate=": the progress line names the rate; the controller list and
the rate attributes show it.

  $ host family6
  $ "$KV_CLI" /c0 set rebuild=4
  Setting Rebuild task rate on /c0 to [4] (Faster Rebuild) ... Done.
  
  $ "$KV_CLI" /c0 set verify=1
  Setting Verify task rate on /c0 to [1] (Fastest I/O) ... Done.
  
  $ "$KV_CLI" /c0 set rebuildrate=5
  Setting Rebuild task rate on /c0 to [5] (Fastest Rebuild) ... Done.
  
  $ "$KV_CLI" /c0 set verifyrate=3
  Setting Verify task rate on /c0 to [3] (Balanced Verify and I/O) ... Done.
  
  $ "$KV_CLI" /c0 show rebuildrate verifyrate
  /c0 Rebuild background task rate = 5 (fastest Rebuild; slowest I/O)
  /c0 Verify background task rate = 3 (balanced Verify and I/O)
  
  $ "$KV_CLI" set rebuild c0 2
  Setting Rebuild task rate on /c0 to [2] (Faster I/O) ... Done.
  
  
  $ "$KV_CLI" set verify c0 2
  Setting Verify task rate on /c0 to [2] (Faster I/O) ... Done.
  
  
  $ "$KV_CLI" show | sed -n 4p
  c0    KV-S620RE-8H 8         7        3       1       2       2      -        
  $ log
  CLI [Set Rebuild Rate(controller=0, rate=4): Success]
  CLI [Set Verify Rate(controller=0, rate=1): Success]
  CLI [Set Rebuild Rate(controller=0, rate=5): Success]
  CLI [Set Verify Rate(controller=0, rate=3): Success]
  CLI [Set Rebuild Rate(controller=0, rate=2): Success]
  CLI [Set Verify Rate(controller=0, rate=2): Success]

Every rate text of both tasks.

  $ for r in 1 2 3 4 5; do "$KV_CLI" /c0 set rebuild=$r; "$KV_CLI" /c0 set verify=$r; done | grep -v '^$'
  Setting Rebuild task rate on /c0 to [1] (Fastest I/O) ... Done.
  Setting Verify task rate on /c0 to [1] (Fastest I/O) ... Done.
  Setting Rebuild task rate on /c0 to [2] (Faster I/O) ... Done.
  Setting Verify task rate on /c0 to [2] (Faster I/O) ... Done.
  Setting Rebuild task rate on /c0 to [3] (Balanced Rebuild and I/O) ... Done.
  Setting Verify task rate on /c0 to [3] (Balanced Verify and I/O) ... Done.
  Setting Rebuild task rate on /c0 to [4] (Faster Rebuild) ... Done.
  Setting Verify task rate on /c0 to [4] (Faster Verify) ... Done.
  Setting Rebuild task rate on /c0 to [5] (Fastest Rebuild) ... Done.
  Setting Verify task rate on /c0 to [5] (Fastest Verify) ... Done.
  $ log | wc -l
  10

Rate 0, rate 6, a missing rate and a rate with other characters are 150;
a word after a rate is 14 for "rebuild=" and 31 for "rebuildrate=".

  $ kv_words "/c0 set" rebuild=0 rebuild=6 verify=6 rebuildrate= verifyrate=0 rebuild=3x verify=3x rebuildrate=3x "rebuild=3 x" "rebuildrate=3 x" "verifyrate=3 x"
  [rebuild=0]
  Error: (CLI:150) Rate input must be numeric and in the range of [1..5].
  [rebuild=6]
  Error: (CLI:150) Rate input must be numeric and in the range of [1..5].
  [verify=6]
  Error: (CLI:150) Rate input must be numeric and in the range of [1..5].
  [rebuildrate=]
  Error: (CLI:150) Rate input must be numeric and in the range of [1..5].
  [verifyrate=0]
  Error: (CLI:150) Rate input must be numeric and in the range of [1..5].
  [rebuild=3x]
  Error: (CLI:150) Rate input must be numeric and in the range of [1..5].
  [verify=3x]
  Error: (CLI:150) Rate input must be numeric and in the range of [1..5].
  [rebuildrate=3x]
  Error: (CLI:150) Rate input must be numeric and in the range of [1..5].
  [rebuild=3 x]
  Error: (CLI:014) Invalid argument in set command.
  [rebuildrate=3 x]
  Error: (CLI:031) Invalid controller command.
  [verifyrate=3 x]
  Error: (CLI:031) Invalid controller command.
  $ log

The old-style "set rebuild" and "set verify" read the rate as a signed
number: a minus sign gives a negative rate, which is 150 like any other
rate outside [1..5], and so is a number past the 32-bit range.

  $ for r in -4294967295 -4294967294 -1 4294967297 x; do for t in rebuild verify; do echo "[$t $r]"; KV_CLI_STYLE=old "$KV_CLI" set $t c0 $r 2>&1 | grep -v '^$'; done; done
  [rebuild -4294967295]
  Error: (CLI:150) Rate input must be numeric and in the range of [1..5].
  [verify -4294967295]
  Error: (CLI:150) Rate input must be numeric and in the range of [1..5].
  [rebuild -4294967294]
  Error: (CLI:150) Rate input must be numeric and in the range of [1..5].
  [verify -4294967294]
  Error: (CLI:150) Rate input must be numeric and in the range of [1..5].
  [rebuild -1]
  Error: (CLI:150) Rate input must be numeric and in the range of [1..5].
  [verify -1]
  Error: (CLI:150) Rate input must be numeric and in the range of [1..5].
  [rebuild 4294967297]
  Error: (CLI:150) Rate input must be numeric and in the range of [1..5].
  [verify 4294967297]
  Error: (CLI:150) Rate input must be numeric and in the range of [1..5].
  [rebuild x]
  Error: (CLI:150) Rate input must be numeric and in the range of [1..5].
  [verify x]
  Error: (CLI:150) Rate input must be numeric and in the range of [1..5].
  $ log

At firmware level 37 with the task in low latency mode, rate 1 warns
before the progress line (the warning names the rebuild for both tasks);
the mode byte follows the rate.

  $ host family7 '.machine.controllers[1].tasks.verify_mode = 1'
  $ "$KV_CLI" /c1 set rebuild=1
  
  WARNING: For the background task, settings of mode to 'low latency'
  and rate=1 (fastest IO; slowest rebuild) may cause the task to never
  complete if host I/O is active.
  
  Setting Rebuild task rate on /c1 to [1] (Fastest I/O) ... Done.
  
  $ "$KV_CLI" /c1 set verify=1
  
  WARNING: For the background task, settings of mode to 'low latency'
  and rate=1 (fastest IO; slowest rebuild) may cause the task to never
  complete if host I/O is active.
  
  Setting Verify task rate on /c1 to [1] (Fastest I/O) ... Done.
  
  $ jq -c '.machine.controllers[1].tasks' host.json
  {"rebuild_mode":2,"rebuild_rate":1,"verify_mode":2,"verify_rate":1}
  $ "$KV_CLI" /c1 set rebuild=2
  Setting Rebuild task rate on /c1 to [2] (Faster I/O) ... Done.
  
  $ jq -c '.machine.controllers[1].tasks' host.json
  {"rebuild_mode":1,"rebuild_rate":2,"verify_mode":2,"verify_rate":1}

Below level 37, or in adaptive mode, no warning.

  $ host family6
  $ "$KV_CLI" /c0 set rebuild=1
  Setting Rebuild task rate on /c0 to [1] (Fastest I/O) ... Done.
  
  $ host family7 '.machine.controllers[1].tasks.rebuild_mode = 0'
  $ "$KV_CLI" /c1 set rebuild=1
  Setting Rebuild task rate on /c1 to [1] (Fastest I/O) ... Done.
  

A failed rate write ends the line with the library's error and no
"Failed.".

  $ host family6
  $ fault 1036 5 && "$KV_CLI" /c0 set rebuild=2
  Setting Rebuild task rate on /c0 to [2] (Faster I/O)(0x03:0x0204): Drive timeout
  
  
  [1]
  $ log
  CLI [Set Rebuild Rate(controller=1, rate=1): Success]
  CLI [Set Verify Rate(controller=1, rate=1): Success]
  CLI [Set Rebuild Rate(controller=1, rate=2): Success]
  CLI [Set Rebuild Rate(controller=0, rate=1): Success]
  CLI [Set Rebuild Rate(controller=1, rate=1): Success]
  CLI [Set Rebuild Rate(controller=0, rate=2): Failed]

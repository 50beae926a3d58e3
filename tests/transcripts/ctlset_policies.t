The controller-wide policies of the newer family: force drive cache on,
AV mode, LBA reordering, automatic rebuild, the auto-carving size, mode
page control and the background task modes and rates, and the two
policies of the oldest generation (ignore FUA write, cache on degrade).

  $ . "$FIXTURES/ctlset/helpers.sh"
  $ . "$FIXTURES/ctlattr/faults.sh"
  $ host family8

Force drive cache on: "on" or "off", and nothing after it.

  $ "$KV_CLI" /c0 set forcedrivecacheon=on
  Enabling controller /c0 force drive cache on policy ... Done.
  
  $ "$KV_CLI" /c0 show forcedrivecacheon
  /c0 Force Drive Cache On       = ON
  
  $ "$KV_CLI" /c0 set forcedrivecacheon=off
  Disabling controller /c0 force drive cache on policy ... Done.
  
  $ ctl settings.force_drive_cache
  0
  $ . "$TESTDIR/batch.sh"
  $ kv_first_lines "/c0 set" forcedrivecacheon=yes "forcedrivecacheon=on x"
  Error: (CLI:062) Invalid set command.
  Error: (CLI:062) Invalid set command.

AV mode: the whole word "avmode=on" or "avmode=off".

  $ "$KV_CLI" /c0 set avmode=on
  Enabling AV Mode Policy on /c0... Done.
  
  $ "$KV_CLI" /c0 show avmode
  /c0 AV Mode Policy = on
  
  $ "$KV_CLI" /c0 set avmode=off
  Disabling AV Mode Policy on /c0... Done.
  
  $ ctl settings.av_mode
  0
  $ kv_first_lines "/c0 set" avmode=yes xavmode=on
  Error: (CLI:033) Invalid controller command value.
  Error: (CLI:033) Invalid controller command value.

LBA reordering: a word after the value is 14, a value other than on or off
31.

  $ "$KV_CLI" /c0 set lbareorder=off
  Setting LBA Reordering on /c0 to [off] ... Done.
  
  $ "$KV_CLI" /c0 show lbareorder
  /c0 LBA Reordering state = off
  
  $ "$KV_CLI" /c0 set lbareorder=on
  Setting LBA Reordering on /c0 to [on] ... Done.
  
  $ ctl settings.lba_reordering
  1
  $ kv_first_lines "/c0 set" "lbareorder=on x" lbareorder=yes
  Error: (CLI:014) Invalid argument in set command.
  Error: (CLI:031) Invalid controller command.

None of these three is audited.

  $ log

Automatic rebuild: "on" sets the policy bits 1, 2 and 4; a wrong value
ends the progress line with "Failed." and 33.

  $ "$KV_CLI" /c0 set autorebuild=on
  Setting Auto-Rebuild Policy on /c0 to on ... Done.
  
  $ "$KV_CLI" /c0 show autorebuild
  /c0 Auto-Rebuild Policy = on
  
  $ ctl settings.auto_rebuild
  7
  $ "$KV_CLI" /c0 set autorebuild=off
  Setting Auto-Rebuild Policy on /c0 to off ... Done.
  
  $ "$KV_CLI" /c0 show autorebuild
  /c0 Auto-Rebuild Policy = off
  
  $ "$KV_CLI" /c0 set autorebuild=yes
  Setting Auto-Rebuild Policy on /c0 to yes ... Failed.
  Error: (CLI:033) Invalid controller command value.
  
  
  [1]
  $ log
  CLI [Set Auto Rebuild (controller=0, policy=7(CBOD, JBOD, FAILED DISK)): Success]
  CLI [Set Auto Rebuild (controller=0, policy=0(OFF)): Success]

Auto-carving size: 1024 to 32768 GB, written as blocks minus one; 1023,
32769 and a value that is not a number are 134. The size is read as
every setting's number: an optional sign and the digits that follow,
anything after them ignored; the progress line shows the value as typed.
The controller's size 2147483647 reads as 1024 GB.

  $ "$KV_CLI" /c0 show carvesize
  /c0 Auto-Carving Size = 1024 GB
  
  $ "$KV_CLI" /c0 set carvesize=2048
  Setting Auto-Carving Size on /c0 to [2048 GB] ... Done.
  
  $ ctl settings.lun_size
  4294967295
  $ "$KV_CLI" /c0 show carvesize
  /c0 Auto-Carving Size = 2048 GB
  
  $ "$KV_CLI" /c0 set carvesize=1024
  Setting Auto-Carving Size on /c0 to [1024 GB] ... Done.
  
  $ ctl settings.lun_size
  2147483647
  $ "$KV_CLI" /c0 set carvesize=32768
  Setting Auto-Carving Size on /c0 to [32768 GB] ... Done.
  
  $ "$KV_CLI" /c0 set carvesize=+2048; "$KV_CLI" /c0 set carvesize=4096x
  Setting Auto-Carving Size on /c0 to [+2048 GB] ... Done.
  
  Setting Auto-Carving Size on /c0 to [4096x GB] ... Done.
  
  $ ctl settings.lun_size
  8589934591
  $ kv_first_lines "/c0 set" carvesize=1023 carvesize=32769 carvesize=x carvesize= carvesize=-2048 carvesize=99999999999999999999
  Error: (CLI:134) Invalid LUN carving size specified; valid range=[1024..32768].
  Error: (CLI:134) Invalid LUN carving size specified; valid range=[1024..32768].
  Error: (CLI:134) Invalid LUN carving size specified; valid range=[1024..32768].
  Error: (CLI:134) Invalid LUN carving size specified; valid range=[1024..32768].
  Error: (CLI:134) Invalid LUN carving size specified; valid range=[1024..32768].
  Error: (CLI:134) Invalid LUN carving size specified; valid range=[1024..32768].
  $ log
  CLI [Set LUN Size(controller=0, size=-1): Success]
  CLI [Set LUN Size(controller=0, size=2147483647): Success]
  CLI [Set LUN Size(controller=0, size=-1): Success]
  CLI [Set LUN Size(controller=0, size=-1): Success]
  CLI [Set LUN Size(controller=0, size=-1): Success]

Mode page control (family 8): "ignore" or "honor"; words after it are 31,
another value 158.

  $ "$KV_CLI" /c0 set modepgctl=honor
  Setting Mode Page Control of /c0 to [honor] ... Done.
  
  $ "$KV_CLI" /c0 show modepgctl
  /c0 Mode Page Control setting = Honor
  
  $ "$KV_CLI" /c0 set modepgctl=ignore
  Setting Mode Page Control of /c0 to [ignore] ... Done.
  
  $ "$KV_CLI" /c0 show modepgctl
  /c0 Mode Page Control setting = Ignore
  
  $ "$KV_CLI" /c0 show modepgctl x 2>&1 | head -1
  Error: (CLI:056) Invalid argument in show command.
  $ kv_first_lines "/c0 set" "modepgctl=honor x" modepgctl=yes
  Error: (CLI:031) Invalid controller command.
  Error: (CLI:158) Invalid Mode Page Control input [valid: ignore|honor].
  $ log

Background task modes (level 37): "adaptive" or "lowlatency", else 159;
low latency while the task's rate is 1 warns and still writes the mode.

  $ "$KV_CLI" /c0 set rebuildmode=adaptive
  Setting Rebuild background task mode of /c0 to [adaptive] ... Done
  
  $ "$KV_CLI" /c0 show rebuildmode
  /c0 Rebuild background task mode = Adaptive
  
  $ "$KV_CLI" /c0 set verify=1
  
  WARNING: For the background task, settings of mode to 'low latency'
  and rate=1 (fastest IO; slowest rebuild) may cause the task to never
  complete if host I/O is active.
  
  Setting Verify task rate on /c0 to [1] (Fastest I/O) ... Done.
  
  $ "$KV_CLI" /c0 set verifymode=lowlatency
  
  WARNING: For the background task, setting mode to 'low latency' and
  rate=1 (fastest I/O; slowest verify) may cause the task to never
  complete if host I/O is active.
  
  Setting Verify background task mode of /c0 to [lowlatency] ... Done
  
  $ "$KV_CLI" /c0 show verifymode
  /c0 Verify background task mode = Low Latency
  
  $ ctl tasks
  {"rebuild_mode":0,"rebuild_rate":5,"verify_mode":2,"verify_rate":1}
  $ "$KV_CLI" /c0 set rebuildmode=lowlatency
  Setting Rebuild background task mode of /c0 to [lowlatency] ... Done
  
  $ kv_first_lines "/c0 set" rebuildmode=fast verifymode "rebuildmode=adaptive x"
  Error: (CLI:159) Invalid bkgd task mode input [valid: adaptive|lowlatency].
  Error: (CLI:159) Invalid bkgd task mode input [valid: adaptive|lowlatency].
  Error: (CLI:031) Invalid controller command.
  $ log
  CLI [Set Rebuild Mode(controller=0, mode=0): Success]
  CLI [Set Verify Rate(controller=0, rate=1): Success]
  CLI [Set Verify Mode(controller=0, mode=1): Success]
  CLI [Set Rebuild Mode(controller=0, mode=1): Success]

Family 6 at level 33: no mode setting (149) and no mode page control (24,
before anything is printed); automatic rebuild works; the rebuild and
verify rate words still work.

  $ host family6
  $ kv_first_lines "/c0 set" rebuildmode=adaptive verifymode=lowlatency modepgctl=honor
  Error: (CLI:149) Feature not supported.
  Error: (CLI:149) Feature not supported.
  Error: (CLI:024) Invalid operation(s) for the specified controller.
  $ "$KV_CLI" /c0 show modepgctl 2>&1 | head -1
  Error: (CLI:024) Invalid operation(s) for the specified controller.
  $ "$KV_CLI" /c0 show rebuildmode 2>&1 | head -1
  Error: (CLI:149) Feature not supported.
  $ "$KV_CLI" /c0 set autorebuild=on
  Setting Auto-Rebuild Policy on /c0 to on ... Done.
  
  $ "$KV_CLI" /c0 set verifyrate=2
  Setting Verify task rate on /c0 to [2] (Faster I/O) ... Done.
  
  $ "$KV_CLI" /c0 show verifyrate
  /c0 Verify background task rate = 2 (faster I/O; slower Verify)
  

The oldest generation (family 4): automatic rebuild shows "Not
Supported."; ignore FUA write and cache on degrade are its own.

  $ host family4
  $ "$KV_CLI" /c0 show autorebuild
  /c0 Auto-Rebuild Policy = Not Supported.
  
  $ "$KV_CLI" /c0 set ignorefuawrite=on
  Enabling controller /c0 ignore FUA write policy ... Done.
  
  $ "$KV_CLI" /c0 show ignorefuawrite
  /c0 Ignore FUA on Write Policy = ON
  
  $ "$KV_CLI" /c0 set ignorefuawrite=off
  Disabling controller /c0 ignore FUA write policy ... Done.
  
  $ "$KV_CLI" /c0 set ondegrade=follow
  Unsetting Disable Cache On Degrade Policy on /c0... Done.
  
  $ "$KV_CLI" /c0 show ondegrade
  /c0 Cache on Degrade Policy = Follow Unit Policy
  
  $ "$KV_CLI" /c0 set ondegrade=wrcacheoff
  Disabling Cache On Degrade Policy on /c0... Done.
  
  $ "$KV_CLI" /c0 show ondegrade
  /c0 Cache on Degrade Policy = Cache Off
  
  $ "$KV_CLI" /c0 set ondegrade=cacheoff
  Disabling Cache On Degrade Policy on /c0... Done.
  
  $ kv_first_lines "/c0 set" ignorefuawrite=yes "ignorefuawrite=on x" ondegrade=off
  Error: (CLI:062) Invalid set command.
  Error: (CLI:062) Invalid set command.
  Error: (CLI:033) Invalid controller command value.

On the later generations these two are refused with 24 and show "Not
Supported".

  $ host family8
  $ kv_first_lines "/c0 set" ignorefuawrite=on ondegrade=follow
  Error: (CLI:024) Invalid operation(s) for the specified controller.
  Error: (CLI:024) Invalid operation(s) for the specified controller.
  $ "$KV_CLI" /c0 show ignorefuawrite ondegrade
  /c0 Ignore FUA on Write Policy = Not Supported
  /c0 Cache on Degrade Policy = Not Supported
  

Library failures: the setters that say so print "Failed." first; the
others leave their line open.

  $ fault 1027 23 && "$KV_CLI" /c0 set forcedrivecacheon=on
  Enabling controller /c0 force drive cache on policy ... Failed.
  (0x03:0x0204): Drive timeout
  
  
  [1]
  $ fault 1027 10 && "$KV_CLI" /c0 set avmode=off
  Disabling AV Mode Policy on /c0... Failed.
  (0x03:0x0204): Drive timeout
  
  
  [1]
  $ fault 10 5 && "$KV_CLI" /c0 set lbareorder=off
  Setting LBA Reordering on /c0 to [off](0x03:0x0204): Drive timeout
  
  
  [1]
  $ fault 1027 28 && "$KV_CLI" /c0 set autorebuild=off
  Setting Auto-Rebuild Policy on /c0 to off ... Failed.
  (0x03:0x0204): Drive timeout
  
  
  [1]
  $ fault 1027 29 && "$KV_CLI" /c0 set carvesize=4096
  Setting Auto-Carving Size on /c0 to [4096 GB] ... Failed.
  (0x03:0x0204): Drive timeout
  
  
  [1]
  $ fault 1027 52 && "$KV_CLI" /c0 set modepgctl=honor
  Setting Mode Page Control of /c0 to [honor](0x03:0x0204): Drive timeout
  
  
  [1]
  $ fault 1036 13 && "$KV_CLI" /c0 set rebuildmode=adaptive
  Setting Rebuild background task mode of /c0 to [adaptive](0x03:0x0204): Drive timeout
  
  
  [1]
  $ ctl settings
  {"host_bus":8704,"lun_size":2147483647,"max_active_units":8,"max_drives_per_unit":12,"max_units":16,"mode_page_control":1,"multi_lun":1,"ports":4,"sas_link_limit":2,"sata_link_limit":1,"spinups":2,"stagger":3}
  $ log
  CLI [Set Auto Rebuild (controller=0, policy=7(CBOD, JBOD, FAILED DISK)): Success]
  CLI [Set Verify Rate(controller=0, rate=2): Success]
  CLI [Set Auto Rebuild (controller=0, policy=0(OFF)): Failed]
  CLI [Set LUN Size(controller=0, size=-1): Failed]
  CLI [Set Rebuild Mode(controller=0, mode=0): Failed]

The weekly timetables of rebuild, verify and selftest on a newer-family
controller: adding and removing slots, switching scheduled rebuilds and
verifies, basic verify with its preferred start and the selftest kinds,
in the new-style words and the old-style "sched" command.

  $ . "$FIXTURES/ctlset/helpers.sh"
  $ . "$FIXTURES/ctlattr/faults.sh"
  $ host family8 "$(cat "$FIXTURES/ctlset/schedule.jq")"

The timetables as they stand; a start of 10065 shows as free.

  $ "$KV_CLI" /c0 show rebuild
  
  Rebuild Schedule for Controller /c0
  ========================================================
  Slot\tDay\tHour\t\tDuration\tStatus (esc)
  --------------------------------------------------------
  1\tSun\t2:00am\t\t 4 hr(s)\tdisabled (esc)
  2\t-  \t-   \t\t-          \tdisabled (esc)
  3\t-  \t-   \t\t-          \tdisabled (esc)
  4\t-  \t-   \t\t-          \tdisabled (esc)
  5\t-  \t-   \t\t-          \tdisabled (esc)
  6\t-  \t-   \t\t-          \tdisabled (esc)
  7\t-  \t-   \t\t-          \tdisabled (esc)
  
  $ "$KV_CLI" /c0 show selftest
  
  Selftest Schedule for Controller /c0
  ========================================================
  Slot\tDay\tHour\t\tUDMA\t\tSMART (esc)
  --------------------------------------------------------
  1\tSun\t12:00am\t\tdisabled   \tdisabled (esc)
  2\t-  \t-   \t\tdisabled   \tdisabled (esc)
  3\t-  \t-   \t\tdisabled   \tdisabled (esc)
  4\t-  \t-   \t\tdisabled   \tdisabled (esc)
  5\t-  \t-   \t\tdisabled   \tdisabled (esc)
  6\t-  \t-   \t\tdisabled   \tdisabled (esc)
  7\t-  \t-   \t\tdisabled   \tdisabled (esc)
  

Adding rebuild sun:2:4 skips the slot at 10065 and takes the first slot
above it; the timetable shows it and the audit log names the slot index.

  $ "$KV_CLI" /c0 add rebuild=sun:2:4
  Adding scheduled rebuild to slot 3 for [Sun, 2:00AM, 4hr(s)] ... Done.
  
  $ slot 2
  {"rebuild":{"duration":240,"start":120},"selftest_start":65535,"verify":{"duration":1440,"start":10020}}
  $ "$KV_CLI" /c0 show rebuild | sed -n 6,9p
  1\tSun\t2:00am\t\t 4 hr(s)\tdisabled (esc)
  2\t-  \t-   \t\t-          \tdisabled (esc)
  3\tSun\t2:00am\t\t 4 hr(s)\tdisabled (esc)
  4\t-  \t-   \t\t-          \tdisabled (esc)
  $ log
  CLI [Set Rebuild Task(controller=0, slot=2, start=Sun.02:00, duration=240): Success]

Hours in the progress line: 0 is 12 AM, 12 is 12 PM, 13 is 1 PM; the
timetable rows show them in lower case.

  $ "$KV_CLI" /c0 add rebuild=mon:0:1 rebuild=tue:12:24 rebuild=sat:13:2 rebuild=wed:1:1
  Adding scheduled rebuild to slot 4 for [Mon, 12:00AM, 1hr(s)] ... Done.
  Adding scheduled rebuild to slot 5 for [Tue, 12:00PM, 24hr(s)] ... Done.
  Adding scheduled rebuild to slot 6 for [Sat, 1:00PM, 2hr(s)] ... Done.
  Adding scheduled rebuild to slot 7 for [Wed, 1:00AM, 1hr(s)] ... Done.
  
  $ "$KV_CLI" /c0 show rebuild | tail -n 5
  4\tMon\t12:00am\t\t 1 hr(s)\tdisabled (esc)
  5\tTue\t12:00pm\t\t24 hr(s)\tdisabled (esc)
  6\tSat\t1:00pm\t\t 2 hr(s)\tdisabled (esc)
  7\tWed\t1:00am\t\t 1 hr(s)\tdisabled (esc)
  
  $ log
  CLI [Set Rebuild Task(controller=0, slot=3, start=Mon.00:00, duration=60): Success]
  CLI [Set Rebuild Task(controller=0, slot=4, start=Tue.12:00, duration=1440): Success]
  CLI [Set Rebuild Task(controller=0, slot=5, start=Sat.13:00, duration=120): Success]
  CLI [Set Rebuild Task(controller=0, slot=6, start=Wed.01:00, duration=60): Success]

The timetable is now full: adding prints the full message, succeeds and
changes nothing.

  $ cp host.json before.json
  $ "$KV_CLI" /c0 add rebuild=thu:1:1
  Rebuild schedule full - delete one or more slots before adding.
  
  
  $ cmp -s before.json host.json && echo unchanged
  unchanged
  $ log

Selftest slots take a day and an hour only.

  $ "$KV_CLI" /c0 add selftest=fri:23
  [Fri, 11:00PM] ... Done.
  
  $ slot 2
  {"rebuild":{"duration":240,"start":120},"selftest_start":8580,"verify":{"duration":1440,"start":10020}}
  $ "$KV_CLI" /c0 add selftest=sun:2:4
  Error: (CLI:017) Invalid argument in sched command.
  
  
  [1]
  $ log
  CLI [Set Selftest Task(controller=0, slot=2, start=Fri.23:00): Success]

Slot text errors: empty 48, an hour or duration out of range or not a
number 49, text left over 17, an unknown day 61 (tested after the times).

  $ . "$TESTDIR/batch.sh"
  $ kv_words "/c0 add" rebuild= rebuild=sun rebuild=sun:24:1 rebuild=sun:x:1 rebuild=sun:1:0 rebuild=sun:1:25 rebuild=sun:1 rebuild=sun:1:1:1 rebuild=fun:1:1 rebuild=fun:1:25 verify=sunday:1:1 selftest=sun:-1
  [rebuild=]
  Error: (CLI:048) Invalid background task slot number.
  [rebuild=sun]
  Error: (CLI:049) Invalid background task time specification.
  [rebuild=sun:24:1]
  Error: (CLI:049) Invalid background task time specification.
  [rebuild=sun:x:1]
  Error: (CLI:049) Invalid background task time specification.
  [rebuild=sun:1:0]
  Error: (CLI:049) Invalid background task time specification.
  [rebuild=sun:1:25]
  Error: (CLI:049) Invalid background task time specification.
  [rebuild=sun:1]
  Error: (CLI:049) Invalid background task time specification.
  [rebuild=sun:1:1:1]
  Error: (CLI:017) Invalid argument in sched command.
  [rebuild=fun:1:1]
  Error: (CLI:061) Invalid background task day specification.
  [rebuild=fun:1:25]
  Error: (CLI:049) Invalid background task time specification.
  [verify=sunday:1:1]
  Error: (CLI:061) Invalid background task day specification.
  [selftest=sun:-1]
  Error: (CLI:049) Invalid background task time specification.

Deleting a rebuild and a selftest slot writes the start 65535.

  $ "$KV_CLI" /c0 del rebuild=1
  Removing scheduled rebuild slot [1] ... Done.
  
  $ "$KV_CLI" /c0 del selftest=1
  Removing scheduled selftest slot [1] ... Done.
  
  $ slot 0
  {"rebuild":{"duration":0,"start":65535},"selftest_start":65535,"verify":{"duration":60,"start":780}}
  $ log
  CLI [Set Rebuild Task(controller=0, slot=0, start=delete: Success]
  CLI [Set Selftest Task(controller=0, slot=0, start=delete: Success]

Slot numbers outside 1 to 7 are 48; a number too large for the command
never wraps round onto a real slot.

  $ cp host.json before.json
  $ kv_words "/c0 del" rebuild=0 rebuild=8 verify=x selftest= rebuild=4294967297 selftest=-4294967295
  [rebuild=0]
  Error: (CLI:048) Invalid background task slot number.
  [rebuild=8]
  Error: (CLI:048) Invalid background task slot number.
  [verify=x]
  Error: (CLI:048) Invalid background task slot number.
  [selftest=]
  Error: (CLI:048) Invalid background task slot number.
  [rebuild=4294967297]
  Error: (CLI:048) Invalid background task slot number.
  [selftest=-4294967295]
  Error: (CLI:048) Invalid background task slot number.
  $ cmp -s before.json host.json && echo unchanged
  unchanged

Verify with basic verify at hand (family 8, level 37): the timetable's
status column reads "AdvVerify"; deleting keeps at least one advanced
verify task, and a deleted slot says so.

  $ "$KV_CLI" /c0 show verify
  
  Verify Schedule for Controller /c0
  ========================================================
  Slot\tDay\tHour\t\tDuration\tAdvVerify (esc)
  --------------------------------------------------------
  1\tSun\t1:00pm\t\t 1 hr(s)\t (esc)
  2\t-  \t-   \t\t-          \t (esc)
  3\tSat\t11:00pm\t\t24 hr(s)\t (esc)
  4\t-  \t-   \t\t-          \t (esc)
  5\t-  \t-   \t\t-          \t (esc)
  6\t-  \t-   \t\t-          \t (esc)
  7\t-  \t-   \t\t-          \t (esc)
  
  
  $ "$KV_CLI" /c0 del verify=4
  Task has already been deleted.
  
  $ "$KV_CLI" /c0 del verify=3
  Removing scheduled verify slot [3]... Done.
  
  $ "$KV_CLI" /c0 del verify=1
  Cannot delete last scheduled task. At least one task must remain.
  
  $ "$KV_CLI" /c0 show verify | sed -n 6,8p
  1\tSun\t1:00pm\t\t 1 hr(s)\t (esc)
  2\t-  \t-   \t\t-          \t (esc)
  3\t-  \t-   \t\t-          \t (esc)
  $ log
  CLI [Set Verify Task(controller=0, slot=2, start=delete: Success]

Basic verify: with no further word the preferred start is Saturday, one
minute past midnight (8641); with pref=day:hour that day and hour. The
verify timetable then shows only the preferred start; adding and deleting
a verify slot warn that they concern advanced verify.

  $ "$KV_CLI" /c0 set verify=basic
  Setting /c0 basic verify preferred time to [Sat, 12:00AM] ... Done.
  
  $ ctl tasks
  {"rebuild_mode":1,"rebuild_rate":5,"verify_mode":1,"verify_rate":2,"verify_schedule_mode":2,"verify_start":8641}
  $ "$KV_CLI" /c0 show verify
  /c0 basic verify weekly preferred start: Saturday, 12:00AM
  
  $ "$KV_CLI" /c0 set verify=basic pref=wed:13
  Setting /c0 basic verify preferred time to [Wed, 1:00PM] ... Done.
  
  $ "$KV_CLI" /c0 show verify
  /c0 basic verify weekly preferred start: Wednesday, 1:00PM
  
  $ "$KV_CLI" /c0 set verify=basic pref=sun:0
  Setting /c0 basic verify preferred time to [Sun, 12:00AM] ... Done.
  
  $ "$KV_CLI" /c0 show verify
  /c0 basic verify weekly preferred start: Sunday, 12:00AM
  
  $ "$KV_CLI" /c0 add verify=mon:3:2
  WARNING: A background verify task will be added to the schedule,
  however, this operation is associated with Advanced Verify only,
  and not Basic Verify.
  
  Adding scheduled verify to slot 3 for [Mon, 3:00AM, 2hr(s)] ... Done.
  
  $ "$KV_CLI" /c0 del verify=1
  WARNING: A background verify task may be deleted from the schedule,
  however, this operation is associated with Advanced Verify only,
  and not Basic Verify.
  
  Removing scheduled verify slot [1]... Done.
  
  $ log
  CLI [Disable Verify Schedule(controller=0): Success]
  CLI [Disable Verify Schedule(controller=0): Success]
  CLI [Disable Verify Schedule(controller=0): Success]
  CLI [Set Verify Task(controller=0, slot=2, start=Mon.03:00, duration=120): Success]
  CLI [Set Verify Task(controller=0, slot=0, start=delete: Success]

Preferred-start errors: no "pref=" 64, a value without ":" or of length 4
64, an hour out of range or not digits 49, an unknown day 61, a further
word 17. Nothing is written.

  $ cp host.json before.json
  $ kv_words "/c0 set verify=basic" "x" "pref=sat" "pref=sat:" "pref=sunday:1" "pref=sat:24" "pref=sat:1x" "pref=sat::" "pref=abc:1" "pref=sat:1 x"
  [x]
  Error: (CLI:064) Invalid set verify command.
  [pref=sat]
  Error: (CLI:064) Invalid set verify command.
  [pref=sat:]
  Error: (CLI:064) Invalid set verify command.
  [pref=sunday:1]
  Error: (CLI:064) Invalid set verify command.
  [pref=sat:24]
  Error: (CLI:049) Invalid background task time specification.
  [pref=sat:1x]
  Error: (CLI:049) Invalid background task time specification.
  [pref=sat::]
  Error: (CLI:049) Invalid background task time specification.
  [pref=abc:1]
  Error: (CLI:061) Invalid background task day specification.
  [pref=sat:1 x]
  Error: (CLI:017) Invalid argument in sched command.
  $ cmp -s before.json host.json && echo unchanged
  unchanged

Advanced verify and the schedule switches; a word after them is refused
(63 for rebuild, 64 for verify).

  $ "$KV_CLI" /c0 set verify=advanced
  Enabling scheduled verifies on controller /c0 ...  Done.
  
  $ "$KV_CLI" /c0 set verify=disable
  Disabling scheduled verifies on controller /c0 ...  Done.
  
  $ "$KV_CLI" /c0 set verify=enable
  Enabling scheduled verifies on controller /c0 ...  Done.
  
  $ "$KV_CLI" /c0 set rebuild=enable
  Enabling scheduled rebuilds on controller /c0 ... Done.
  
  $ "$KV_CLI" /c0 show rebuild | sed -n 6p
  1\t-  \t-   \t\t-          \tenabled (esc)
  $ "$KV_CLI" /c0 set rebuild=disable
  Disabling scheduled rebuilds on controller /c0 ... Done.
  
  $ ctl tasks
  {"rebuild_mode":1,"rebuild_rate":5,"rebuild_schedule_mode":2,"verify_mode":1,"verify_rate":2,"verify_schedule_mode":1,"verify_start":0}
  $ log
  CLI [Enable Verify Schedule(controller=0): Success]
  CLI [Disable Verify Schedule(controller=0): Success]
  CLI [Enable Verify Schedule(controller=0): Success]
  CLI [Enable Rebuild Schedule(controller=0): Success]
  CLI [Disable Rebuild Schedule(controller=0): Success]
  $ kv_words "/c0 set" "rebuild=enable x" "rebuild=on" "rebuild=" "verify=enable x" "verify=on"
  [rebuild=enable x]
  Error: (CLI:063) Invalid set rebuild command.
  [rebuild=on]
  Error: (CLI:063) Invalid set rebuild command.
  [rebuild=]
  Error: (CLI:063) Invalid set rebuild command.
  [verify=enable x]
  Error: (CLI:064) Invalid set verify command.
  [verify=on]
  Error: (CLI:064) Invalid set verify command.

Selftest switching: both kinds, or one with task=udma or task=smart; one
word after the task word is ignored, two are 17; other words 65.

  $ "$KV_CLI" /c0 set selftest=enable
  Sending commands to enable all selftests ... Done. 
  
  
  $ ctl tasks.selftest_flags
  3
  $ "$KV_CLI" /c0 set selftest=disable task=udma
  Sending commands to disable UDMA selftest ... Done.  
  
  
  $ ctl tasks.selftest_flags
  2
  $ "$KV_CLI" /c0 set selftest=disable task=smart extra
  Sending commands to disable SMART selftest ... Done.  
  
  
  $ ctl tasks.selftest_flags
  0
  $ "$KV_CLI" /c0 set selftest=enable task=smart
  Sending commands to enable SMART selftest ... Done. 
  
  
  $ "$KV_CLI" /c0 show selftest | sed -n 6p
  1\t-  \t-   \t\tdisabled   \tenabled (esc)
  $ log
  CLI [Set Selftest Flags(controller=0, flags=3(DMA|SMART)): Success]
  CLI [Set Selftest Flags(controller=0, flags=2(SMART)): Success]
  CLI [Set Selftest Flags(controller=0, flags=0(DISABLED)): Success]
  CLI [Set Selftest Flags(controller=0, flags=2(SMART)): Success]
  $ kv_words "/c0 set" "selftest=enable task=smart x y" "selftest=on" "selftest=enable udma" "selftest=enable task=both"
  [selftest=enable task=smart x y]
  Sending commands to enable SMART selftest ... Error: (CLI:017) Invalid argument in sched command.
  [selftest=on]
  Error: (CLI:065) Invalid set selftest command.
  [selftest=enable udma]
  Error: (CLI:065) Invalid set selftest command.
  [selftest=enable task=both]
  Error: (CLI:065) Invalid set selftest command.

Without basic verify (family 6, level 33): "basic" and "advanced" are 148,
the timetable's status column reads "Status" and a verify slot is deleted
without the last-task rule.

  $ host family6 "$(cat "$FIXTURES/ctlset/schedule.jq")"
  $ kv_first_lines "/c0 set" verify=basic verify=advanced verify=foo
  Error: (CLI:148) Basic/Advanced Verify not supported.
  Error: (CLI:148) Basic/Advanced Verify not supported.
  Error: (CLI:064) Invalid set verify command.
  $ "$KV_CLI" /c0 set verify=enable
  Enabling scheduled verifies on controller /c0 ...  Done.
  
  $ "$KV_CLI" /c0 show verify | sed -n 4,7p
  Slot\tDay\tHour\t\tDuration\tStatus (esc)
  --------------------------------------------------------
  1\tSun\t1:00pm\t\t 1 hr(s)\tenabled (esc)
  2\t-  \t-   \t\t-          \tenabled (esc)
  $ "$KV_CLI" /c0 del verify=1
  Removing scheduled verify slot 1 ... Done.
  
  $ "$KV_CLI" /c0 del verify=3
  Removing scheduled verify slot 3 ... Done.
  
  $ "$KV_CLI" /c0 del verify=3
  Removing scheduled verify slot 3 ... Done.
  
  $ log
  CLI [Enable Verify Schedule(controller=0): Success]
  CLI [Set Verify Task(controller=0, slot=0, start=delete: Success]
  CLI [Set Verify Task(controller=0, slot=2, start=delete: Success]
  CLI [Set Verify Task(controller=0, slot=2, start=delete: Success]

The old-style sched command: the timetable without further words; add
with d, h and t words; remove; enable and disable; selftest kinds s0
(UDMA) and s1 (SMART).

  $ "$KV_CLI" sched rebuild c0 | head -7
  
  Rebuild Schedule for Controller /c0
  ========================================================
  Slot\tDay\tHour\t\tDuration\tStatus (esc)
  --------------------------------------------------------
  1\tSun\t2:00am\t\t 4 hr(s)\tdisabled (esc)
  2\t-  \t-   \t\t-          \tdisabled (esc)
  $ "$KV_CLI" sched rebuild c0 add d1 h22 t3
  Adding scheduled rebuild to slot 3 for [Mon, 10:00PM, 3hr(s)] ... Done.
  
  $ "$KV_CLI" sched verify c0 add d0 h0 t24
  Adding scheduled verify to slot 1 for [Sun, 12:00AM, 24hr(s)] ... Done.
  
  $ "$KV_CLI" sched selftest c0 add d6 h12
  [Sat, 12:00PM] ... Done.
  
  $ "$KV_CLI" sched rebuild c0 remove 1
  Removing scheduled rebuild slot [1] ... Done.
  
  $ "$KV_CLI" sched verify c0 remove 2
  Removing scheduled verify slot 2 ... Done.
  
  $ "$KV_CLI" sched selftest c0 remove 3
  Removing scheduled selftest slot [3] ... Done.
  
  $ "$KV_CLI" sched rebuild c0 enable
  Enabling scheduled rebuilds on controller /c0 ... Done.
  
  $ "$KV_CLI" sched verify c0 disable
  Disabling scheduled verifies on controller /c0 ...  Done.
  
  $ "$KV_CLI" sched selftest c0 enable s1
  Sending commands to enable selftest task 1...Done. 
  
  
  $ "$KV_CLI" sched selftest c0 disable
  Sending commands to disable all selftest tasks ... Done.  
  
  
  $ "$KV_CLI" sched selftest c0 enable
  Sending commands to enable all selftest tasks ... Done. 
  
  
  $ ctl tasks
  {"rebuild_rate":2,"rebuild_schedule_mode":1,"selftest_flags":3,"verify_rate":4,"verify_schedule_mode":2}
  $ log
  CLI [Set Rebuild Task(controller=0, slot=2, start=Mon.22:00, duration=180): Success]
  CLI [Set Verify Task(controller=0, slot=0, start=Sun.00:00, duration=1440): Success]
  CLI [Set Selftest Task(controller=0, slot=2, start=Sat.12:00): Success]
  CLI [Set Rebuild Task(controller=0, slot=0, start=delete: Success]
  CLI [Set Verify Task(controller=0, slot=1, start=delete: Success]
  CLI [Set Selftest Task(controller=0, slot=2, start=delete: Success]
  CLI [Enable Rebuild Schedule(controller=0): Success]
  CLI [Disable Verify Schedule(controller=0): Success]
  CLI [Set Selftest Flags(controller=0, flags=2(SMART)): Success]
  CLI [Set Selftest Flags(controller=0, flags=0(DISABLED)): Success]
  CLI [Set Selftest Flags(controller=0, flags=3(DMA|SMART)): Success]
  $ kv_words "sched" "rebuild c0 foo" "rebuild c0 add d7 h1 t1" "rebuild c0 add d1 x1 t1" "rebuild c0 add d1 h1" "rebuild c0 add dx h1 t1" "rebuild c0 add d1 h1 t1 x" "selftest c0 add d1 h1 t1" "verify c0 remove 8" "verify c0 remove x" "verify c0 remove 1 2" "selftest c0 enable s2" "selftest c0 enable x" "selftest c0 disable s0 a b" "rebuild c0 enable x"
  [rebuild c0 foo]
  Error: (CLI:017) Invalid argument in sched command.
  [rebuild c0 add d7 h1 t1]
  Error: (CLI:049) Invalid background task time specification.
  [rebuild c0 add d1 x1 t1]
  Error: (CLI:049) Invalid background task time specification.
  [rebuild c0 add d1 h1]
  Error: (CLI:049) Invalid background task time specification.
  [rebuild c0 add dx h1 t1]
  Error: (CLI:049) Invalid background task time specification.
  [rebuild c0 add d1 h1 t1 x]
  Error: (CLI:017) Invalid argument in sched command.
  [selftest c0 add d1 h1 t1]
  Error: (CLI:017) Invalid argument in sched command.
  [verify c0 remove 8]
  Error: (CLI:048) Invalid background task slot number.
  [verify c0 remove x]
  Error: (CLI:048) Invalid background task slot number.
  [verify c0 remove 1 2]
  Error: (CLI:017) Invalid argument in sched command.
  [selftest c0 enable s2]
  Error: (CLI:017) Invalid argument in sched command.
  [selftest c0 enable x]
  Error: (CLI:017) Invalid argument in sched command.
  [selftest c0 disable s0 a b]
  Sending commands to disable selftest task 0...Error: (CLI:017) Invalid argument in sched command.
  [rebuild c0 enable x]
  Error: (CLI:063) Invalid set rebuild command.

A failed write ends the command with the library's error; the rebuild
switches alone print "Failed." first. (The add reads the timetable, slot 1
included, before it writes slot 1.)

  $ fault_later 1040 3 1 && "$KV_CLI" /c0 add rebuild=sun:1:1
  Adding scheduled rebuild to slot 1 for (0x03:0x0204): Drive timeout
  
  
  [1]
  $ fault 1036 3 && "$KV_CLI" /c0 set rebuild=enable
  Enabling scheduled rebuilds on controller /c0 ...Failed.
  (0x03:0x0204): Drive timeout
  
  
  [1]
  $ fault 1036 4 && "$KV_CLI" /c0 set verify=enable
  Enabling scheduled verifies on controller /c0 ... (0x03:0x0204): Drive timeout
  
  
  [1]
  $ fault 1036 9 && "$KV_CLI" /c0 set selftest=enable
  Sending commands to enable all selftests ... (0x03:0x0204): Drive timeout
  
  
  [1]
  $ fault 1043 3 && "$KV_CLI" /c0 del rebuild=4
  Removing scheduled rebuild slot [4] ... (0x03:0x0204): Drive timeout
  
  
  [1]
  $ log
  CLI [Set Rebuild Task(controller=0, slot=0, start=Sun.01:00, duration=60): Failed]
  CLI [Enable Rebuild Schedule(controller=0): Failed]
  CLI [Enable Verify Schedule(controller=0): Failed]
  CLI [Set Rebuild Task(controller=0, slot=3, start=delete: Failed]

The commands that run over every controller treat a failing controller
as their own rules say: discovery reports it and goes on, the schedule
views drop it without a word, the firmware update reports it on standard
output and goes on, and the other commands stop at it. Two newer-family
controllers: c0 (family 8) and c1 (family 6 with units u0 and u10).

Discovery: unit 10 of c1 cannot be read (an injected firmware error), so
c1 is reported on standard error and left out; c0 works, and c1's name
then names nothing.

  $ cp "$FIXTURES/controllers/unit_fault.json" host.json && export KV_EMULATED_HOST="$PWD/host.json"
  $ "$KV_CLI" show 2>err; echo "status $?"; cat err
  
  Ctl   Model        (V)Ports  Drives   Units   NotOpt  RRate   VRate  BBU
  ------------------------------------------------------------------------
  c0    KV-V820-8p   0         0        0       0       3       3      -        
  
  status 0
  (0x03:0x0204): Drive timeout
  
  
  $ "$KV_CLI" /c1/u0 2>&1 | tail -3
  Error: (CLI:003) Specified controller does not exist.
  
  

The schedule views: c0's background task table cannot be read, so its
timetables are left out silently and c1's are shown; the command
succeeds. Asked for directly, c0's timetable fails with the library's
text.

  $ cp "$FIXTURES/controllers/task_fault.json" host.json
  $ "$KV_CLI" show rebuild 2>err; echo "status $?"; cat err
  
  Rebuild Schedule for Controller /c1
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
  
  status 0
  $ "$KV_CLI" show verify selftest 2>err | grep Controller; echo "status $?"; cat err
  Verify Schedule for Controller /c1
  Selftest Schedule for Controller /c1
  status 0
  $ "$KV_CLI" /c0 show rebuild; echo "status $?"
  (0x03:0x0204): Drive timeout
  
  
  status 1

The firmware update: each controller that refuses the update words is
reported on standard output, and the update goes on with the next one; the
run succeeds.

  $ "$KV_CLI" update fw=image.img bogus 2>err; echo "status $?"; cat err
  Error: (CLI:095) Invalid image filename or update command syntax.
  
  
  Error: (CLI:095) Invalid image filename or update command syntax.
  
  
  
  status 0

Every other loop stops at the first failure: the rescan of c0 fails (a
drive was attached to its port 2, and the controller refuses the import
scan of it) and c1 is not rescanned.

  $ jq '.machine.controllers[0].new_drives = [{"port": 2, "capacity": 1953525168}] | .faults += [{"match": {"layer": "firmware", "controller": 0, "opcode": "0x07"}, "action": {"status": 1, "code": "0x0204"}, "count": "always"}]' "$FIXTURES/controllers/task_fault.json" > host.json
  $ "$KV_CLI" rescan 2>err; echo "status $?"; cat err
  Rescanning controller /c0 for units and drives ...Failed.
  status 1
  (0x03:0x0204): Drive timeout
  
  

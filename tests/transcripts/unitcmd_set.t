The set command of a unit: each attribute word applied at once, in the
order given, with its progress line, "Done." and its audit log line. The
host of unitcmd_show.t: c0 (family 8, firmware level 37, a battery) with
a RAID-5 u0 on enclosure slots, a RAID-6 u1, a spare u3 and a RAID-0 u4;
c1 (family 6, level 33, no battery) with a RAID-1 u0; c2 (family 4).

  $ . "$TESTDIR/audit_log.sh"
  $ cp "$FIXTURES/unitcmd/units.json" host.json && export KV_EMULATED_HOST="$PWD/host.json"
  $ . "$FIXTURES/ctlattr/faults.sh"
  $ log() { kv_audit_lines; rm -f ProgramData/Orvo/kv_mgmt.log; }
  $ . "$TESTDIR/batch.sh"
  $ words() { kv_words "$unit set" "$@"; }

Word errors, raised before anything is asked of the controller or
printed: no word, a word that names no setting, a bad value (each
setting its own code; the read cache has its own message), a word after
a setting that takes none but "q" or "quiet", a word after writedpo=.

  $ unit=/c0/u0
  $ words "" foo cache=maybe wrcache=1 "cache=on now" "cache=on autoverify=on" rdcache=fast "writedpo=force quiet" writedpo=maybe autoverify=yes ignoreecc=1 qpolicy=maybe keepwell=fast "keepwell=balance now" identify=blink rrr=never "rrr=all now" "rapidrecovery=all quietly" "name"
  []
  Error: (CLI:080) Invalid unit set command.
  [foo]
  Error: (CLI:080) Invalid unit set command.
  [cache=maybe]
  Error: (CLI:081) Invalid unit set cache command.
  [wrcache=1]
  Error: (CLI:081) Invalid unit set cache command.
  [cache=on now]
  Error: (CLI:081) Invalid unit set cache command.
  [cache=on autoverify=on]
  Error: (CLI:081) Invalid unit set cache command.
  [rdcache=fast]
  Error: (CLI:160) Invalid set read cache command [valid: basic|intelligent|off].
  [writedpo=force quiet]
  Error: (CLI:080) Invalid unit set command.
  [writedpo=maybe]
  Error: (CLI:080) Invalid unit set command.
  [autoverify=yes]
  Error: (CLI:082) Invalid unit set autoverify command.
  [ignoreecc=1]
  Error: (CLI:083) Invalid unit set ignoreECC command.
  [qpolicy=maybe]
  Error: (CLI:106) Invalid unit set queuing policy command.
  [keepwell=fast]
  Error: (CLI:108) Invalid unit set keepwell policy command.
  [keepwell=balance now]
  Error: (CLI:108) Invalid unit set keepwell policy command.
  [identify=blink]
  Error: (CLI:105) Invalid unit set identify command.
  [rrr=never]
  Error: (CLI:080) Invalid unit set command.
  [rrr=all now]
  Error: (CLI:080) Invalid unit set command.
  [rapidrecovery=all quietly]
  Error: (CLI:080) Invalid unit set command.
  [name]
  Error: (CLI:080) Invalid unit set command.
  $ test -f ProgramData/Orvo/kv_mgmt.log || echo "nothing logged"
  nothing logged

Every setting's main path, then its new value in a following show, and
the audit log. Write DPO and identify are not audit-logged.

  $ "$KV_CLI" /c0/u0 set cache=off; "$KV_CLI" /c0/u0 show wrcache
  Setting Write Cache Policy on /c0/u0 to [off] ... Done.
  
  /c0/u0 Write Cache = off
  
  $ "$KV_CLI" /c0/u0 set wrcache=on; "$KV_CLI" /c0/u0 show cache
  Setting Write Cache Policy on /c0/u0 to [on] ... Done.
  
  /c0/u0 Write Cache = on
  
  $ "$KV_CLI" /c0/u0 set rdcache=basic; "$KV_CLI" /c0/u0 set rdcache=off; "$KV_CLI" /c0/u0 set rdcache=intelligent; "$KV_CLI" /c0/u0 show rdcache
  Setting Read Cache Policy on /c0/u0 to [basic] ... Done.
  
  Setting Read Cache Policy on /c0/u0 to [off] ... Done.
  
  Setting Read Cache Policy on /c0/u0 to [intelligent] ... Done.
  
  /c0/u0 Read Cache = Intelligent
  
  $ "$KV_CLI" /c0/u0 set writedpo=ignore; "$KV_CLI" /c0/u0 show writedpo
  Setting Write DPO policy on /c0/u0 to [ignore] ... Done.
  
  /c0/u0 Write DPO policy setting = ignore
  
  $ "$KV_CLI" /c0/u0 set autoverify=on ignoreecc=on; "$KV_CLI" /c0/u0 show autoverify ignoreecc
  Setting Auto-Verify Policy on /c0/u0 to [on] ... Done.
  Setting Ignore ECC Policy on /c0/u0 to [on] ... Done.
  
  /c0/u0 Auto Verify Policy = on        
  /c0/u0 Ignore ECC policy = on        
  
  $ "$KV_CLI" /c0/u0 set autoverify=off ignoreecc=off
  Setting Auto-Verify Policy on /c0/u0 to [off] ... Done.
  Setting Ignore ECC Policy on /c0/u0 to [off] ... Done.
  
  $ "$KV_CLI" /c0/u0 set name=abcdefghijklmnopqrst; "$KV_CLI" /c0/u0 show name
  Naming unit /c0/u0 to [abcdefghijklmnopqrst] ... Done.
  
  /c0/u0 name = abcdefghijklmnopqrst 
  
  $ "$KV_CLI" /c0/u0 set qpolicy=off; "$KV_CLI" /c0/u0 show qpolicy
  Setting Command Queuing Policy for unit /c0/u0 to [off] ... Done.
  
  /c0/u0 Command Queuing Policy = off       
  
  $ "$KV_CLI" /c0/u0 set keepwell=protection; "$KV_CLI" /c0/u0 set keepwell=balance; "$KV_CLI" /c0/u0 show keepwell
  Setting Command Keepwell Policy for unit /c0/u0 to [protection] ... Done.
  
  Setting Command Keepwell Policy for unit /c0/u0 to [balance] ... Done.
  
  /c0/u0 Keepwell Policy = balance     
  
  $ "$KV_CLI" /c0/u0 set identify=on; "$KV_CLI" /c0/u0 show identify
  Setting unit Identify on /c0/u0 to [on] ... Done.
  
  /c0/u0 Identify status = on
  
  $ "$KV_CLI" /c0/u0 set identify=off; "$KV_CLI" /c0/u0 show identify
  Setting unit Identify on /c0/u0 to [off] ... Done.
  
  /c0/u0 Identify status = off
  
  $ "$KV_CLI" /c0/u0 set rrr=rebuild; "$KV_CLI" /c0/u0 set rapidrecovery=all; "$KV_CLI" /c0/u0 show rrr
  Setting Rapid RAID Recovery policy on /c0/u0 to [rebuild] ... Done.
  
  Setting Rapid RAID Recovery policy on /c0/u0 to [all] ... Done.
  
  /c0/u0 Rapid RAID Recovery setting = all
  
  $ log
  CLI [Disable Write Cache(controller=0, unit=0): Success]
  CLI [Enable Write Cache(controller=0, unit=0): Success]
  CLI [Enable Basic Read Cache(controller=0, unit=0): Success]
  CLI [Disable Read Cache(controller=0, unit=0): Success]
  CLI [Enable Intelligent Read Cache(controller=0, unit=0): Success]
  CLI [Enable Auto Verify(controller=0, unit=0): Success]
  CLI [Continue on ECC errors on rebuild(controller=0, unit=0): Success]
  CLI [Disable Auto Verify(controller=0, unit=0): Success]
  CLI [Halt on ECC errors on rebuild(controller=0, unit=0): Success]
  CLI [Set Unit Name(controller=0, unit=0, name=abcdefghijklmnopqrst): Success]
  CLI [Disabled Unit Queuing(controller=0, unit=0): Success]
  CLI [Set Keepwell Mode(controller=0, unit=0, mode=protect): Success]
  CLI [Set Keepwell Mode(controller=0, unit=0, mode=balance): Success]
  CLI [Set Rapid RAID Recovery(controller=0, unit=0, rr_recovery=Rebuild): Success]
  CLI [Set Rapid RAID Recovery(controller=0, unit=0, rr_recovery=All): Success]

Several words apply in order; those applied stay applied when a later
one is refused. A name of 21 characters is refused after its progress
line.

  $ "$KV_CLI" /c0/u0 set autoverify=on cache=off
  Setting Auto-Verify Policy on /c0/u0 to [on] ... Done.
  Setting Write Cache Policy on /c0/u0 to [off] ... Done.
  
  $ "$KV_CLI" /c0/u0 set qpolicy=on keepwell=maybe
  Setting Command Queuing Policy for unit /c0/u0 to [on] ... Done.
  Error: (CLI:108) Invalid unit set keepwell policy command.
  
  
  [1]
  $ "$KV_CLI" /c0/u0 show autoverify cache qpolicy
  /c0/u0 Auto Verify Policy = on        
  /c0/u0 Write Cache = off
  /c0/u0 Command Queuing Policy = on        
  
  $ "$KV_CLI" /c0/u0 set name=abcdefghijklmnopqrstu
  Naming unit /c0/u0 to [abcdefghijklmnopqrstu] ... Failed.
  Error: (CLI:101) Specified unit name is too long.
  
  
  [1]
  $ log
  CLI [Enable Auto Verify(controller=0, unit=0): Success]
  CLI [Disable Write Cache(controller=0, unit=0): Success]
  CLI [Enabled Unit Queuing(controller=0, unit=0): Success]

Questions. Performance Keepwell and a Rapid RAID Recovery turned off for
good ask first unless "quiet" (or "q") follows; so does the write cache
on a controller without a battery backup unit, never when it is turned
off. A refusal changes nothing and prints no progress line. A "quiet"
after one setting also spares the questions of the settings after it.

  $ echo n | "$KV_CLI" /c0/u0 set keepwell=performance; "$KV_CLI" /c0/u0 show keepwell
  Warning: Unit /c0/u0 keepwell policy is set to Performance which may cause data loss in the event of power failure.
  Do you want to continue ? Y|N [N]: The command is aborted.
  
  /c0/u0 Keepwell Policy = balance     
  
  $ echo y | "$KV_CLI" /c0/u0 set keepwell=perform; "$KV_CLI" /c0/u0 set keepwell=performance quiet
  Warning: Unit /c0/u0 keepwell policy is set to Performance which may cause data loss in the event of power failure.
  Do you want to continue ? Y|N [N]: Setting Command Keepwell Policy for unit /c0/u0 to [perform] ... Done.
  
  Setting Command Keepwell Policy for unit /c0/u0 to [performance] ... Done.
  
  $ "$KV_CLI" /c0/u0 set cache=on
  Setting Write Cache Policy on /c0/u0 to [on] ... Done.
  
  $ echo n | "$KV_CLI" /c1/u0 set cache=on; "$KV_CLI" /c1/u0 set cache=off; echo n | "$KV_CLI" /c1/u0 set cache=on; "$KV_CLI" /c1/u0 show cache
  You do not have a battery backup unit installed, enabling write cache on
  /c1/u0 may cause loss of data in the event of power failure.
  Do you want to continue ? Y|N [N]: The command is aborted.
  
  Setting Write Cache Policy on /c1/u0 to [off] ... Done.
  
  You do not have a battery backup unit installed, enabling write cache on
  /c1/u0 may cause loss of data in the event of power failure.
  Do you want to continue ? Y|N [N]: The command is aborted.
  
  /c1/u0 Write Cache = off
  
  $ echo y | "$KV_CLI" /c1/u0 set wrcache=on; "$KV_CLI" /c1/u0 set cache=off q; "$KV_CLI" /c1/u0 set cache=on quiet
  You do not have a battery backup unit installed, enabling write cache on
  /c1/u0 may cause loss of data in the event of power failure.
  Do you want to continue ? Y|N [N]: Setting Write Cache Policy on /c1/u0 to [on] ... Done.
  
  Setting Write Cache Policy on /c1/u0 to [off] ... Done.
  
  Setting Write Cache Policy on /c1/u0 to [on] ... Done.
  
  $ "$KV_CLI" /c1/u0 set cache=on q keepwell=performance < /dev/null
  Setting Write Cache Policy on /c1/u0 to [on] ... Done.
  Setting Command Keepwell Policy for unit /c1/u0 to [performance] ... Done.
  
  $ "$KV_CLI" /c1/u0 set keepwell=balance
  Setting Command Keepwell Policy for unit /c1/u0 to [balance] ... Done.
  
  $ echo n | "$KV_CLI" /c0/u1 set rrr=disable; "$KV_CLI" /c0/u1 show rrr
  Setting Rapid RAID Recovery to disable is permanent for /c0/u1
  and CANNOT be changed at a later time.
  Do you want to continue ? Y|N [N]: The command is aborted.
  
  /c0/u1 Rapid RAID Recovery setting = all
  
  $ "$KV_CLI" /c0/u1 set rrr=disable q; "$KV_CLI" /c0/u1 set rrr=all; "$KV_CLI" /c0/u1 show rrr
  Setting Rapid RAID Recovery policy on /c0/u1 to [disable] ... Done.
  
  Current Rapid RAID Recovery state is not changable.
  
  /c0/u1 Rapid RAID Recovery setting = disable
  
  $ log
  CLI [Set Keepwell Mode(controller=0, unit=0, mode=perform): Success]
  CLI [Set Keepwell Mode(controller=0, unit=0, mode=perform): Success]
  CLI [Enable Write Cache(controller=0, unit=0): Success]
  CLI [Disable Write Cache(controller=1, unit=0): Success]
  CLI [Enable Write Cache(controller=1, unit=0): Success]
  CLI [Disable Write Cache(controller=1, unit=0): Success]
  CLI [Enable Write Cache(controller=1, unit=0): Success]
  CLI [Enable Write Cache(controller=1, unit=0): Success]
  CLI [Set Keepwell Mode(controller=1, unit=0, mode=perform): Success]
  CLI [Set Keepwell Mode(controller=1, unit=0, mode=balance): Success]
  CLI [Set Rapid RAID Recovery(controller=0, unit=1, rr_recovery=Disable): Success]

What a unit type, a family or a firmware level refuses. The spare and
the RAID-0 unit have no ignore-ECC policy, the spare no queuing or
Keepwell policy; Rapid RAID Recovery is only for redundant units. Below
family 6 there is no identify, Keepwell or queuing policy; below level
37 no read cache, below 36 no write DPO or rapid recovery.

  $ unit=/c0/u3; words ignoreecc=on qpolicy=on keepwell=balance rrr=all
  [ignoreecc=on]
  Setting Ignore ECC Policy on /c0/u3 to [on] ... Failed.
  Error: (CLI:025) Invalid operation(s) for the specified unit.
  [qpolicy=on]
  Setting Command Queuing Policy for unit /c0/u3 to [on] ... Failed.
  Error: (CLI:106) Invalid unit set queuing policy command.
  [keepwell=balance]
  Setting Command Keepwell Policy for unit /c0/u3 to [balance] ... Failed.
  Error: (CLI:025) Invalid operation(s) for the specified unit.
  [rrr=all]
  The Rapid RAID Recovery setting cannot be changed for this array type.
  $ unit=/c0/u4; words ignoreecc=on rrr=all
  [ignoreecc=on]
  Setting Ignore ECC Policy on /c0/u4 to [on] ... Failed.
  Error: (CLI:025) Invalid operation(s) for the specified unit.
  [rrr=all]
  The Rapid RAID Recovery setting cannot be changed for this array type.
  $ unit=/c0/u1; words identify=on
  [identify=on]
  Setting unit Identify on /c0/u1 to [on] ... N/A
  $ unit=/c2/u0; words identify=on keepwell=balance qpolicy=on rdcache=basic
  [identify=on]
  Error: (CLI:105) Invalid unit set identify command.
  [keepwell=balance]
  Setting Command Keepwell Policy for unit /c2/u0 to [balance] ... Failed.
  Error: (CLI:108) Invalid unit set keepwell policy command.
  [qpolicy=on]
  Setting Command Queuing Policy for unit /c2/u0 to [on] ... Failed.
  Error: (CLI:106) Invalid unit set queuing policy command.
  [rdcache=basic]
  Error: (CLI:149) Feature not supported.
  $ unit=/c1/u0; words rdcache=basic writedpo=honor rrr=all
  [rdcache=basic]
  Error: (CLI:149) Feature not supported.
  [writedpo=honor]
  Error: (CLI:149) Feature not supported.
  [rrr=all]
  Error: (CLI:149) Feature not supported.
  $ test -f ProgramData/Orvo/kv_mgmt.log || echo "nothing logged"
  nothing logged

A library failure: the progress line ends in "Failed." and the error
follows; the audit log records the failure. The read cache, write DPO
and rapid recovery lines are left open. A rapid recovery setting that
cannot be read is not supported.

  $ fault 768 14; "$KV_CLI" /c0/u0 set autoverify=on
  Setting Auto-Verify Policy on /c0/u0 to [on] ... Failed.
  (0x03:0x0204): Drive timeout
  
  
  [1]
  $ fault 768 17; "$KV_CLI" /c0/u0 set name=files
  Naming unit /c0/u0 to [files] ... Failed.
  (0x03:0x0204): Drive timeout
  
  
  [1]
  $ fault 768 13; "$KV_CLI" /c0/u0 set cache=off
  Setting Write Cache Policy on /c0/u0 to [off] ... Failed.
  (0x03:0x0204): Drive timeout
  
  
  [1]
  $ fault 768 29; "$KV_CLI" /c0/u0 set rdcache=basic
  Setting Read Cache Policy on /c0/u0 to [basic] ...(0x03:0x0204): Drive timeout
  
  
  [1]
  $ fault 768 27; "$KV_CLI" /c0/u0 set writedpo=force
  Setting Write DPO policy on /c0/u0 to [force] ... (0x03:0x0204): Drive timeout
  
  
  [1]
  $ jq '.faults = [{"match": {"layer": "firmware", "table": 768, "parameter": 28}, "action": {"status": 1, "code": "0x0204"}, "skip": 1}]' host.json > faulty.json && mv faulty.json host.json
  $ "$KV_CLI" /c0/u0 set rrr=rebuild
  Setting Rapid RAID Recovery policy on /c0/u0 to [rebuild] ... (0x03:0x0204): Drive timeout
  
  
  [1]
  $ fault 768 28; "$KV_CLI" /c0/u0 set rrr=rebuild
  Error: (CLI:149) Feature not supported.
  
  
  [1]
  $ log
  CLI [Enable Auto Verify(controller=0, unit=0): Failed]
  CLI [Set Unit Name(controller=0, unit=0, name=files): Failed]
  CLI [Disable Write Cache(controller=0, unit=0): Failed]
  CLI [Enable Basic Read Cache(controller=0, unit=0): Failed]
  CLI [Set Rapid RAID Recovery(controller=0, unit=0, rr_recovery=Rebuild): Failed]

The old-style set of the shell, typed under the old input style or
addressed to the root, reaches the same setters: the write cache with
its own progress line and no question (c1 has no battery backup unit),
auto-verify and overwrite-ECC behind the old-style line. The change is
in the host file and in the audit log; a set alone prints one more empty
line than a unit's set.

  $ KV_CLI_INPUT_STYLE=old "$KV_CLI" set cache c1 u0 off; "$KV_CLI" //kvhost set cache c1 u0 on < /dev/null; "$KV_CLI" /c1/u0 show cache
  Setting Write Cache Policy on /c1/u0 to [off] ... Done.
  
  
  Setting Write Cache Policy on /c1/u0 to [on] ... Done.
  
  
  /c1/u0 Write Cache = on
  
  $ KV_CLI_INPUT_STYLE=old "$KV_CLI" set autoverify c0 u0 off; KV_CLI_INPUT_STYLE=old "$KV_CLI" set overwriteecc c0 u0 on; "$KV_CLI" /c0/u0 show autoverify ignoreecc
  Setting AutoVerify Policy on /c0/u0 to off ... Done.
  
  
  Setting Overwrite ECC Policy on /c0/u0 to on ... Done.
  
  
  /c0/u0 Auto Verify Policy = off       
  /c0/u0 Ignore ECC policy = on        
  
  $ "$KV_CLI" //kvhost set autoverify c1 u0 off; "$KV_CLI" //kvhost set overwriteecc c1 u0 off; "$KV_CLI" /c1/u0 show autoverify ignoreecc
  Setting AutoVerify Policy on /c1/u0 to off ... Done.
  
  
  Setting Overwrite ECC Policy on /c1/u0 to off ... Done.
  
  
  /c1/u0 Auto Verify Policy = off       
  /c1/u0 Ignore ECC policy = off       
  
  $ log
  CLI [Disable Write Cache(controller=1, unit=0): Success]
  CLI [Enable Write Cache(controller=1, unit=0): Success]
  CLI [Disable Auto Verify(controller=0, unit=0): Success]
  CLI [Continue on ECC errors on rebuild(controller=0, unit=0): Success]
  CLI [Disable Auto Verify(controller=1, unit=0): Success]
  CLI [Halt on ECC errors on rebuild(controller=1, unit=0): Success]

Each refusal is the setter's own, after "Failed.": no overwrite-ECC
policy on a RAID-0 unit, an absent unit, a library failure (which the
audit log records).

  $ kv_words "set" "overwriteecc c0 u4 on" "autoverify c0 u9 on" "cache c0 u9 off"
  [overwriteecc c0 u4 on]
  Setting Overwrite ECC Policy on /c0/u4 to on ... Failed.
  Error: (CLI:025) Invalid operation(s) for the specified unit.
  [autoverify c0 u9 on]
  Setting AutoVerify Policy on /c0/u9 to on ... Failed.
  Error: (CLI:006) Specified unit does not exist.
  [cache c0 u9 off]
  Failed.
  Error: (CLI:006) Specified unit does not exist.
  $ fault 768 14; "$KV_CLI" set autoverify c0 u0 on
  Setting AutoVerify Policy on /c0/u0 to on ... Failed.
  (0x03:0x0204): Drive timeout
  
  
  [1]
  $ fault 768 13; "$KV_CLI" set cache c0 u0 off
  Setting Write Cache Policy on /c0/u0 to [off] ... Failed.
  (0x03:0x0204): Drive timeout
  
  
  [1]
  $ log
  CLI [Enable Auto Verify(controller=0, unit=0): Failed]
  CLI [Disable Write Cache(controller=0, unit=0): Failed]

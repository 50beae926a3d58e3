The command words of a unit, /cN/uM, against one host: c0 (family 8,
firmware level 37, a battery) with a rebuilding RAID-5 u0, a RAID-6 u1
rebuilding and verifying, a RAID-10 u2, a spare u3 and a RAID-0 u4; c1
(family 6, level 33, no battery) with a paused verify on the RAID-1 u0, a
SINGLE u1, a JBOD u2 and an initializing RAID-50 u3; c2 (family 4, level
30) with a RAID-5 u0.

  $ cp "$FIXTURES/unitcmd/units.json" host.json && export KV_EMULATED_HOST="$PWD/host.json"
  $ . "$TESTDIR/batch.sh"
  $ words() { kv_words "$unit" "$@"; }

Word errors: no word is 39, an unknown word 38; each command has its own
code for a word it does not take, raised before anything is asked of the
controller. "import" takes any words and changes nothing. The task words
may stand anywhere, but exactly one must be there: "stop rebuild" has no
task word. "migrate" needs a type= word.

  $ unit=/c0/u0
  $ words "" foo import "import x y" start "start foo" "start rebuild" "start rebuild verify" "start verify verify" "start verify now" "start rebuild disk=3 now" "start disk=3 rebuild fast" stop "stop rebuild" "stop verify now" "stop verify verify" pause "pause verify" "pause rebuild now" "pause rebuild rebuild" resume "resume foo" "resume rebuild now" "flush now" "del now" "remove now" "export unitonly now" "migrate" "migrate disk=3" "show all now" "show help status" "show ? status"
  []
  Error: (CLI:039) Invalid unit command syntax.
  [foo]
  Error: (CLI:038) Invalid unit command.
  [import]
  [import x y]
  [start]
  Error: (CLI:068) Invalid start command.
  [start foo]
  Error: (CLI:068) Invalid start command.
  [start rebuild]
  Error: (CLI:068) Invalid start command.
  [start rebuild verify]
  Error: (CLI:068) Invalid start command.
  [start verify verify]
  Error: (CLI:068) Invalid start command.
  [start verify now]
  Error: (CLI:068) Invalid start command.
  [start rebuild disk=3 now]
  Error: (CLI:068) Invalid start command.
  [start disk=3 rebuild fast]
  Error: (CLI:068) Invalid start command.
  [stop]
  Error: (CLI:071) Invalid stop command.
  [stop rebuild]
  Error: (CLI:071) Invalid stop command.
  [stop verify now]
  Error: (CLI:071) Invalid stop command.
  [stop verify verify]
  Error: (CLI:071) Invalid stop command.
  [pause]
  Error: (CLI:074) Invalid pause command.
  [pause verify]
  Error: (CLI:074) Invalid pause command.
  [pause rebuild now]
  Error: (CLI:074) Invalid pause command.
  [pause rebuild rebuild]
  Error: (CLI:074) Invalid pause command.
  [resume]
  Error: (CLI:076) Invalid resume command.
  [resume foo]
  Error: (CLI:076) Invalid resume command.
  [resume rebuild now]
  Error: (CLI:076) Invalid resume command.
  [flush now]
  Error: (CLI:067) Invalid flush command.
  [del now]
  Error: (CLI:078) Invalid unit del command.
  [remove now]
  Error: (CLI:079) Invalid unit export command.
  [export unitonly now]
  Error: (CLI:079) Invalid unit export command.
  [migrate]
  Error: (CLI:040) Invalid unit command value.
  [migrate disk=3]
  Error: (CLI:040) Invalid unit command value.
  [show all now]
  Error: (CLI:066) Invalid unit show command.
  [show help status]
  Error: (CLI:013) Invalid argument in help command.
  [show ? status]
  Error: (CLI:013) Invalid argument in help command.

The drive list of start rebuild is checked as it is read: a range must
ascend and name no more than a controller's ports, a drive may not be
named twice, and only digits, ":" and "-" may stand in it.

  $ words "start rebuild disk=3-1" "start rebuild disk=1:1" "start rebuild disk=2-4:3" "start rebuild disk=0-4000000000" "start rebuild disk=:3" "start rebuild disk=3:" "start rebuild disk=3::4" "start rebuild disk=3a" "start rebuild disk="
  [start rebuild disk=3-1]
  Disks specified in a range must be in ascending order.
  Error: (CLI:144) Invalid drive(s) specified.
  [start rebuild disk=1:1]
  Error: (CLI:008) Invalid ID specified.  Found a specified ID already in use.
  [start rebuild disk=2-4:3]
  Error: (CLI:008) Invalid ID specified.  Found a specified ID already in use.
  [start rebuild disk=0-4000000000]
  Error: (CLI:144) Invalid drive(s) specified.
  [start rebuild disk=:3]
  Error: (CLI:144) Invalid drive(s) specified.
  [start rebuild disk=3:]
  Error: (CLI:144) Invalid drive(s) specified.
  [start rebuild disk=3::4]
  Error: (CLI:144) Invalid drive(s) specified.
  [start rebuild disk=3a]
  Error: (CLI:144) Invalid drive(s) specified.
  [start rebuild disk=]
  Error: (CLI:144) Invalid drive(s) specified.

Help: "help" and "?" print the whole unit help and ignore what follows;
a task command's help word prints its whole topic and runs nothing, also
after a task word; the handlers' own topics.

  $ "$KV_CLI" /c0/u0 help show | head -4
  
    /cx/ux show
    /cx/ux show Attribute [Attribute ...]       where Attribute is:
                initializestatus|rebuildstatus|verifystatus|
  $ "$KV_CLI" /c0/u0 '?' > q.txt; "$KV_CLI" /c0/u0 help > h.txt; cmp q.txt h.txt && echo same
  same
  $ words "start help rebuild" "start rebuild help" "stop ?" "pause help" "resume rebuild ?" "flush help" "del help" "remove ?" "export help" "migrate help type=raid5" "show help" "set help"
  [start help rebuild]
    /cx/ux start rebuild disk=<p:-p...> [ignoreECC] 
    /cx/ux start verify
  [start rebuild help]
    /cx/ux start rebuild disk=<p:-p...> [ignoreECC] 
    /cx/ux start verify
  [stop ?]
    /cx/ux stop verify
  [pause help]
    /cx/ux pause rebuild                                 (Prane/Qualt only)
  [resume rebuild ?]
    /cx/ux resume rebuild                                (Prane/Qualt only)
  [flush help]
    /cx/ux flush
  [del help]
    /cx/ux del [noscan] [quiet]
  [remove ?]
    /cx/ux remove [noscan] [quiet]
  [export help]
    /cx/ux remove [noscan] [quiet]
  [migrate help type=raid5]
    /cx/ux migrate type=<RaidType> [disk=<p:-p..>]          (Rhosk series)
       [group=<3|4|5|6|7|8|9|10|11|12|13|14|15|16>] (group=13-16 Uthmar only)
       [stripe=<size>] [noscan] [nocache] [autoverify]
       RaidType = { raid0, raid1, raid5, raid10, raid50, single,
                                                 raid6 (Tevrin and Uthmar) }
  [show help]
    /cx/ux show
    /cx/ux show Attribute [Attribute ...]       where Attribute is:
                initializestatus|rebuildstatus|verifystatus|
                cache|wrcache(1)|rdcache(2)|name(Rhosk series)|
                qpolicy(Solvane/Tevrin/Uthmar)|volumes(Rhosk series)|
                serial(Rhosk series)|status|keepwell(Solvane/Tevrin/Uthmar)|
                autoverify(Rhosk series)|ignoreECC(Rhosk series)|
                identify(Solvane/Tevrin/Uthmar)|rapidrecovery(Tevrin/Uthmar only)|
                parity(RAID-6 only)
    /cx/ux show all
    Note:
    (1) 'wrcache' and 'cache' both set the write cache and behave identically;
        'wrcache' was introduced together with 'rdcache'.
    (2) 'nordcache' overrides the read cache default and disables the read
        cache; 'rdcachebasic' selects Read Cache Basic.  The read cache is
        supported by Tevrin or newer controllers with release 9.5.2 or later.
  [set help]
    /cx/ux set autoverify=on|off                         (Rhosk series)
    /cx/ux set cache=on|off [quiet]
    /cx/ux set wrcache=on|off [quiet]                    (see note 1)
    /cx/ux set rdcache=basic|intelligent|off             (see note 2)
    /cx/ux set ignoreECC=on|off                          (Rhosk series)
    /cx/ux set name=string                               (Rhosk series)
    /cx/ux set qpolicy=on|off                            (Solvane/Tevrin/Uthmar)
    /cx/ux set keepwell=protect|balance|perform [quiet]  (Solvane/Tevrin/Uthmar)
    /cx/ux set identify=on|off                           (Solvane/Tevrin/Uthmar)
    /cx/ux set rapidrecovery=all|rebuild|disable         (Tevrin/Uthmar only)
                                  [quiet] for 'disable' option

Commands whose words are right are handed on to the unit's tasks or to
the controller: none of them ends in a word error of the unit grammar.
(Run last: once handed on, they change the units.)

  $ handed() { local w i=0 out; kv_batch "${@/#/$unit }" || return; for w in "$@"; do i=$((i + 1)); out=$(cat "batch/$i"); case "$out" in *CLI:0[3-7][0-9]*|*CLI:013*) echo "[$w] $out";; *) echo "[$w] handed on";; esac; done; }

A spare flushes nothing: its flush ends at once without asking the
controller. Units without redundancy refuse a rebuild.

  $ unit=/c0/u3; words flush "start rebuild disk=3" "pause rebuild" "resume rebuild"
  [flush]
  Flushing write-cache on unit /c0/u3 ...Failed.
  Error: (CLI:025) Invalid operation(s) for the specified unit.
  [start rebuild disk=3]
  Error: (CLI:025) Invalid operation(s) for the specified unit.
  [pause rebuild]
  Error: (CLI:025) Invalid operation(s) for the specified unit.
  [resume rebuild]
  Error: (CLI:025) Invalid operation(s) for the specified unit.
  $ unit=/c0/u4; words "start rebuild disk=3"
  [start rebuild disk=3]
  Error: (CLI:025) Invalid operation(s) for the specified unit.
  $ unit=/c1/u2; words "start rebuild disk=4"
  [start rebuild disk=4]
  Error: (CLI:025) Invalid operation(s) for the specified unit.

  $ unit=/c0/u0; handed "start rebuild disk=3 ignoreecc" "start disk=3:5 rebuild" "start verify" "stop verify" "pause rebuild" "resume rebuild" "flush" "migrate type=raid5 disk=3 type=raid0" "export q noscan unitonly"
  [start rebuild disk=3 ignoreecc] handed on
  [start disk=3:5 rebuild] handed on
  [start verify] handed on
  [stop verify] handed on
  [pause rebuild] handed on
  [resume rebuild] handed on
  [flush] handed on
  [migrate type=raid5 disk=3 type=raid0] handed on
  [export q noscan unitonly] handed on
  $ unit=/c0/u2; handed "remove quiet"
  [remove quiet] handed on
  $ unit=/c0/u1; handed "del q"
  [del q] handed on
  $ unit=/c1/u0; handed "del noscan quiet"
  [del noscan quiet] handed on

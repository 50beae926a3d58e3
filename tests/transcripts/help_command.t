The "help" command given on the program's command line: the general help
has no focus line there, several topics print in order, and a word that
names no topic ends the run with error 13 after what was already printed.

  $ cp "$FIXTURES/hosts/plain.json" host.json && export KV_EMULATED_HOST="$PWD/host.json"

  $ "$KV_CLI" help
  
  kv_cli: command line interface for Kivra RAID controllers
  Management program version (2.00.09.012)
  
  
  Commands  Description
  -------------------------------------------------------------------
  show      Displays information about controller(s), unit(s) and port(s).
  flush     Flush write cache data to units in the system.
  rescan    Rescan all empty ports for new unit(s) and disk(s).
  update    Update controller firmware from an image file.
  commit    Commit dirty DCB to storage on controller(s).     (Windows only)
  /cx       Controller specific commands.
  /cx/ux    Unit specific commands.
  /cx/px    Port specific commands.
  /cx/phyx  Phy specific commands.
  /cx/bbu   BBU specific commands.                               (Rhosk only)
  /cx/ex    Enclosure specific commands.                       (Uthmar only)
  /ex       Enclosure specific commands.                      (Solvane/Tevrin only)
  
  Certain commands are qualified with constraints of controller type/model
  support.  Please consult the kv_cli documentation for explanation of the
  controller-qualifiers.
  
  Type help <command> to get more details about a particular command.
  For more detail information see kv_cli's documentation. 
  

"?" is the same command, and the words are lower-cased before the topics
are looked up.

  $ "$KV_CLI" '?' INFO Sched
  
    info 
    info c<c> [driver|model|firmware|bios|monitor|serial|pcb|pchip|achip
               numports|numunits|numdrives|unitstatus|drivestatus|allunitstatus
               ondegrade|spinup|stagger]
    info c<c> u<u> [status|rebuildstatus|verifystatus|initializestatus]
    info c<c> p<p> [status|model|serial|capacity|smart|firmware]
    info c<c> diag
  
  
    sched rebuild c<c> 
    sched rebuild c<c> add d<d> h<h> t<t> 
    sched rebuild c<c> remove <n> 
    sched rebuild c<c> enable|disable
    sched verify c<c> 
    sched verify c<c> add d<d> h<h> t<t> 
    sched verify c<c> remove <n> 
    sched verify c<c> enable|disable
    sched selftest c<c>
    sched selftest c<c> add d<d> h<h> 
    sched selftest c<c> remove <n> 
    sched selftest c<c> enable|disable [s<s>]
  

The controller topic takes one word; the word after it is a topic again.

  $ "$KV_CLI" help /cx update set
    /cx update fw=filename_with_path [force]                  (Rhosk series)
  
    set rebuild c<c> <1..5> 
    set cache c<c> u<u> on|off
    set verify  c<c> <1..5>                (Note: Rhosk series)
    set autoverify c<c> u<u> on|off        (Note: Rhosk series)
    set overwriteECC c<c> u<u> on|off      (Note: Rhosk series)
  

After any other path every word belongs to that object's topic.

  $ "$KV_CLI" help /cx/phyx show set
  
    /cx/phyx show                        (Uthmar only)  
  
  
    /cx/phyx set link=[auto|1.5|3.0]     (Uthmar only) 
  

  $ "$KV_CLI" help quit bogus
  
    quit
      Synonyms: q exit
  
  Error: (CLI:013) Invalid argument in help command.
  
  
  [1]

The alarms topic exists only in the old layout.

  $ "$KV_CLI" help alarms
  Error: (CLI:013) Invalid argument in help command.
  
  
  [1]

  $ KV_CLI_STYLE=old "$KV_CLI" help alarms
  
    This command will display alarms for each controller
  
  
    alarms
    alarms c<c> [c<c> ...]
  

The word grammar of a port command, /cN/pK: the command words, the words
after show, set and remove, and the help topics they lead to.

  $ cp "$FIXTURES/portcmd/host.json" host.json && export KV_EMULATED_HOST="$PWD/host.json"

Each refusal and its CLI code; none of them asks the controller to change
anything.

  $ . "$TESTDIR/batch.sh"
  $ kv_words /c0/p4 "" "foo" "show all foo" "show help x" "set" "set foo" "set identify=blink" "set identify=on now" "set dpmstat=clear type=inst" "remove now" "export x" "show dpmstat type=foo"
  []
  Error: (CLI:036) Invalid port command syntax.
  [foo]
  Error: (CLI:035) Invalid port command.
  [show all foo]
  Error: (CLI:084) Invalid port show command.
  [show help x]
  Error: (CLI:013) Invalid argument in help command.
  [set]
  Error: (CLI:032) Invalid controller command syntax.
  [set foo]
  Error: (CLI:087) Invalid port set command.
  [set identify=blink]
  Error: (CLI:086) Invalid port set identify command.
  [set identify=on now]
  Error: (CLI:086) Invalid port set identify command.
  [set dpmstat=clear type=inst]
  Error: (CLI:087) Invalid port set command.
  [remove now]
  Error: (CLI:085) Invalid port remove/export command.
  [export x]
  Error: (CLI:085) Invalid port remove/export command.
  [show dpmstat type=foo]
  Error: (CLI:146) Invalid performance statistics type in command.
  $ "$KV_CLI" /c3/p0 set identify=blink
  Error: (CLI:034) Invalid port command of the controller.
  
  
  [1]
  $ "$KV_CLI" /c3/p0 set dpmstat=clear
  Error: (CLI:149) Feature not supported.
  
  
  [1]
  $ jq -s '[.[] | select(.opcode == 19 or .opcode == 10 or .scsi == 29 or .scsi == 59)] | length' requests.jsonl
  0

A word that merely contains "identify=" is an identify request.

  $ "$KV_CLI" /c0/p4 set xidentify=off
  Setting port Identify on /c0/p4 to [off] ... Done.
  

Help: the whole topic, and the show, set and remove parts; help after
"remove" removes nothing, even with "quiet" before it.

  $ "$KV_CLI" /c0/p4 help
  
    /cx/px show                                                      
    /cx/px show Attribute [Attribute ...]       where Attribute is:  
                status|model|firmware|serial|capacity|smart|
                ncq|identify|lspeed|(Solvane/Tevrin/Uthmar only)
                driveinfo|ports|connections|drvintf|wwn|(Uthmar only)
                rasect|pohrs|temperature|spindlespd|(Tevrin/Uthmar only)
    /cx/px show all                                                  
    /cx/px show dpmstat [type=<inst|ra|lct|histdata|ext>]
            (Solvane/Tevrin/Uthmar, except for type=ext which is Tevrin/Uthmar only)
            (default: same as type=ra)
  
  
    /cx/px remove [quiet]
  
    /cx/px set identify=on|off                      (Solvane/Tevrin/Uthmar)
    /cx/px set dpmstat=clear [type=<ra|lct|ext>]
           (Solvane/Tevrin/Uthmar, except for type=ext which is Tevrin/Uthmar only)
           (default: same as type=ra)
  
  
  $ "$KV_CLI" /c0/p4 show ?
  
    /cx/px show                                                      
    /cx/px show Attribute [Attribute ...]       where Attribute is:  
                status|model|firmware|serial|capacity|smart|
                ncq|identify|lspeed|(Solvane/Tevrin/Uthmar only)
                driveinfo|ports|connections|drvintf|wwn|(Uthmar only)
                rasect|pohrs|temperature|spindlespd|(Tevrin/Uthmar only)
    /cx/px show all                                                  
    /cx/px show dpmstat [type=<inst|ra|lct|histdata|ext>]
            (Solvane/Tevrin/Uthmar, except for type=ext which is Tevrin/Uthmar only)
            (default: same as type=ra)
  
  
  
  $ "$KV_CLI" /c0/p4 set help
  
    /cx/px set identify=on|off                      (Solvane/Tevrin/Uthmar)
    /cx/px set dpmstat=clear [type=<ra|lct|ext>]
           (Solvane/Tevrin/Uthmar, except for type=ext which is Tevrin/Uthmar only)
           (default: same as type=ra)
  
  
  $ "$KV_CLI" /c0/p4 remove quiet help
  
    /cx/px remove [quiet]
  
  
  $ "$KV_CLI" /c0/p4 show dpmstat help
    /cx/px show dpmstat [type=<inst|ra|lct|histdata|ext>]
            (Solvane/Tevrin/Uthmar, except for type=ext which is Tevrin/Uthmar only)
            (default: same as type=ra)
  
  
  $ "$KV_CLI" /c0/p4 set dpmstat=clear ?
    /cx/px set dpmstat=clear [type=<ra|lct|ext>]
           (Solvane/Tevrin/Uthmar, except for type=ext which is Tevrin/Uthmar only)
           (default: same as type=ra)
  
  $ "$KV_CLI" /c0/p4 show status
  /c0/p4 Status = OK
  

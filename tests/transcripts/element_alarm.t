The commands of an enclosure alarm, /cN/eM/almK and /eM/almK. Controller
c0 (family 8) has the SES enclosures e0 (alarms in every state), e3 (whose
elements ignore every control) and e5 (whose status page cannot be read
and whose controls fail); controller c1 (family 6) has the SAF-TE
enclosure /e0 with a sounding alarm.

  $ cp "$FIXTURES/elements/host.json" host.json && export KV_EMULATED_HOST="$PWD/host.json"
  $ sends() { jq -s '[.[] | select(.scsi == 29 or .scsi == 59)] | length' requests.jsonl; }

The row: status, and state and audibility only for an alarm whose status
is OK or ACTIVATED. A SAF-TE alarm, and one whose reads fail, shows "-"
for what cannot be read.

  $ "$KV_CLI" /c0/e0/alm0 show
  
  Alarm     Status          State     Audibility
  ------------------------------------------------
  alm0      OK              OFF       UNMUTE       
  
  $ for a in 1 2 3 4; do "$KV_CLI" /c0/e0/alm$a show | sed -n 4p; done
  alm1      ACTIVATED       ON        UNMUTE       
  alm2      OK              OFF       MUTE         
  alm3      NOT-INSTALLED   -         -            
  alm4      FAIL            -         -            
  $ "$KV_CLI" /c0/e5/alm0 show | sed -n 4p
  alm0      -               -         -            
  $ "$KV_CLI" /e0/alm0 show | sed -n 4p
  alm0      ACTIVATED       -         -            

Word errors, every one raised before the library is asked for a change:
124 for a missing or bad word after "show" or "set", 125 for another
command word ("identify" is not an alarm word), 155 for a bad alarm value
or words after mute, unmute or off (a word without "=" is its own value),
156 for "on" without a tone or with a tone outside 1 to 4 (also one too
large for a 32-bit number, which must not wrap into the range).

  $ before=$(sends)
  $ for words in "" "foo" "identify" "show x" "set" "set foo" "set identify=on" "set alarm" "set alarm=loud" "set alarm=mute extra" "set alarm=unmute extra" "set alarm=off now" "set alarm=on" "set alarm=on tone=5" "set alarm=on tone=0" "set alarm=on tone=x" "set alarm=on tone=4294967297" "set alarm=on volume=3"; do
  >   echo "[$words]"; "$KV_CLI" /c0/e0/alm0 $words 2>&1 | grep -v '^$'
  > done
  []
  Error: (CLI:124) Invalid alarm command syntax.
  [foo]
  Error: (CLI:125) Invalid alarm command.
  [identify]
  Error: (CLI:125) Invalid alarm command.
  [show x]
  Error: (CLI:124) Invalid alarm command syntax.
  [set]
  Error: (CLI:124) Invalid alarm command syntax.
  [set foo]
  Error: (CLI:124) Invalid alarm command syntax.
  [set identify=on]
  Error: (CLI:124) Invalid alarm command syntax.
  [set alarm]
  Error: (CLI:155) Invalid enclosure alarm command.
  [set alarm=loud]
  Error: (CLI:155) Invalid enclosure alarm command.
  [set alarm=mute extra]
  Error: (CLI:155) Invalid enclosure alarm command.
  [set alarm=unmute extra]
  Error: (CLI:155) Invalid enclosure alarm command.
  [set alarm=off now]
  Error: (CLI:155) Invalid enclosure alarm command.
  [set alarm=on]
  Error: (CLI:156) Invalid alarm state change request.
  [set alarm=on tone=5]
  Error: (CLI:156) Invalid alarm state change request.
  [set alarm=on tone=0]
  Error: (CLI:156) Invalid alarm state change request.
  [set alarm=on tone=x]
  Error: (CLI:156) Invalid alarm state change request.
  [set alarm=on tone=4294967297]
  Error: (CLI:156) Invalid alarm state change request.
  [set alarm=on volume=3]
  Error: (CLI:155) Invalid enclosure alarm command.
  $ test "$(sends)" = "$before" && echo "no change sent"
  no change sent

Help: one topic, for every enclosure kind.

  $ "$KV_CLI" /c0/e0/alm0 help
  
  For Tevrin w/ Tolvek or SAF-TE support:
    /ex/almx show
    /ex/almx set alarm=<mute|unmute|off>
  
  
  For Uthmar and Tevrin with SES support:
    /cx/ex/almx show
    /cx/ex/almx set alarm=<mute|unmute|off>
  
  
  $ "$KV_CLI" /c0/e0/alm0 show help
  
  For Tevrin w/ Tolvek or SAF-TE support:
    /ex/almx show
  
  
  For Uthmar and Tevrin with SES support:
    /cx/ex/almx show
  
  $ "$KV_CLI" /e0/alm0 set '?'
  
  For Tevrin w/ Tolvek or SAF-TE support:
    /ex/almx set alarm=<mute|unmute|off>
  
  
  For Uthmar and Tevrin with SES support:
    /cx/ex/almx set alarm=<mute|unmute|off>
  
  

Changes: the line is printed whole once the library has carried the change
out. The value word only has to contain "alarm"; the tone is the number
its value begins with; words after the tone word are not read.

  $ "$KV_CLI" /c0/e0/alm0 set alarm=on tone=4
  Setting alarm state of /c0/e0/alm0 to [on] with tone=[4] ... Done.
  
  $ "$KV_CLI" /c0/e0/alm0 show | sed -n 4p
  alm0      ACTIVATED       ON        UNMUTE       
  $ "$KV_CLI" /c0/e0/alm0 set xalarmx=off
  Setting alarm state of /c0/e0/alm0 to [off] ... Done.
  
  $ "$KV_CLI" /c0/e0/alm0 set alarm=on tone=2x more words
  Setting alarm state of /c0/e0/alm0 to [on] with tone=[2] ... Done.
  
  $ "$KV_CLI" /c0/e0/alm0 set alarm=mute
  Setting alarm audibility of /c0/e0/alm0 to [mute] ... Done.
  
  $ "$KV_CLI" /c0/e0/alm0 show | sed -n 4p
  alm0      ACTIVATED       ON        MUTE         
  $ "$KV_CLI" /c0/e0/alm0 set alarm=unmute
  Setting alarm audibility of /c0/e0/alm0 to [unmute] ... Done.
  
  $ "$KV_CLI" /c0/e0/alm0 show | sed -n 4p
  alm0      ACTIVATED       ON        UNMUTE       

Refusals: an enclosure that does not carry out the mute answers "not
supported", which has its own message (157); every other failure ends the
command with the library's text, and no line is printed.

  $ "$KV_CLI" /c0/e3/alm0 set alarm=mute
  Error: (CLI:157) The Mute setting is not supported for the alarm specified.
  
  
  [1]
  $ "$KV_CLI" /c0/e3/alm0 set alarm=on tone=3
  (0x0B:0x0084): Requested alarm tone urgency not supported. Try another tone.
  
  
  [1]
  $ "$KV_CLI" /c0/e5/alm0 set alarm=mute
  (0x03:0x0204): Drive timeout
  
  
  [1]
  $ "$KV_CLI" /c0/e5/alm0 set alarm=unmute
  (0x03:0x0204): Drive timeout
  
  
  [1]
  $ "$KV_CLI" /e0/alm0 set alarm=off
  (0x0B:0x0002): Feature not supported
  
  
  [1]

A SAF-TE alarm can be muted; the display path takes the controller's
number and the host-level path.

  $ "$KV_CLI" /e0/alm0 set alarm=mute
  Setting alarm audibility of /c1/e0/alm0 to [mute] ... Done.
  

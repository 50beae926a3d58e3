Advanced event capture on a controller: /cN set capture=...|capturemode=...,
/cN show capture|capturemode|capture=debug and /cN get capture, on c0
(family 8) of a small host.

  $ cp "$FIXTURES/events/host.json" host.json && export KV_EMULATED_HOST="$PWD/host.json"
  $ capture() { jq -c '.machine.controllers[0].capture' host.json; }

The settings as a new controller has them, then switched on with the
default number of events (sent as 1, which reads back as 1024) and with
2048 events.

  $ "$KV_CLI" /c0 show capture
  Advanced Event Capture settings:
    State = Disabled
    Control = Stopped
    Mode = undefined
    #events to capture = 0
  
  $ "$KV_CLI" /c0 set capture=enable
  Setting event capture on /c0 to [enable], #events=1024 ... Done.
  
  $ capture
  {"size":1}
  $ "$KV_CLI" /c0 show capturemode | sed -n 2p
    State = Enabled
  $ "$KV_CLI" /c0 set capture=enable numevents=1024 | head -1
  Setting event capture on /c0 to [enable], #events=1024 ... Done.
  $ "$KV_CLI" /c0 set capture=enable numevents=2048
  Setting event capture on /c0 to [enable], #events to [2048] ... Done.
  
  $ "$KV_CLI" /c0 set capturemode=stopped
  Setting event capture mode on /c0 to [stopped] ... Done.
  
  $ "$KV_CLI" /c0 set capture=start
  Setting event capture on /c0 to [start] ... Done.
  
  $ "$KV_CLI" /c0 show capture
  Advanced Event Capture settings:
    State = Enabled
    Control = Started
    Mode = capture until stopped
    #events to capture = 2048
  
  $ "$KV_CLI" /c0 set capture=stop | head -1; "$KV_CLI" /c0 set capturemode=full | head -1; "$KV_CLI" /c0 set capture=disable | head -1
  Setting event capture on /c0 to [stop] ... Done.
  Setting event capture mode on /c0 to [full] ... Done.
  Setting event capture on /c0 to [disable] ... Done.
  $ capture
  {"control":0,"mode":1,"size":0}

The debug masks: eight hex digits with or without "0x", shown back as
eight digits.

  $ "$KV_CLI" /c0 set capture=debug hostmask=0x0000ffff
  Setting event capture host mask to [0x0000ffff] ... Done.
  
  $ "$KV_CLI" /c0 set capture=debug intmask=ffff | head -1; "$KV_CLI" /c0 set capture=debug intunmask=1a2b3c4d | head -1
  Setting event capture internal mask to [0x0000ffff] ... Done.
  Setting event capture internal unmask to [0x1a2b3c4d] ... Done.
  $ for m in hostmask intmask intunmask; do "$KV_CLI" /c0 show capture=debug $m | head -1; done
  /c0 event capture host mask = 0x0000ffff
  /c0 event capture internal I/O mask = 0x0000ffff
  /c0 event capture internal I/O unmask = 0x1a2b3c4d

Refusals, each before anything is printed or sent: 161 for a word after
"enable" without "numevents=" or a third word, 163 for a number of events
outside 1024 to 1000000 (also one beyond 32 bits), 162 for an unknown
value or a word after "start" or "stop", 14 for a word after the mode, 152
for an unknown mode, 153 for an unknown mask word, 147 for a mask longer
than 32 bits, 2 for a character that is no lower-case hex digit, and 56 for
an unknown mask in the view.

  $ cp host.json before.json
  $ for words in "set capture=enable foo" "set capture=enable numevents=2048 more" "set capture=enable numevents=1023" "set capture=enable numevents=1000001" "set capture=enable numevents=4294968320" "set capture=pause" "set capture=start now" "set capture=stop now" "set capturemode=full now" "set capturemode=never" "set capture=debug" "set capture=debug mask=1" "set capture=debug hostmask=0x123456789" "set capture=debug hostmask=123456789" "set capture=debug hostmask=12g4" "show capture=debug" "show capture=debug mask"; do
  >   echo "[$words]"; "$KV_CLI" /c0 $words 2>&1 | grep -v '^$'
  > done
  [set capture=enable foo]
  Error: (CLI:161) Invalid Advanced Event Capture set command.
  [set capture=enable numevents=2048 more]
  Error: (CLI:161) Invalid Advanced Event Capture set command.
  [set capture=enable numevents=1023]
  Error: (CLI:163) Invalid AEC num events input; valid value=[1024..1000000].
  [set capture=enable numevents=1000001]
  Error: (CLI:163) Invalid AEC num events input; valid value=[1024..1000000].
  [set capture=enable numevents=4294968320]
  Error: (CLI:163) Invalid AEC num events input; valid value=[1024..1000000].
  [set capture=pause]
  Error: (CLI:162) Invalid AEC set capture cmd [valid: enable|disable|start|stop|debug].
  [set capture=start now]
  Error: (CLI:162) Invalid AEC set capture cmd [valid: enable|disable|start|stop|debug].
  [set capture=stop now]
  Error: (CLI:162) Invalid AEC set capture cmd [valid: enable|disable|start|stop|debug].
  [set capturemode=full now]
  Error: (CLI:014) Invalid argument in set command.
  [set capturemode=never]
  Error: (CLI:152) Invalid set capture mode command; valid=[full|stopped].
  [set capture=debug]
  Error: (CLI:153) Invalid event capture debug command.
         Valid mask type = [hostmask|intmask|intunmask].
  [set capture=debug mask=1]
  Error: (CLI:153) Invalid event capture debug command.
         Valid mask type = [hostmask|intmask|intunmask].
  [set capture=debug hostmask=0x123456789]
  Error: (CLI:147) Invalid 32-bit hex value as input mask.
  [set capture=debug hostmask=123456789]
  Error: (CLI:147) Invalid 32-bit hex value as input mask.
  [set capture=debug hostmask=12g4]
  Error: (CLI:002) Syntax Error.
  [show capture=debug]
  Error: (CLI:056) Invalid argument in show command.
  [show capture=debug mask]
  Error: (CLI:056) Invalid argument in show command.
  $ cmp host.json before.json && echo unchanged
  unchanged

Words from a command file keep their capitals, which neither the mode nor
a mask takes.

  $ printf '/c0 set capturemode=FULL\n' > mode.txt; "$KV_CLI" -f mode.txt; echo "status $?"
  //kvhost> /c0 set capturemode=FULL
  Error: (CLI:152) Invalid set capture mode command; valid=[full|stopped].
  
  
  status 1
  $ printf '/c0 set capture=debug hostmask=FFFF\n' > mask.txt; "$KV_CLI" -f mask.txt; echo "status $?"
  //kvhost> /c0 set capture=debug  hostmask=FFFF
  Error: (CLI:002) Syntax Error.
  
  
  status 1

A mode the controller reports outside the known ones prints nothing after
its label.

  $ jq '.machine.controllers[0].capture.mode = 3' host.json > h && mv h host.json
  $ "$KV_CLI" /c0 show capture
  Advanced Event Capture settings:
    State = Disabled
    Control = Stopped
    Mode =   #events to capture = 0
  

Saving the captured data: nothing captured raises an error and makes no
file; three segments of 4096 bytes make evtcapture_c0.dat of 12288 bytes,
the segments in index order.

  $ "$KV_CLI" /c0 get capture; echo "status $?"
  No events have been captured
  
  
  status 1
  $ ls evtcapture_c0.dat 2>/dev/null || echo "no file"
  no file
  $ jq '.machine.controllers[0].capture += {"segments": 3, "segment_size": 4096}' host.json > h && mv h host.json
  $ "$KV_CLI" /c0 get capture
  Saving event capture data to evtcapture_c0.dat ... Done (3 segment(s)).
  
  
  $ wc -c < evtcapture_c0.dat
  12288
  $ od -An -tu1 -j 4096 -N 4 evtcapture_c0.dat | tr -s ' '
   1 2 3 4

A file that cannot be written (here a folder holds its name) ends the
command with the system's reason (its wording is the system's), before
the saving line.

  $ mkdir blocked && cd blocked && mkdir evtcapture_c0.dat
  $ "$KV_CLI" /c0 get capture > out 2> err; echo "status $?"
  status 1
  $ cat out; grep -c -v '^$' err
  1
  $ cd .. && rm -r blocked

A failed library call ends the command with the controller's message;
here the controller refuses the capture size.

  $ jq '.faults = [{"match": {"layer": "firmware", "table": "0x0407", "parameter": 7}, "action": {"status": 1, "code": "0x010D"}}]' host.json > h && mv h host.json
  $ "$KV_CLI" /c0 set capture=enable; echo "status $?"
  (0x03:0x010D): Invalid field in CDB
  
  
  status 1

The commands of an enclosure drive slot, /cN/eM/slotK and /eM/slotK. Slots
offer identify in SES and SAF-TE enclosures alike. Controller c0 (family 8)
has the SES enclosures e0 (drives in slots 0 and 2) and e5 (whose status
page cannot be read and whose controls fail); controller c1 (family 6) has
the SAF-TE enclosure /e0 below the host, with drives in slots 0 and 3.

  $ cp "$FIXTURES/elements/host.json" host.json && export KV_EMULATED_HOST="$PWD/host.json"

The row: status from the slot's flags, the port of its drive ("-" without
a device) and the identify indication. In the SAF-TE enclosure the flags
0x07 (present, empty and occupied) read EMPTY and 0x01 (present only)
Unknown; such a slot holds no drive, and the port 255 that the enclosure
names for it shows as "-", not as a port.

  $ "$KV_CLI" /c0/e0/slot0 show
  
  Slot      Status          (V)Port       Identify
  --------------------------------------------------
  slot0     OK              /c0/p0        Off           
  
  $ for s in 1 2; do "$KV_CLI" /c0/e0/slot$s show | sed -n 4p; done
  slot1     NO-DEVICE       -             Off           
  slot2     OK              /c0/p1        On            
  $ for s in 0 1 2 3; do "$KV_CLI" /e0/slot$s show | sed -n 4p; done
  slot0     OK              /c1/p0        Off           
  slot1     EMPTY           -             Off           
  slot2     Unknown         -             Off           
  slot3     OK              /c1/p1        Off           

Word errors: a missing or bad word after "set" is 120, any other command
word 121, and a bad word after "show" 113.

  $ for words in "" "foo" "identify" "show foo" "show identify foo" "set" "set foo" "set identify" "set identify=" "set identify=maybe"; do
  >   echo "[$words]"; "$KV_CLI" /c0/e0/slot1 $words 2>&1 | grep -v '^$'
  > done
  []
  Error: (CLI:120) Invalid slot command syntax.
  [foo]
  Error: (CLI:121) Invalid slot command.
  [identify]
  Error: (CLI:121) Invalid slot command.
  [show foo]
  Error: (CLI:113) Specified enclosure slot does not exist.
  [show identify foo]
  /c0/e0/slot1 Identify status = Off
  Error: (CLI:113) Specified enclosure slot does not exist.
  [set]
  Error: (CLI:120) Invalid slot command syntax.
  [set foo]
  Error: (CLI:120) Invalid slot command syntax.
  [set identify]
  Error: (CLI:120) Invalid slot command syntax.
  [set identify=]
  Error: (CLI:120) Invalid slot command syntax.
  [set identify=maybe]
  Error: (CLI:120) Invalid slot command syntax.

Help: the slot's own show and set lines end the command; the enclosure's
kind chooses the form.

  $ "$KV_CLI" /c0/e0/slot1 help
  
    /cx/ex/slotx show                                           
    /cx/ex/slotx show identify                       (Uthmar only)
  
  
    /cx/ex/slotx set identify=on|off            (Solvane/Tevrin only)
  
  
  $ "$KV_CLI" /c0/e0/slot1 show identify help foo
  /c0/e0/slot1 Identify status = Off
  
    /cx/ex/slotx show                                           
    /cx/ex/slotx show identify                       (Uthmar only)
  
  
  $ "$KV_CLI" /c0/e0/slot1 set help foo
  
    /cx/ex/slotx set identify=on|off            (Solvane/Tevrin only)
  
  
  $ "$KV_CLI" /e0/slot1 show help
  
    /ex/slotx show                                           
    /ex/slotx show identify                         (Solvane/Tevrin only)
  
  
  $ "$KV_CLI" /e0/slot1 set help
  
    /ex/slotx set identify=on|off                (Solvane/Tevrin only)
  
  

Identify in the SES enclosure, and in the SAF-TE enclosure (where the
display path takes the controller number and the host-level path).

  $ "$KV_CLI" /c0/e0/slot1 set identify=on
  Setting Slot Identify on /c0/e0/slot1 to [on] ... Done.
  
  
  $ "$KV_CLI" /c0/e0/slot1 show identify
  /c0/e0/slot1 Identify status = On
  
  $ "$KV_CLI" /c0/e0/slot2 set xidentify=off identify=on
  Setting Slot Identify on /c0/e0/slot2 to [off] ... Done.
  
  Setting Slot Identify on /c0/e0/slot2 to [on] ... Done.
  
  
  $ "$KV_CLI" /e0/slot3 set identify=on
  Setting Slot Identify on /c1/e0/slot3 to [on] ... Done.
  
  
  $ "$KV_CLI" /e0/slot3 show identify
  /c1/e0/slot3 Identify status = On
  
  $ "$KV_CLI" /e0/slot3 show | sed -n 4p
  slot3     OK              /c1/p1        On            

A slot whose reads fail shows "-" in every cell and in the identify line;
a failed identify change leaves the progress line open and ends the
command with the library's error.

  $ "$KV_CLI" /c0/e5/slot0 show
  
  Slot      Status          (V)Port       Identify
  --------------------------------------------------
  slot0     -               -             -             
  
  $ "$KV_CLI" /c0/e5/slot0 show identify
  /c0/e5/slot0 Identify status = -
  
  $ "$KV_CLI" /c0/e5/slot0 set identify=on
  Setting Slot Identify on /c0/e5/slot0 to [on] ... (0x03:0x0204): Drive timeout
  
  
  [1]

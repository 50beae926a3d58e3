The commands of an enclosure door lock, /cN/eM/edrK and /eM/edrK (the
address may say "door" as well). Controller c0 (family 8) has the SES
enclosures e0 (door 0 locked, door 1 unlocked) and e5 (whose status page
cannot be read); controller c1 (family 6) has the SAF-TE enclosure /e0
with one locked door.

  $ cp "$FIXTURES/elements/host.json" host.json && export KV_EMULATED_HOST="$PWD/host.json"

The row shows the lock status twice, as switch and as status: any
nonzero status is Locked (a door that is not installed reports 2, one in
another condition 128); a status that cannot be read shows "-".

  $ "$KV_CLI" /c0/e0/edr0 show
  
  Door      Switch      Status 
  ----------------------------
  edr0      Locked          Locked        
  
  $ for d in door1 edr2 edr3; do "$KV_CLI" /c0/e0/$d show | sed -n 4p; done
  edr1      Unlocked        Unlocked      
  edr2      Locked          Locked        
  edr3      Locked          Locked        
  $ "$KV_CLI" /c0/e5/edr0 show | sed -n 4p
  edr0      -               -             
  $ "$KV_CLI" /e0/edr0 show | sed -n 4p
  edr0      Locked          Locked        

"lock" and "unlock" reach the library's one door-lock operation, which no
controller family carries out: the command fails with its text and prints
no progress line, and no enclosure control is sent.

  $ "$KV_CLI" /c0/e0/edr1 lock
  (0x0B:0x0002): Feature not supported
  
  
  [1]
  $ "$KV_CLI" /e0/edr0 unlock
  (0x0B:0x0002): Feature not supported
  
  
  [1]
  $ jq -s '[.[] | select(.scsi == 29 or .scsi == 59)] | length' requests.jsonl
  0

Word errors: no word 118, an unknown command word 119 ("set" is not a
door word), a word after "show", "lock" or "unlock" other than help 118.

  $ for words in "" "foo" "set" "show status" "lock now" "unlock 1"; do
  >   echo "[$words]"; "$KV_CLI" /c0/e0/edr0 $words 2>&1 | grep -v '^$'
  > done
  []
  Error: (CLI:118) Invalid door command syntax.
  [foo]
  Error: (CLI:119) Invalid door command.
  [set]
  Error: (CLI:119) Invalid door command.
  [show status]
  Error: (CLI:118) Invalid door command syntax.
  [lock now]
  Error: (CLI:118) Invalid door command syntax.
  [unlock 1]
  Error: (CLI:118) Invalid door command syntax.

Help: the whole topic, and one part after "show", "lock" and "unlock".

  $ "$KV_CLI" /c0/e0/edr0 help
  
    //host/ex/edrx show                                           
  
  
    //host/ex/edrx lock                                           
  
  
    //host/ex/edrx unlock                                         
  
  
  $ "$KV_CLI" /c0/e0/edr0 show '?'
  
    //host/ex/edrx show                                           
  
  
  $ "$KV_CLI" /c0/e0/edr0 lock help
  
    //host/ex/edrx lock                                           
  
  
  $ "$KV_CLI" /e0/edr0 unlock help
  
    //host/ex/edrx unlock                                         
  
  

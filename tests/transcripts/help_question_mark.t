After a controller's address, "?" asks for help wherever "help" does: after
rescan, update, add, del, start and stop it prints the command's help topic
and runs nothing.

  $ cp "$FIXTURES/controllers/two_newer.json" host.json && export KV_EMULATED_HOST="$PWD/host.json"

  $ . "$TESTDIR/batch.sh"
  $ first_line() { echo "[${1#/c1 }]"; head -1; }
  $ lines=(); while read -r words; do lines+=("/c1 $words"); done <<'WORDS'; kv_each first_line "${lines[@]}"
  > rescan ?
  > update fw=a.img ?
  > add ?
  > del ?
  > start ?
  > stop ?
  > WORDS
  [rescan ?]
    /cx rescan [noscan] NOTE: Does not import non-JBOD on Prane/Qualt models.
  [update fw=a.img ?]
    /cx update fw=filename_with_path [force]                  (Rhosk series)
  [add ?]
    /cx add type=<RaidType> disk=<p:p|p-p|p:p-p> (where p = port or drive number)
  [del ?]
    /cx del rebuild=slot_id                                   (Rhosk series)
  [start ?]
    /cx start mediascan                                  (Prane/Qualt only)
  [stop ?]
    /cx stop mediascan                                   (Prane/Qualt only)

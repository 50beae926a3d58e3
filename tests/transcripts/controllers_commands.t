The words after a controller's address: each refusal is the first word
that fails, with its own CLI code.

  $ cp "$FIXTURES/controllers/two_newer.json" host.json && export KV_EMULATED_HOST="$PWD/host.json"

  $ . "$TESTDIR/batch.sh"
  $ first_line() { echo "[${1#/c1 }]"; head -1; }
  $ lines=(); while read -r words; do lines+=("/c1 $words"); done <<'WORDS'; kv_each first_line "${lines[@]}"
  > 
  > bogus
  > rescan bogus
  > update
  > update force
  > update fw=a.img bogus
  > add
  > add raid5 p0
  > del bogus
  > start
  > stop bogus
  > get bogus
  > set
  > set bogus
  > show all extra
  > show help extra
  > WORDS
  []
  Error: (CLI:032) Invalid controller command syntax.
  [bogus]
  Error: (CLI:031) Invalid controller command.
  [rescan bogus]
  Error: (CLI:032) Invalid controller command syntax.
  [update]
  Error: (CLI:032) Invalid controller command syntax.
  [update force]
  Error: (CLI:092) Invalid update command.
  [update fw=a.img bogus]
  Error: (CLI:095) Invalid image filename or update command syntax.
  [add]
  Error: (CLI:032) Invalid controller command syntax.
  [add raid5 p0]
  Error: (CLI:057) Invalid argument in add command.
  [del bogus]
  Error: (CLI:033) Invalid controller command value.
  [start]
  Error: (CLI:032) Invalid controller command syntax.
  [stop bogus]
  Error: (CLI:033) Invalid controller command value.
  [get bogus]
  Error: (CLI:033) Invalid controller command value.
  [set]
  Error: (CLI:032) Invalid controller command syntax.
  [set bogus]
  Error: (CLI:031) Invalid controller command.
  [show all extra]
  Error: (CLI:056) Invalid argument in show command.
  [show help extra]
  Error: (CLI:013) Invalid argument in help command.

The cache-on-degrade and ignore-FUA-write policies belong to the oldest
generation of the newer family alone: a family-6 controller shows them as
not supported and refuses to set them.

  $ "$KV_CLI" /c1 show ondegrade ignorefuawrite
  /c1 Cache on Degrade Policy = Not Supported
  /c1 Ignore FUA on Write Policy = Not Supported
  

  $ "$KV_CLI" /c1 set ondegrade=follow; echo "status $?"
  Error: (CLI:024) Invalid operation(s) for the specified controller.
  
  
  status 1

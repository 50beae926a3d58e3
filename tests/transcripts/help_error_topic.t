The "error" topic lists all 164 CLI messages, the same in both layouts.

  $ cp "$FIXTURES/hosts/plain.json" host.json && export KV_EMULATED_HOST="$PWD/host.json"

  $ "$KV_CLI" help error > new.txt
  $ KV_CLI_STYLE=OLD "$KV_CLI" help error > old.txt
  $ cmp new.txt old.txt
  $ grep -c '^Error: (CLI:' new.txt
  164
  $ head -n 1 new.txt
  Error: (CLI:001) Only root/administrator can run this program.
  $ sed -n '/CLI:150/,/CLI:154/p' new.txt
  Error: (CLI:150) Rate input must be numeric and in the range of [1..5].
  Error: (CLI:151) Invalid input for drive coercion factor.
         Valid range is [1..50], default: 1 if < 45GB, 5 if >= 45GB.
  Error: (CLI:152) Invalid set capture mode command; valid=[full|stopped].
  Error: (CLI:153) Invalid event capture debug command.
         Valid mask type = [hostmask|intmask|intunmask].
  Error: (CLI:154) Specified enclosure alarm does not exist.
  $ tail -n 1 new.txt
  Error: (CLI:164) Number of specified volumes exceeded [max=4].

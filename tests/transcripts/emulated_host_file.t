A run against a host file that does not exist yet creates it from the
default host, and what the run writes stays beside it.

  $ export KV_EMULATED_HOST="$PWD/machine/host.json"
  $ "$KV_CLI" help > /dev/null
  $ test -f "$KV_EMULATED_HOST" && echo created
  created
  $ test -d "$PWD/machine/ProgramData/Orvo" && echo log folder
  log folder

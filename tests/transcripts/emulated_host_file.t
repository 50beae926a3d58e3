A run against a host file that does not exist yet creates it from the
default host.

  $ export KV_EMULATED_HOST="$TESTTMP/machine/host.json"
  $ "$KV_CLI"
  $ test -f "$KV_EMULATED_HOST" && echo created
  created

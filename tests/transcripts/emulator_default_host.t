Without KV_EMULATED_HOST the host file lies under XDG_STATE_HOME; a missing
file is created from the built-in default host with its three controllers.
(The Windows build uses the real machine when KV_EMULATED_HOST is unset, so
this holds for the Linux build only.)

  $ case "$KV_CLI" in *-wine) exit 80;; esac

  $ unset KV_EMULATED_HOST
  $ export XDG_STATE_HOME="$PWD/state"
  $ "$KV_CLI" help > /dev/null
  $ test -f "$XDG_STATE_HOME/kv_cli/host.json" && echo created
  created
  $ grep -c '"device_type"' "$XDG_STATE_HOME/kv_cli/host.json"
  3

A second run reads the same file and leaves it as it was when nothing
changed.

  $ cp "$XDG_STATE_HOME/kv_cli/host.json" before.json
  $ "$KV_CLI" help > /dev/null
  $ cmp before.json "$XDG_STATE_HOME/kv_cli/host.json" && echo unchanged
  unchanged

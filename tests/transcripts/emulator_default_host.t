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

Neither KV_EMULATED_HOST nor XDG_STATE_HOME names it: the host file lies
at ~/.local/state/kv_cli/host.json, created from the default host, whose
machine carries the real machine's host name and lets an administrator
in.

  $ top="$PWD"
  $ unset KV_EMULATED_HOST XDG_STATE_HOME
  $ export HOME="$top/home"
  $ "$KV_CLI" < /dev/null > "$top/prompt.txt"; echo "status $?"
  status 0
  $ cd "$HOME" && find . -name host.json
  ./.local/state/kv_cli/host.json
  $ test -d .local/state/kv_cli/ProgramData/Orvo && echo "log folder beside it"
  log folder beside it
  $ test "$(cat "$top/prompt.txt")" = "//$(hostname | cut -d. -f1)> " && echo "real host name"
  real host name

An empty XDG_STATE_HOME counts as unset.

  $ export HOME="$top/other"
  $ XDG_STATE_HOME= "$KV_CLI" help > /dev/null
  $ cd "$HOME" && find . -name host.json
  ./.local/state/kv_cli/host.json

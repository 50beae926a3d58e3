kv_cli.exe and the probe against the real Windows calls, in a wine prefix
that has no controllers. Without KV_EMULATED_HOST the Windows build uses
the real calls; its standard streams are in text mode, so "\r" is dropped
from what is compared.

  $ unset KV_EMULATED_HOST
  $ prefix=${WINEPREFIX:-$HOME/.wine}
  $ crlf() { tr -d '\r'; }
  $ probe() { "$KV_PROBE" "$@" | crlf; return "${PIPESTATUS[0]}"; }

The administrator check passes (the wine user is an administrator), and
the host name from GetComputerNameExA stands in the prompt.

  $ probe admin
  administrator: yes
  $ rm -rf "$prefix/drive_c/ProgramData/Orvo"
  $ prompt=$(printf 'quit\n' | "$KV_CLI")
  $ [ "$prompt" = "//$(hostname | cut -d. -f1 | tr 'A-Z' 'a-z')> " ] && echo prompt ok || echo "$prompt"
  prompt ok

Starting the shell made the audit log's folder under the common
application-data folder; an audit line goes into kv_mgmt.log there.

  $ test -d "$prefix/drive_c/ProgramData/Orvo" && echo folder made
  folder made
  $ probe log "smoke test line"
  log C:\ProgramData\Orvo\kv_mgmt.log: 0
  $ crlf < "$prefix/drive_c/ProgramData/Orvo/kv_mgmt.log"
  [A-Z][a-z]{2} [A-Z][a-z]{2} [ 0-9][0-9] [0-9]{2}:[0-9]{2}:[0-9]{2} [0-9]{4} CLI \[smoke test line\] (re)

No storage-port interface of the maker's controllers: the OS layer lists
none, "show" says so and a firmware update has no controller to go to.

  $ probe controllers
  status 0, controllers 0, sorted 1
  $ "$KV_CLI" show 2>&1 | crlf
  
  No controller found.
  Make sure appropriate Orvo/Kivra device driver(s) are loaded.
  
  $ "$KV_CLI" update fw=image.bin 2>&1 | crlf
  Error: (CLI:023) No controller detected.
  Make sure respective device drivers are loaded.
  
  

The disk-cache value on a key of the test's own: a missing key is not
created (error 2), an existing one gets the REG_DWORD, and the value is
deleted again; a second delete finds no value.

  $ key='SOFTWARE\KvCliSmoke\Device Parameters\Disk'
  $ probe regset "$key" UserWriteCacheSetting 1
  open: 2
  [1]
  $ "$WINE" reg add "HKLM\\$key" /f >/dev/null 2>&1
  $ probe regset "$key" UserWriteCacheSetting 1
  open: 0
  create: 0
  set: 0
  close: 0
  $ "$WINE" reg query "HKLM\\$key" /v UserWriteCacheSetting 2>&1 | crlf | grep -o 'REG_DWORD.*'
  REG_DWORD    0x1
  $ probe regdel "$key" UserWriteCacheSetting
  open: 0
  delete: 0
  close: 0
  $ "$WINE" reg query "HKLM\\$key" /v UserWriteCacheSetting >/dev/null 2>&1 || echo value gone
  value gone
  $ probe regdel "$key" UserWriteCacheSetting
  open: 0
  delete: 2
  close: 0
  [1]
  $ "$WINE" reg delete 'HKLM\SOFTWARE\KvCliSmoke' /f >/dev/null 2>&1

The binding refuses handles it never handed out and passes Windows' own
errors and texts through.

  $ probe handles
  open missing: invalid, error 3
  text of 2: .*[Ff]ile.* (re)
  close foreign: 0, error 6
  ioctl foreign: 0, error 6
  storage ports listed: yes
  enumerate destroyed set: 0, error 6
  close foreign key: 6

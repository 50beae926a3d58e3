kv_cli.exe against an emulated host whose folder is named with letters
beyond ASCII: one that the ANSI code page holds (é) and one it does not
(ж). The path is read from the environment as wide text and reaches every
file through the wide-character calls, so the change lands in that host
file and the audit log beside it, and no other folder is made.

Wine reads the environment in the locale's character set.

  $ export LC_ALL=C.UTF-8 KV_CLI_LOG=on
  $ . "$TESTDIR/../transcripts/audit_log.sh"
  $ for name in hé hж; do
  >   mkdir "$name" && export KV_EMULATED_HOST="$PWD/$name/host.json"
  >   "$KV_CLI" /c0 set autorebuild=off && "$KV_CLI" /c0 show autorebuild
  >   kv_audit_lines "$name/ProgramData/Orvo/kv_mgmt.log"
  > done
  Setting Auto-Rebuild Policy on /c0 to off ... Done.
  
  /c0 Auto-Rebuild Policy = off
  
  CLI [Set Auto Rebuild (controller=0, policy=0(OFF)): Success]
  Setting Auto-Rebuild Policy on /c0 to off ... Done.
  
  /c0 Auto-Rebuild Policy = off
  
  CLI [Set Auto Rebuild (controller=0, policy=0(OFF)): Success]
  $ find . -name host.json | sort
  ./hé/host.json
  ./hж/host.json

A system error of the emulated host's own files names the error's text as
well as its number.

  $ export KV_EMULATED_HOST="$PWD/hé/host.json"
  $ mkdir hé/host.json.tmp
  $ "$KV_CLI" /c0 set autorebuild=on 2>&1 | sed 's|^.*\\||'
  Setting Auto-Rebuild Policy on /c0 to on ... Failed.
  host.json.tmp: cannot write the emulated host file: Access (is )?denied. \(Windows error 5\) (re)

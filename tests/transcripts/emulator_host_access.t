A host file the user may not read, and a folder the user may not write
in. The runs below go without the capabilities that let root past file
permissions, so that root is refused as any user is (the Linux build:
under wine the wine server opens the files).

  $ case "$KV_CLI" in *-wine) exit 80;; esac
  $ as_user() {
  >   if [ "$(id -u)" = 0 ]; then
  >     setpriv --inh-caps=-dac_override,-dac_read_search \
  >             --bounding-set=-dac_override,-dac_read_search "$@"
  >   else "$@"; fi
  > }
  $ as_user true || exit 80
  $ export KV_EMULATED_HOST="$PWD/host.json" KV_CLI_LOG=off
  $ "$KV_CLI" help > /dev/null && cp host.json before.json
  $ run() {
  >   as_user "$KV_CLI" "$@" > out.txt 2> err.txt; echo "status $?"
  >   sed 's|^.*/\(host\.json[^:]*\):|\1:|' err.txt; cat out.txt
  > }

A host file that is there but cannot be read is no missing one: the
command ends with one line that says why, and the file is not replaced by
the default host.

  $ chmod 0200 host.json
  $ run /c0 show
  status 1
  host.json: cannot read the emulated host file: Permission denied
  $ chmod 0644 host.json && cmp -s host.json before.json && echo untouched
  untouched

A folder that takes no new file: the setter's line ends with "Failed.",
one line says why, and the host file stays as it was.

  $ chmod 0555 .
  $ run /c0 set autorebuild=off
  status 1
  host.json.tmp: cannot write the emulated host file: Permission denied
  Setting Auto-Rebuild Policy on /c0 to off ... Failed.
  $ chmod 0755 . && cmp -s host.json before.json && echo untouched
  untouched

The malformed command lines of shell_odd_input.t, each one the only line
of a command file, where it is taken with its case as written: each run
ends with status 0 or 1 and none raises a standard-library exception.

  $ export KV_EMULATED_HOST="$PWD/host.json"
  $ "$KV_CLI" show > /dev/null 2>&1
  $ lines="$FIXTURES/shell/odd_lines.txt"
  $ test -s "$lines"  # an empty or missing file would try nothing

  $ while IFS= read -r line; do
  >   printf '%s\n' "$line" > one.txt
  >   "$KV_CLI" -f one.txt < /dev/null > /dev/null 2> err; fstatus=$?
  >   if [ $fstatus -gt 1 ] || grep -q 'std::exception\|Unexpected exception' err; then
  >     echo "fails: $line"
  >   fi
  > done < "$lines"

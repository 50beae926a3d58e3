Malformed command lines (empty address parts, lone "=" signs, missing and
huge numbers, very long words and lines) are ordinary input: each one
ends in a CLI or library error or runs, and none of them raises a
standard-library exception, which would end the run with "std::exception".

  $ export KV_EMULATED_HOST="$PWD/host.json"
  $ "$KV_CLI" show > /dev/null 2>&1
  $ lines="$FIXTURES/shell/odd_lines.txt"
  $ test -s "$lines"  # an empty or missing file would try nothing

At the prompt every line is reported and the run goes on to the end of
input.

  $ "$KV_CLI" < "$lines" > out 2> err; echo "status $?"
  status 0
  $ grep -c 'std::exception\|Unexpected exception' out err
  out:0
  err:0
  [1]

As one-shot commands each line is a run of its own that ends with status
0 or 1 (shell_odd_input_files.t takes each line as a command file).

  $ while IFS= read -r line; do
  >   "$KV_CLI" $line < /dev/null > /dev/null 2> err; status=$?
  >   if [ $status -gt 1 ] || grep -q 'std::exception\|Unexpected exception' err; then
  >     echo "fails: $line"
  >   fi
  > done < "$lines"

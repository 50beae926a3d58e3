# Sourced by transcripts (". "$TESTDIR/batch.sh"").
#
# kv_batch LINE...
#   Runs the lines as commands typed at the prompt of one kv_cli run, where
#   a failed command prints its message and the run goes on, and writes
#   each command's output (standard output and error as they came) to
#   batch/1, batch/2, ... The prompt runs each line through the same line
#   preparation and command dispatch as a one-shot run of the same words;
#   it differs only in the empty lines after an error message (one instead
#   of two), so callers drop empty lines. Many short commands then cost one
#   program start instead of one each, which counts most under wine.
#   Lines must not ask for a confirmation: one would read the next line.
kv_batch() {
  rm -rf batch && mkdir batch || return 1
  local all prompt rest i=0 line
  # The dot keeps the output's last line ends.
  all=$(printf '%s\n' "$@" | "$KV_CLI" 2>&1; echo .)
  # The run starts with the prompt, e.g. "//kvhost> ".
  prompt="${all%%>*}> "
  rest=${all#"$prompt"}
  for line in "$@"; do
    i=$((i + 1))
    case "$rest" in
      *"$prompt"*) ;;
      *) echo "kv_batch: no prompt after line $i ($line): $rest"; return 1 ;;
    esac
    printf '%s' "${rest%%"$prompt"*}" > "batch/$i"
    rest=${rest#*"$prompt"}
  done
  if [ "$rest" != . ]; then
    echo "kv_batch: more output than lines: $rest"
    return 1
  fi
}

# kv_print_batch LABEL...
#   Prints "[LABEL]" and the output of the matching batch line without its
#   empty lines, for each label in turn. The status is that of the last
#   filter, as in a loop of one-shot runs.
kv_print_batch() {
  local label i=0
  for label in "$@"; do
    i=$((i + 1))
    echo "[$label]"
    grep -v '^$' "batch/$i"
  done
}

# kv_words PREFIX WORDS...
#   Runs "PREFIX WORDS" for each WORDS in one kv_cli run and prints each
#   one's output under "[WORDS]".
kv_words() {
  local prefix=$1
  shift
  kv_batch "${@/#/$prefix }" && kv_print_batch "$@"
}

# kv_lines LINE...
#   Runs the lines in one kv_cli run and prints each one's output under
#   "[LINE]".
kv_lines() {
  kv_batch "$@" && kv_print_batch "$@"
}

# kv_queue WORDS...
#   Queues a command line, its words joined by spaces as a one-shot run
#   joins its arguments.
# kv_run_queue
#   Runs the queued lines in one kv_cli run (kv_lines) and empties the
#   queue.
kv_queue() {
  kv_queued+=("$*")
}
kv_run_queue() {
  local lines=("${kv_queued[@]}")
  kv_queued=()
  kv_lines "${lines[@]}"
}

# kv_outputs LINE...
#   Runs the lines in one kv_cli run and prints their outputs one after
#   the other, whole, as a loop of one-shot runs of commands that succeed
#   prints them.
kv_outputs() {
  local i
  kv_batch "$@" || return
  for ((i = 1; i <= $#; i++)); do
    cat "batch/$i"
  done
}

# kv_each FUNCTION LINE...
#   Runs the lines in one kv_cli run, then calls FUNCTION LINE for each
#   line with that line's output on its standard input.
kv_each() {
  local function=$1 line i=0
  shift
  kv_batch "$@" || return
  for line in "$@"; do
    i=$((i + 1))
    "$function" "$line" < "batch/$i"
  done
}

# kv_first_lines PREFIX WORDS...
#   Runs "PREFIX WORDS" for each WORDS in one kv_cli run and prints the
#   first line of each one's output.
kv_first_lines() {
  local prefix=$1
  shift
  kv_each kv_first_line "${@/#/$prefix }"
}
kv_first_line() {
  head -1
}

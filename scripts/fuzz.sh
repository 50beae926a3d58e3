#!/usr/bin/env bash
# Builds the libFuzzer targets (tests/fuzz, clang with AddressSanitizer and
# UndefinedBehaviorSanitizer, in build-fuzz unless KV_FUZZ_BUILD names
# another tree) and runs them.
#
#   scripts/fuzz.sh [SECONDS]   runs each target SECONDS (default 60) from
#                               its corpus; new inputs go to
#                               <build>/corpus/<target>
#   scripts/fuzz.sh --ci        runs each target over its corpus and a few
#                               seconds past it (KV_FUZZ_CI_SECONDS, 5)
#   KV_FUZZ_TARGETS="replies host_file"   only these targets
#   KV_FUZZ_JOBS=N              targets run side by side (default 3)
#   KV_FUZZ_BUILD=folder        the targets of another tree configured with
#                               -DKV_FUZZ=ON (scripts/test.sh passes its own,
#                               built with edge counters alone)
#
# Prints the executions and the coverage (cov: edges, ft: features) of
# each target from libFuzzer's final report. A crash, hang, leak or
# sanitizer report fails the run; the input is written to
# <build>/artifacts/ and, once mended, belongs in
# tests/fuzz/corpus/<target>/.
set -euo pipefail
cd "$(dirname "$0")/.."

ci=0
seconds=60
case "${1:-}" in
  --ci) ci=1; seconds=${KV_FUZZ_CI_SECONDS:-5} ;;
  "") ;;
  *[!0-9]*) echo "usage: scripts/fuzz.sh [SECONDS | --ci]" >&2; exit 2 ;;
  *) seconds=$1 ;;
esac

all_targets=(command_line command_file host_file replies firmware_image message_file)
read -r -a targets <<< "${KV_FUZZ_TARGETS:-${all_targets[*]}}"
jobs=${KV_FUZZ_JOBS:-3}

# Each target starts from its seeds (and the --ci pass replays only them):
# a target without any would pass having tried next to nothing.
for target in "${targets[@]}"; do
  if [ -z "$(ls -A "tests/fuzz/corpus/$target" 2> /dev/null)" ]; then
    echo "tests/fuzz/corpus/$target holds no seed" >&2
    exit 1
  fi
done

build=${KV_FUZZ_BUILD:-}
if [ -z "$build" ]; then
  build=build-fuzz
  launcher=()
  if command -v ccache > /dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  fi
  cmake -S . -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE= \
    -DCMAKE_CXX_FLAGS=-O1 -DKV_FUZZ=ON -DKV_BUILD_TESTS=OFF "${launcher[@]}" > /dev/null
fi
cmake --build "$build" --target kv_fuzz
case "$build" in /*) ;; *) build=$PWD/$build ;; esac

out=$build/runs
mkdir -p "$out" "$build/artifacts"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

run_target() {
  local target=$1 work=$build/corpus/$1 log=$out/$1.log
  mkdir -p "$work"
  local run=("$build/tests/fuzz/fuzz_$target" -timeout=30 -rss_limit_mb=4096 -print_final_stats=1
             -artifact_prefix="$build/artifacts/$target-")
  if [ "$ci" = 0 ]; then
    "${run[@]}" -max_total_time="$seconds" "$work" "tests/fuzz/corpus/$target" > "$log" 2>&1
    return
  fi
  # The whole corpus, then $seconds past it. libFuzzer counts its time from
  # its start, and replaying a corpus can take longer than that: the run is
  # ended here instead, SIGUSR1 asking libFuzzer to stop and report. The log
  # is emptied first: an earlier run's INITED must not end this one early.
  : > "$log"
  "${run[@]}" -seed=1 -max_total_time=600 "$work" "tests/fuzz/corpus/$target" >> "$log" 2>&1 &
  local pid=$!
  until grep -q INITED "$log" || ! kill -0 "$pid" 2> /dev/null; do
    sleep 0.2
  done
  sleep "$seconds"
  kill -USR1 "$pid" 2> /dev/null || true
  wait "$pid"
}

# Runs the targets, at most $jobs at a time.
declare -A pid_of
for target in "${targets[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do
    wait -n || true
  done
  run_target "$target" &
  pid_of[$target]=$!
done

failed=0
printf '%-16s %12s %8s %9s  %s\n' target executions cov ft result
for target in "${targets[@]}"; do
  result=ok
  wait "${pid_of[$target]}" || result=FAILED
  log=$out/$target.log
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  read -r cov ft < <(grep -E '^#[0-9]+.*cov: ' "$log" | tail -1 |
                     sed -E 's/.*cov: ([0-9]+) ft: ([0-9]+).*/\1 \2/') || true
  printf '%-16s %12s %8s %9s  %s\n' "$target" "${execs:-?}" "${cov:-?}" "${ft:-?}" "$result"
  if [ "$result" != ok ]; then
    failed=1
    grep -E 'ERROR|SUMMARY|artifact|Test unit written' "$log" | sed -n 's/^/    /; 1,5p'
    echo "    (whole report: $log)"
  fi
done
exit "$failed"

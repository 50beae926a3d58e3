#!/usr/bin/env bash
# What no test runs: builds the Linux tests with clang's source coverage
# (no sanitizers; folder build-coverage unless KV_COVERAGE_BUILD names
# another), runs the whole suite and prints, per product folder, the share
# of functions, lines and regions that ran, then the functions and the
# regions that no test ran, largest first (scripts/coverage_report.py).
#
#   scripts/coverage.sh              build, run every test, report
#   scripts/coverage.sh -R unitcmd   only the tests ctest's -R selects
#   KV_COVERAGE_REPORT_ONLY=1 scripts/coverage.sh
#                                    report the last run again (its merged
#                                    profile, <build>/coverage.profdata)
#   KV_COVERAGE_TOP=N                list at most N functions and N regions
#                                    per folder (default: all)
#
# Every process writes its own profile into <build>/profiles: the file name
# is compiled into the programs (-fprofile-instr-generate=<path>), so a
# kv_cli that a transcript starts in a folder of its own, or with its
# environment cleared, still writes there (the run sets LLVM_PROFILE_FILE
# to the same, so that a caller's own setting cannot send the profiles
# elsewhere). %p gives each process its own file; %m merges into it
# instead of overwriting it when a later process gets the same process id;
# %c (continuous mode, with the counters relocated at run time) keeps the
# counts in the file while the process runs, so that a kv_cli ended by a
# signal (a transcript's "| head" closing the pipe) still leaves them. A
# tool for whoever changes the code: nothing runs it in CI and nothing
# counts its figures.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${KV_COVERAGE_BUILD:-build-coverage}
profiles=$PWD/$build/profiles
jobs=${CTEST_PARALLEL_LEVEL:-3}

if [ -z "${KV_COVERAGE_REPORT_ONLY:-}" ]; then
  pattern=$profiles/%p-%m%c.profraw
  cmake -S . -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS="-fprofile-instr-generate=$pattern -fcoverage-mapping -mllvm -runtime-counter-relocation" \
    -DCMAKE_EXE_LINKER_FLAGS="-fuse-ld=lld -fprofile-instr-generate=$pattern" \
    -DKV_PRECOMPILED_HEADERS=ON >/dev/null
  if ! cmake --build "$build" > "$build/build.log" 2>&1; then
    tail -n 30 "$build/build.log"
    exit 1
  fi
  rm -rf "$profiles"
  mkdir -p "$profiles"
  # A failing test still leaves its profiles: the report is made all the
  # same, and the run's status says that a test failed.
  status=0
  export LLVM_PROFILE_FILE=$pattern
  ctest --test-dir "$build" -j "$jobs" "$@" > "$build/ctest.log" 2>&1 || status=$?
  tail -n 3 "$build/ctest.log"
  if [ "$status" -ne 0 ]; then
    echo "Some tests failed (see $build/ctest.log); the figures below count what ran."
  fi
  # The raw profiles (about 1.5 MB for each kv_cli run) give way to the
  # one merged profile that the report reads.
  shopt -s nullglob
  raw=("$profiles"/*.profraw)
  if [ "${#raw[@]}" -eq 0 ]; then
    echo "no profile was written into $profiles" >&2
    exit 1
  fi
  printf '%s\n' "${raw[@]}" > "$build/profiles.txt"
  llvm-profdata merge -sparse -num-threads="$jobs" --input-files="$build/profiles.txt" -o "$build/coverage.profdata"
  echo "${#raw[@]} profiles merged into $build/coverage.profdata"
  rm -rf "$profiles" "$build/profiles.txt"
fi

# The product's and the emulator's own files, not the tests' nor the
# system's headers.
llvm-cov export -format=text -num-threads="$jobs" -instr-profile="$build/coverage.profdata" \
  -ignore-filename-regex='^/usr/' \
  "$build/kv_cli" -object "$build/tests/kv_unit_tests" > "$build/coverage.json"
python3 scripts/coverage_report.py "$build/coverage.json" "$PWD" ${KV_COVERAGE_TOP:+--top "$KV_COVERAGE_TOP"}
exit "${status:-0}"

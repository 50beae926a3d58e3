#!/usr/bin/env bash
# Installs what is missing, checks the sources' layout (scripts/check-format.sh),
# builds kv_cli with AddressSanitizer and UndefinedBehaviorSanitizer and runs
# every test, then the Windows build's.
#
# One clang tree serves the tests and the fuzz targets: the library is built
# once, with the sanitizers and the fuzzers' edge counters, and with line
# tables only (enough for every sanitizer report to name its lines), its
# common headers precompiled and the emulated host optimized; lld links it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/check-headers.sh

scripts/install-deps.sh
scripts/install-deps.sh --windows
scripts/check-format.sh
started=$(date +%s)

# The tests' scratch files (cram's folders, host files, the wine prefix) go
# to memory when the machine has room there: each emulated change renames a
# file, which a disk's journal makes slow.
scratch=""
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ] &&
   [ "$(df -Pk /dev/shm | awk 'NR == 2 { print $4 }')" -gt $((2 * 1024 * 1024)) ]; then
  scratch=$(mktemp -d /dev/shm/kv-test.XXXXXX)
  export TMPDIR=$scratch
fi

# The Windows half (kv_cli.exe cross-built with mingw-w64, its unit tests,
# the same transcripts against the emulated host and smoke tests of the
# real Windows calls, all under wine) runs beside the Linux half: each half
# alone leaves a core idle in its links, its slowest tests and wine's waits
# for its server. Its report follows the Linux one.
windows_log=$(mktemp "${TMPDIR:-/tmp}/kv-windows-test.XXXXXX")
scripts/test-windows.sh > "$windows_log" 2>&1 &
windows=$!
trap 'kill "$windows" 2>/dev/null || true; rm -rf "$windows_log" ${scratch:+"$scratch"}' EXIT

# (Called in a list, the function runs without errexit: it returns the
# status of the first step that fails.)
linux_half() {
  cmake -S . -B build-test -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS_DEBUG=-gline-tables-only -DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld \
    -DKV_SANITIZE=ON -DKV_FUZZ=ON -DKV_FUZZ_FEEDBACK=counters -DKV_PRECOMPILED_HEADERS=ON \
    -DKV_OPTIMIZED_EMULATOR=ON >/dev/null || return
  cmake --build build-test || return
  local built status=0 finished
  built=$(date +%s)
  export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}
  export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
  ctest --test-dir build-test --output-on-failure -j "$(nproc)" 2>&1 | tee build-test/ctest.log ||
    status=$?
  finished=$(date +%s)
  echo "Slowest Linux tests (s):"
  scripts/ctest-slowest.sh build-test/ctest.log
  echo "Linux tests: build $((built - started)) s, tests $((finished - built)) s"
  if [ "$status" -ne 0 ]; then return "$status"; fi

  # Every fuzz target over its corpus, then briefly past it.
  KV_FUZZ_BUILD=build-test scripts/fuzz.sh --ci || return
  echo "Fuzz pass: $(( $(date +%s) - finished )) s"
}

linux_status=0
linux_half || linux_status=$?
windows_status=0
wait "$windows" || windows_status=$?
cat "$windows_log"
echo "All tests: $(( $(date +%s) - started )) s"
if [ "$linux_status" -ne 0 ]; then exit "$linux_status"; fi
exit "$windows_status"

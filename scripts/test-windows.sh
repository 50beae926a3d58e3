#!/usr/bin/env bash
# Cross-builds kv_cli.exe for 64-bit Windows and runs, under wine, with one
# wine server in a fresh wine prefix:
#   - the unit tests (kv_unit_tests.exe),
#   - the transcripts of tests/transcripts against the emulated host,
#   - the smoke transcripts of tests/windows against the real Windows calls.
# Arguments are passed to ctest (e.g. -R windows. to run the smoke tests only).
# KV_WINDOWS_BUILD names the build folder (default build-windows).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
started=$(date +%s)

scripts/install-deps.sh --windows

build=${KV_WINDOWS_BUILD:-build-windows}
case "$build" in /*) ;; *) build=$root/$build ;; esac
toolchain=$root/cmake/mingw-w64-x86_64.cmake
stage=$build/windows-stage

# GoogleTest, cross-built from the sources that libgtest-dev ships, once per
# build folder.
if [ ! -f "$stage/lib/cmake/GTest/GTestConfig.cmake" ]; then
  echo "Cross-building GoogleTest"
  cmake -S /usr/src/googletest -B "$build/googletest" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DKV_WINDOWS_STAGE="$stage" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$stage" -DBUILD_GMOCK=OFF >/dev/null
  cmake --build "$build/googletest" >/dev/null
  cmake --install "$build/googletest" >/dev/null
fi

# Assertions stay on; -O1 keeps the static executables small and quick. The
# unit tests are compiled a dozen files at a time (a unity build): mingw's
# compiler spends most of a test file's time on the headers they share.
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DKV_WINDOWS_STAGE="$stage" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-O1 \
  -DKV_UNITY_TESTS=ON >/dev/null
cmake --build "$build"
built=$(date +%s)

# The wine64 package puts its loader in wine's library folder.
wine=$(grep -m1 '^KV_WINE:' "$build/CMakeCache.txt" | cut -d= -f2- || true)
wineserver=""
for candidate in "$(dirname "$wine")/wineserver" "$(dirname "$wine")/wineserver64" \
                 "$(command -v wineserver || true)"; do
  if [ -n "$candidate" ] && [ -x "$candidate" ]; then wineserver=$candidate; break; fi
done
if [ ! -x "$wine" ] || [ -z "$wineserver" ]; then
  echo "wine loader or wine server not found" >&2
  exit 1
fi

# A fresh prefix for this run, no mono or gecko, no debug chatter, and one
# persistent server that every test's wine process shares.
scratch=$(mktemp -d "${TMPDIR:-/tmp}/kv-wine.XXXXXX")
export WINEPREFIX=$scratch/prefix WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=" WINELOADER=$wine
# Wine keeps its server's socket in a folder of TMPDIR; the build's wine
# wrappers go back to this one whatever TMPDIR a test sets (cram sets one
# per transcript), so every test talks to the one server.
export KV_WINE_TMPDIR=${TMPDIR:-/tmp}
# The server's last processes can still be writing into the prefix just after
# it is told to stop: wait for it, and never let a leftover scratch folder
# change the outcome of the tests.
cleanup() {
  "$wineserver" -k >/dev/null 2>&1 || true
  "$wineserver" -w >/dev/null 2>&1 || true
  if ! rm -rf "$scratch" 2>/dev/null; then
    sleep 2
    rm -rf "$scratch" 2>/dev/null || echo "Could not remove $scratch" >&2
  fi
}
trap cleanup EXIT
# The prefix's services start here, away from any test's output: a wine
# program that starts them hands them its standard streams, and whoever
# reads those (test discovery, cram) would wait for the services to end.
mkdir -p "$WINEPREFIX"
"$wineserver" -p
timeout 300 "$wine" wineboot --init </dev/null >/dev/null 2>&1
prefixed=$(date +%s)

status=0
# A wine program that hangs fails its test instead of stalling the run. A
# wine client can lose its server connection on a loaded machine ("wine
# client error: recvmsg"); such a test is run once more. The Linux run,
# where our own code alone decides, has no second try. Wine programs spend
# much of their time waiting on the wine server: two tests per core keep
# the cores busy (a third faster than one per core on two cores).
ctest --test-dir "$build" --output-on-failure --timeout 300 -j "$(( 2 * $(nproc) ))" \
  --repeat until-pass:2 "$@" 2>&1 | tee "$build/ctest.log" || status=$?
finished=$(date +%s)
echo "Slowest Windows tests (s):"
scripts/ctest-slowest.sh "$build/ctest.log"
echo "Windows tests: build $((built - started)) s, wine prefix $((prefixed - built)) s," \
     "tests $((finished - prefixed)) s, total $((finished - started)) s"
exit "$status"

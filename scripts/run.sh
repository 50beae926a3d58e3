#!/usr/bin/env bash
# Installs what is missing, builds kv_cli and runs it against the default
# emulated host. Arguments are passed to kv_cli (default: "show").
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKV_BUILD_TESTS=OFF >/dev/null
cmake --build build
if [ "$#" -eq 0 ]; then set -- show; fi
exec build/kv_cli "$@"

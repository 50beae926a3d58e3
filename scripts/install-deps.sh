#!/usr/bin/env bash
# Installs what building and testing kv_cli needs on Debian, when missing.
set -euo pipefail

packages=(cmake ninja-build g++ nlohmann-json3-dev libgtest-dev python3-cram jq
          clang libclang-rt-14-dev lld clang-format)
if [ "${1:-}" = "--windows" ]; then
  packages+=(g++-mingw-w64-x86-64-posix wine64)
fi

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

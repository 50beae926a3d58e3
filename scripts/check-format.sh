#!/usr/bin/env bash
# Fails when a C++ source file of the tree (every .cpp and .h that git
# tracks or would add) is not as clang-format 14 writes it with the
# project's .clang-format, and names those files.
#
#   scripts/check-format.sh         checks (scripts/test.sh runs it first)
#   scripts/check-format.sh --fix   formats the files that differ
#   KV_CLANG_FORMAT=program         another clang-format 14 binary
set -euo pipefail
cd "$(dirname "$0")/.."

fix=0
case "${1:-}" in
  --fix) fix=1 ;;
  "") ;;
  *) echo "usage: scripts/check-format.sh [--fix]" >&2; exit 2 ;;
esac

# Another major version of clang-format lays some constructs out otherwise:
# its differences would not be the tree's.
format=${KV_CLANG_FORMAT:-}
if [ -z "$format" ]; then
  format=$(command -v clang-format-14 || command -v clang-format || true)
fi
if [ -z "$format" ]; then
  echo "clang-format not found (Debian package clang-format)" >&2
  exit 1
fi
version=$("$format" --version | sed -nE 's/.*version ([0-9]+).*/\1/p')
if [ "$version" != 14 ]; then
  echo "$format is clang-format ${version:-of an unknown version}, the tree is laid out by 14" >&2
  exit 1
fi

files=()
while IFS= read -r -d '' file; do
  [ -f "$file" ] && files+=("$file")
done < <(git ls-files -z --cached --others --exclude-standard -- '*.cpp' '*.h')

if [ "$fix" = 1 ]; then
  printf '%s\0' "${files[@]}" | xargs -0 "$format" -i --style=file
  exit 0
fi

# clang-format reports each place as "file:line:column: error: ...".
status=0
report=$(printf '%s\0' "${files[@]}" | xargs -0 "$format" --dry-run -Werror --style=file 2>&1) ||
  status=$?
if [ "$status" -ne 0 ]; then
  differing=$(sed -nE 's/^(.*):[0-9]+:[0-9]+: error: .*/\1/p' <<< "$report" | sort -u)
  if [ -z "$differing" ]; then
    echo "$report" >&2
    exit "$status"
  fi
  echo "Not formatted with .clang-format (scripts/check-format.sh --fix formats them):" >&2
  echo "$differing" | sed 's/^/  /' >&2
  exit 1
fi

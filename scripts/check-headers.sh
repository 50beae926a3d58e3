#!/usr/bin/env bash
# Fails when a source file outside platform/ and emulator/ (the tests
# aside) includes a POSIX or Windows system header, or asks which system it
# is built for: the rest of the program reaches the machine only through
# the host-system seam, and builds the same on every system. Fails too
# when the folders include each other in a cycle.
set -euo pipefail
cd "$(dirname "$0")/.."

posix='unistd|fcntl|dirent|dlfcn|pthread|poll|termios|pwd|grp|libgen|glob|fnmatch|spawn|syslog|sched|semaphore|strings|utime|aio|mqueue|netdb|sys/[a-z_/]+|netinet/[a-z_]+|arpa/[a-z_]+'
windows='windows|winioctl|winbase|winreg|winerror|winnt|winternl|winsock2?|ws2tcpip|io|direct|process|share|conio|tchar|setupapi|cfgmgr32|shlobj|shlwapi|shellapi|objbase|devguid|initguid|ntddscsi|ntddstor|wbemidl|lmcons|sddl|aclapi|mingw[a-z0-9_]*'
header="^[[:space:]]*#[[:space:]]*include[[:space:]]*[<\"](${posix}|${windows})\\.h[>\"]"
system='^[[:space:]]*#[[:space:]]*(if|ifdef|ifndef|elif).*(_WIN32|_WIN64|__linux__|__unix__|_MSC_VER|__MINGW32__|__MINGW64__)'

found=$(git ls-files --cached --others --exclude-standard -- '*.cpp' '*.h' '*.hpp' '*.cc' |
        grep -Ev '^(platform|emulator|tests)/' |
        while read -r file; do
          [ -f "$file" ] || continue
          grep -HnEi "$header|$system" "$file" || true
        done)
if [ -n "$found" ]; then
  echo "System headers or system tests outside platform/ and emulator/:" >&2
  echo "$found" >&2
  exit 1
fi

# The folders include one way: over every `#include "folder/..."` line
# (the tests aside), the graph of which top-level folder includes which has
# no cycle, so that each folder reads and builds with only the folders
# below it (README.md, Layout).
edges=$(git ls-files --cached --others --exclude-standard -- '*.cpp' '*.h' '*.hpp' '*.cc' '*.def' |
        grep -v '^tests/' | grep / |
        while read -r file; do if [ -f "$file" ]; then echo "$file"; fi; done |
        xargs awk 'match($0, /^[ \t]*#[ \t]*include[ \t]*"[A-Za-z0-9_]+\//) {
                     split(FILENAME, from, "/")
                     to = substr($0, RSTART, RLENGTH)
                     sub(/^[^"]*"/, "", to)
                     sub(/\/$/, "", to)
                     if (to != from[1]) print from[1], to
                   }' | sort | uniq -c)
if ! loop=$(awk '{ print $2, $3 }' <<<"$edges" | tsort 2>&1 >/dev/null); then
  echo "Folders that include each other in a cycle:" \
    $(sed -n 's/^tsort: \([A-Za-z0-9_]*\)$/\1/p' <<<"$loop") >&2
  echo "Includes between folders (count, from, to):" >&2
  echo "$edges" >&2
  exit 1
fi

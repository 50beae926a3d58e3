#!/usr/bin/env bash
# Fails when a source file outside platform/ and emulator/ (the tests
# aside) includes a POSIX or Windows system header, or asks which system it
# is built for: the rest of the program reaches the machine only through
# the host-system seam, and builds the same on every system.
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

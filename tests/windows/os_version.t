The OS description from GetVersionExA, GetNativeSystemInfo, GetProductInfo
and GetSystemMetrics, with wine playing several Windows versions to a copy
of the probe (a version set for that program name only).

  $ unset KV_EMULATED_HOST
  $ cp "$KV_PROBE_EXE" osprobe.exe
  $ version() {
  >   "$WINE" reg add 'HKCU\Software\Wine\AppDefaults\osprobe.exe' /v Version /d "$1" /f >/dev/null 2>&1
  >   "$WINE" ./osprobe.exe osversion > text
  >   tr -d '\r' < text
  > }

The text ends in a line break, which the C runtime writes as "\r\n" on a
real machine.

  $ version winxp64 >/dev/null && tail -c 2 text | od -An -tx1
   0d 0a
  $ version winxp64
  Microsoft Windows XP x64 Edition Service Pack 2 (Build 3790)
  $ version win2003
  Microsoft Windows Server 2003 Standard x64 Edition Service Pack 2 (Build 3790)
  $ version vista
  Microsoft Windows Vista x64 Edition Service Pack 2 (Build 6002)
  $ version win2008
  Microsoft Windows Server 2008 Standard x64 Edition Service Pack 2 (Build 6002)

  $ "$WINE" reg delete 'HKCU\Software\Wine\AppDefaults\osprobe.exe' /f >/dev/null 2>&1

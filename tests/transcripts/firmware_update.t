The firmware update of a newer-family controller: the examination of the
image, the table of versions with its verdict, the question, "force", the
download in chunks under the management lock, the new version afterwards
and the audit line; images that do not fit the controller or its driver,
missing and short files, and a download the controller refuses. c0 and c2
are family-8 controllers (architecture 8) whose driver serves SRL 26 to
40; c1 is a family-6 controller (architecture 6) whose driver serves SRL
32 to 40.

  $ . "$TESTDIR/audit_log.sh"
  $ cp "$FIXTURES/firmware/host.json" host.json && export KV_EMULATED_HOST="$PWD/host.json"
  $ img() { perl "$FIXTURES/firmware/mkimage.pl" "$@"; }
  $ log=ProgramData/Orvo/kv_mgmt.log
  $ lines() { kv_audit_lines "$log"; }
  $ chunks() { grep -c '"opcode":22' requests.jsonl || true; }
  $ locks() { grep -c '"kind":"lock"' requests.jsonl || true; }

An image of 6 x 8192 + 848 bytes for architecture 8, SRL 25 to 30: the
library (SRL 24 to 29) and the driver serve it. Answered "no", nothing is
sent and nothing is logged.

  $ img good.img size=49999 srl=30 lowest=25 version="KF62 7.35.00.003"
  $ echo n | "$KV_CLI" /c0 update fw=good.img
  
  Warning: Updating the firmware can render the device driver and/or
  management tools incompatible. Before you update the firmware,
  it is recommended that you:
  
  1) Back up your data.
  
  2) Make sure you have a copy of the current firmware image so that
  you can roll back, if necessary.
  
  3) Close all applications.
  
  Examining compatibility data from firmware image and /c0 ... Done.
  
  New-Firmware        Current-Firmware    Current-Driver      Current-API 
  ------------------------------------------------------------------------
  KF62 7.35.00.003    KF62 7.30.00.058    3.00.02.046         2.06.00.012       
  
  Both API and Driver are compatible with the new firmware.
  Recommendation: proceed to update.
  
  Given the above recommendation...
  Do you want to continue ? Y|N [N]: The command is aborted.
  
  $ chunks; test -e "$log" || echo "no log"
  0
  no log

Answered "yes": seven chunks under one lock, the audit line, and the
controller reports the new version from the next command on.

  $ echo y | "$KV_CLI" /c0 update fw=good.img | tail -n 6
  Recommendation: proceed to update.
  
  Given the above recommendation...
  Do you want to continue ? Y|N [N]: Downloading the firmware from file good.img ... Done. 
  The new image will take effect after reboot.
  
  $ "$KV_CLI" /c0 show firmware
  /c0 Firmware Version = KF62 7.35.00.003
  
  $ chunks; locks; grep -c '"kind":"unlock"' requests.jsonl; lines
  7
  1
  1
  CLI [Download firmware(controller=0, filename=good.img): Success]
  $ jq -c '.machine.controllers[0] | {management_lock, image_download}' host.json
  {"management_lock":false,"image_download":null}

"force" skips the warning, the table and the question. An image for SRL 30
to 31 is not served by the library (24 to 29) but by the driver: it is
downloaded all the same.

  $ img lib.img size=20000 srl=31 lowest=30 version="KF62 7.31.00.005"
  $ "$KV_CLI" /c0 update fw=lib.img force
  
  Examining compatibility data from firmware image and /c0 ... Done.
  Downloading the firmware from file lib.img ... Done. 
  The new image will take effect after reboot.
  
  $ "$KV_CLI" /c0 show firmware
  /c0 Firmware Version = KF62 7.31.00.005
  

Without "force" the same image leads to the question (the library's
verdict alone does not stop the update).

  $ echo n | "$KV_CLI" /c0 update fw=lib.img | sed -n '/^New-Firmware/,$p'
  New-Firmware        Current-Firmware    Current-Driver      Current-API 
  ------------------------------------------------------------------------
  KF62 7.31.00.005    KF62 7.31.00.005    3.00.02.046         2.06.00.012       
  
  Current management tools are not compatible with the new firmware.
  Recommendation: Update tools and then update the firmware.
  
  Given the above recommendation...
  Do you want to continue ? Y|N [N]: The command is aborted.
  

On c1 an image whose range 24 to 29 the driver (32 to 40) does not serve
stops after the table; forced, it stops after the examination. One that
neither the library nor the driver serves stops after the table too.

  $ img drv.img size=4096 arch=6 srl=29 lowest=24
  $ "$KV_CLI" /c1 update fw=drv.img | sed -n '/^Examining/,$p'
  Examining compatibility data from firmware image and /c1 ... Done.
  
  New-Firmware        Current-Firmware    Current-Driver      Current-API 
  ------------------------------------------------------------------------
  KF62 7.35.00.003    KF62 1.04.00.007    3.00.01.012         2.06.00.012       
  
  Current driver is not compatible with the new firmware.  
  Recommendation: Update driver and then update the firmware.
  
  
  $ "$KV_CLI" /c1 update fw=drv.img force
  
  Examining compatibility data from firmware image and /c1 ... Done.
  Current driver is not compatible with the new firmware.  Skipping...
  
  $ img none.img size=4096 arch=6 srl=31 lowest=30
  $ "$KV_CLI" /c1 update fw=none.img | sed -n '/^New-Firmware/,$p'
  New-Firmware        Current-Firmware    Current-Driver      Current-API 
  ------------------------------------------------------------------------
  KF62 7.35.00.003    KF62 1.04.00.007    3.00.01.012         2.06.00.012       
  
  Neither management tools nor drive are compatible with the new firmware.
  Recommendation: Update tools and driver and then update the firmware.
  
  
  $ "$KV_CLI" /c1 show firmware; grep -c '"controller":1,.*"opcode":22' requests.jsonl
  /c1 Firmware Version = KF62 1.04.00.007
  
  0
  [1]

Images the controller cannot take fail the examination with the library's
error, before anything is downloaded: another architecture, another size
than the file's, the wrong magic, a controller SRL above the image's. A
missing file is the system's error; a file shorter than the header is no
image of any size.

  $ img arch.img size=4096 arch=6
  $ img size.img size=4096 declared=4000
  $ img magic.img size=4096 magic=0xDEADBEEF
  $ img old.img size=4096 srl=28 lowest=24
  $ img tiny.img size=40
  $ for f in arch.img size.img magic.img old.img missing.img tiny.img; do
  >   echo "[$f]"; "$KV_CLI" /c0 update fw=$f force; echo "status $?"
  > done
  [arch.img]
  
  Examining compatibility data from firmware image and /c0 ... Failed.
  (0x0B:0x0068): Incompatible firmware architecture.
  
  
  status 1
  [size.img]
  
  Examining compatibility data from firmware image and /c0 ... Failed.
  (0x0B:0x0066): Invalid firmware image size.
  
  
  status 1
  [magic.img]
  
  Examining compatibility data from firmware image and /c0 ... Failed.
  (0x0B:0x0067): Invalid firmware magic.
  
  
  status 1
  [old.img]
  
  Examining compatibility data from firmware image and /c0 ... Failed.
  (0x0B:0x0071): Incompatible firmware SRL.
  
  
  status 1
  [missing.img]
  
  Examining compatibility data from firmware image and /c0 ... Failed.
  (0x0A:0x0002): The system cannot find the file specified.\r (esc)
  
  
  
  status 1
  [tiny.img]
  
  Examining compatibility data from firmware image and /c0 ... Failed.
  (0x0B:0x0066): Invalid firmware image size.
  
  
  status 1
  $ "$KV_CLI" /c0 show firmware
  /c0 Firmware Version = KF62 7.31.00.005
  

The download through the controller (lib.img has raised c0's SRL to 31,
so the images below serve SRL 31): a checksum error is retried once and a
second one is final; a chunk the controller refuses ends the download at
once. Either way the management lock is released and the version stays.

  $ img new.img size=20000 srl=31 lowest=28 version="KF62 7.39.00.002"
  $ rm requests.jsonl
  $ jq '.faults = [{"match": {"layer": "firmware", "opcode": "0x16"},
  >                 "action": {"status": 1, "code": "0x0234"}, "count": "always"}]' \
  >   host.json > f.json && mv f.json host.json
  $ "$KV_CLI" /c0 update fw=new.img force; echo "status $?"
  
  Examining compatibility data from firmware image and /c0 ... Done.
  Downloading the firmware from file new.img ... Failed.
  (0x03:0x0234): Binary image checksum error detected
  
  
  status 1
  $ locks; chunks; grep -c '"kind":"unlock"' requests.jsonl
  2
  2
  2
  $ rm requests.jsonl
  $ jq '.faults = [{"match": {"layer": "firmware", "opcode": "0x16"},
  >                 "action": {"status": 1, "code": "0x0234"}, "count": 1, "skip": 1}]' \
  >   host.json > f.json && mv f.json host.json
  $ "$KV_CLI" /c0 update fw=new.img force | grep -v '^$'
  Examining compatibility data from firmware image and /c0 ... Done.
  Downloading the firmware from file new.img ... Done. 
  The new image will take effect after reboot.
  $ locks; chunks; "$KV_CLI" /c0 show firmware
  2
  5
  /c0 Firmware Version = KF62 7.39.00.002
  
  $ img bad.img size=10000 srl=31 lowest=28 checksum=bad version="KF62 6.66.66.666"
  $ "$KV_CLI" /c0 update fw=bad.img force; echo "status $?"
  
  Examining compatibility data from firmware image and /c0 ... Done.
  Downloading the firmware from file bad.img ... Failed.
  (0x03:0x0234): Binary image checksum error detected
  
  
  status 1
  $ jq '.faults = [{"match": {"layer": "driver", "kind": "firmware", "opcode": "0x16"},
  >                 "action": {"return_code": "0x8005"}, "count": 1, "skip": 1}]' \
  >   host.json > f.json && mv f.json host.json
  $ "$KV_CLI" /c0 update fw=lib.img force; echo "status $?"
  
  Examining compatibility data from firmware image and /c0 ... Done.
  Downloading the firmware from file lib.img ... Failed.
  (0x07:0x8005): invalid command parameter(s)
  
  
  status 1
  $ "$KV_CLI" /c0 show firmware; lines | tail -n 4
  /c0 Firmware Version = KF62 7.39.00.002
  
  CLI [Download firmware(controller=0, filename=new.img): Failed]
  CLI [Download firmware(controller=0, filename=new.img): Success]
  CLI [Download firmware(controller=0, filename=bad.img): Failed]
  CLI [Download firmware(controller=0, filename=lib.img): Failed]
  $ jq -c '.machine.controllers[0].management_lock' host.json
  false

The update words: "fw=" names the file (a later one replaces an earlier
one, and the name keeps its capitals), "force" forces, "help" prints the
help and updates nothing; no word is 32, no file name 92, any other word 95.
A name longer than the download can carry (255 characters) is refused
before anything is examined.

  $ img Good.IMG size=2048 srl=31 lowest=28 version="KF62 7.37.00.001"
  $ "$KV_CLI" /c0 update fw=none.img FW=Good.IMG force | grep -v '^$'
  Examining compatibility data from firmware image and /c0 ... Done.
  Downloading the firmware from file Good.IMG ... Done. 
  The new image will take effect after reboot.
  $ "$KV_CLI" /c0 show firmware
  /c0 Firmware Version = KF62 7.37.00.001
  
  $ "$KV_CLI" /c0 update fw=good.img help
    /cx update fw=filename_with_path [force]                  (Rhosk series)
  
  $ for w in "" "force" "fw=good.img bogus"; do
  >   "$KV_CLI" /c0 update $w 2>&1 | grep -v '^$'; done
  Error: (CLI:032) Invalid controller command syntax.
  Error: (CLI:092) Invalid update command.
  Error: (CLI:095) Invalid image filename or update command syntax.
  $ "$KV_CLI" /c0 update fw=$(printf 'x%.0s' $(seq 256)) force; echo "status $?"
  Error: (CLI:095) Invalid image filename or update command syntax.
  
  
  status 1

The update of every controller ("update" at the host): each newer-family
controller in turn, the general warning only before the first; a
controller that fails is reported on standard output and the next one
follows, without the warning. c1 (architecture 6) cannot take an image for
architecture 8.

  $ img all.img size=9000 srl=31 lowest=28 version="KF62 7.32.00.007"
  $ printf 'n\ny\n' | "$KV_CLI" update fw=all.img; echo "status $?"
  
  Warning: Updating the firmware can render the device driver and/or
  management tools incompatible. Before you update the firmware,
  it is recommended that you:
  
  1) Back up your data.
  
  2) Make sure you have a copy of the current firmware image so that
  you can roll back, if necessary.
  
  3) Close all applications.
  
  Examining compatibility data from firmware image and /c0 ... Done.
  
  New-Firmware        Current-Firmware    Current-Driver      Current-API 
  ------------------------------------------------------------------------
  KF62 7.32.00.007    KF62 7.37.00.001    3.00.02.046         2.06.00.012       
  
  Both API and Driver are compatible with the new firmware.
  Recommendation: proceed to update.
  
  Given the above recommendation...
  Do you want to continue ? Y|N [N]: The command is aborted.
  
  Examining compatibility data from firmware image and /c1 ... Failed.
  (0x0B:0x0068): Incompatible firmware architecture.
  
  
  
  Examining compatibility data from firmware image and /c2 ... Done.
  
  New-Firmware        Current-Firmware    Current-Driver      Current-API 
  ------------------------------------------------------------------------
  KF62 7.32.00.007    KF62 7.04.00.030    3.00.02.046         2.06.00.012       
  
  Both API and Driver are compatible with the new firmware.
  Recommendation: proceed to update.
  
  Given the above recommendation...
  Do you want to continue ? Y|N [N]: Downloading the firmware from file all.img ... Done. 
  The new image will take effect after reboot.
  
  status 0
  $ for c in c0 c1 c2; do "$KV_CLI" /$c show firmware | head -n 1; done
  /c0 Firmware Version = KF62 7.37.00.001
  /c1 Firmware Version = KF62 1.04.00.007
  /c2 Firmware Version = KF62 7.32.00.007
  $ "$KV_CLI" update fw=all.img force | grep -v '^$'
  Examining compatibility data from firmware image and /c0 ... Done.
  Downloading the firmware from file all.img ... Done. 
  The new image will take effect after reboot.
  Examining compatibility data from firmware image and /c1 ... Failed.
  (0x0B:0x0068): Incompatible firmware architecture.
  Examining compatibility data from firmware image and /c2 ... Done.
  Downloading the firmware from file all.img ... Done. 
  The new image will take effect after reboot.
  $ for c in c0 c1 c2; do "$KV_CLI" /$c show firmware | head -n 1; done
  /c0 Firmware Version = KF62 7.32.00.007
  /c1 Firmware Version = KF62 1.04.00.007
  /c2 Firmware Version = KF62 7.32.00.007
  $ "$KV_CLI" update; "$KV_CLI" update force 2>&1 | head -n 1
  Error: (CLI:092) Invalid update command.
  
  
  Error: (CLI:092) Invalid update command.

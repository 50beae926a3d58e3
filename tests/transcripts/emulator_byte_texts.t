Texts that are not UTF-8. A controller keeps the bytes it is given: a
command file saved in a single-byte code page names a unit "B\xfcro"
(Latin-1, the byte 0xFC) and creates one named "caf\xe9", and a firmware
image's version text holds the byte 0xE9. Each command runs to its end,
later commands see the bytes as given, and the host file keeps each byte
that is not UTF-8 as its stand-in "\udbff\udfXX". Texts of the host file
written so (event and enclosure texts) are answered as their bytes. The
default host: c0 is a family-8 controller with an SES enclosure e0.

  $ export KV_EMULATED_HOST="$PWD/host.json"
  $ "$KV_CLI" show > /dev/null
  $ jq '.machine.host_name = "kvhost"' host.json > h.json && mv h.json host.json

A unit's name.

  $ printf '/c0/u0 set name=B\374ro\n' > name.txt
  $ "$KV_CLI" -f name.txt; echo "status $?"
  //kvhost> /c0/u0 set name=B\xfcro (esc)
  Naming unit /c0/u0 to [B\xfcro] ... Done. (esc)
  
  //kvhost> 
  status 0
  $ "$KV_CLI" /c0/u0 show name
  /c0/u0 name = B\xfcro                  (esc)
  
  $ jq -r '.machine.controllers[0].units[] | select(.number == 0) | .name' host.json | od -An -c
     B 364 217 277 274   r   o  \n
  $ grep -c '"name": "B\\udbff\\udffcro"' host.json
  1

A word of the command line comes as the system gives it: on Windows in
the ANSI code page (a u-umlaut typed in a UTF-8 terminal arrives as the
byte 0xFC), on Linux as the terminal's UTF-8. Either way the unit takes it
and shows it back as given.

  $ case "$KV_CLI" in *-wine) given() { iconv -f CP1252 -t UTF-8; } ;; *) given() { cat; } ;; esac
  $ LC_ALL=C.UTF-8 "$KV_CLI" /c0/u1 set name="$(printf 'B\303\274ro')" | given; echo "status ${PIPESTATUS[0]}"
  Naming unit /c0/u1 to [B\xc3\xbcro] ... Done. (esc)
  
  status 0
  $ "$KV_CLI" /c0/u1 show name | given | sed 's/ *$//'
  /c0/u1 name = B\xc3\xbcro (esc)
  

A new unit's name, and its policies after it.

  $ "$KV_CLI" /c0/u3 del quiet > /dev/null
  $ printf '/c0 add type=single disk=11 name=caf\351\n' > add.txt
  $ "$KV_CLI" -f add.txt; echo "status $?"
  //kvhost> /c0 add type=single  disk=11  name=caf\xe9 (esc)
  Creating new unit on controller /c0 ... Done. The new unit is /c0/u3.
  Naming unit /c0/u3 to [caf\xe9] ... Done. (esc)
  Setting AutoVerify=ON for the new unit ... Done.
  Setting default Keepwell policy to [balance] for the new unit ... Done.
  Setting default Command Queuing policy for unit /c0/u3 to [on] ... Done.
  
  //kvhost> 
  status 0
  $ "$KV_CLI" /c0/u3 show name
  /c0/u3 name = caf\xe9                  (esc)
  

Event and enclosure texts.

  $ jq '.machine.controllers[0].events[1].description = "R\udbff\udfe9glage"
  >     | .machine.controllers[0].enclosures.list[0].product = "Bo\udbff\udfeete"' host.json > h.json
  $ mv h.json host.json
  $ "$KV_CLI" /c0 show alarms | sed -n 4p
  c0   [Mon Nov 02 2026 11:00:00]  INFO      R\xe9glage: unit=2 (esc)
  $ "$KV_CLI" /c0/e0 show all | grep 'Product ID'
  /c0/e0 Product ID = Bo\xeete            (esc)

A firmware image whose version text holds the byte 0xE9: the download
runs to its end, the controller reports the new version, the management
lock is released and a later change under the lock succeeds. (The
firmware host: c0 takes the image; it gets a single-disk unit u0.)

  $ jq '.machine.controllers[0].units = [{"number": 0, "members": [0]}]' \
  >   "$FIXTURES/firmware/host.json" > host.json
  $ perl "$FIXTURES/firmware/mkimage.pl" e.img size=20000 srl=30 lowest=25 version="$(printf 'KF62 7.35 \351t\351')"
  $ "$KV_CLI" /c0 update fw=e.img force; echo "status $?"
  
  Examining compatibility data from firmware image and /c0 ... Done.
  Downloading the firmware from file e.img ... Done. 
  The new image will take effect after reboot.
  
  status 0
  $ "$KV_CLI" /c0 show firmware
  /c0 Firmware Version = KF62 7.35 \xe9t\xe9 (esc)
  
  $ jq -c '.machine.controllers[0] | {management_lock, image_download}' host.json
  {"management_lock":false,"image_download":null}
  $ grep -o '"firmware": "KF62 7.35 [^"]*"' host.json
  "firmware": "KF62 7.35 \udbff\udfe9t\udbff\udfe9"
  $ "$KV_CLI" /c0/u0 set cache=on quiet; echo "status $?"
  Setting Write Cache Policy on /c0/u0 to [on] ... Done.
  
  status 0

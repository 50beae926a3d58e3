The bytes that the enclosure element operations send, as the request
log shows them with "request_log_data". Controller c0 (family 8) has an
SES enclosure e0 behind port 0 with two slots (drive p0 in slot 0, the
single disk u0), a fan at speed 3, a power supply, a temperature sensor
at 25 C, a locked door and an alarm sounding tone 1. Controller c1
(family 6) has a SAF-TE backplane /e0 behind port 1 with two slots
(slot 0 reports status word 3, drive p0 sits in slot 1) and the global
flags 3, 0x22, 0x33.

  $ cp "$FIXTURES/shapes/enclosures.json" host.json && export KV_EMULATED_HOST="$PWD/host.json"

An SES page 2 prints as its 8-byte header and one line per element type
in page-1 order, each the overall element and then the individual ones.

  $ page() {
  >   local p=$1 at=16 g line i; echo "${p:0:16}"
  >   for g in "enclosure 2" "slots 3" "fans 2" "supplies 2" "sensors 2" "doors 2" "alarms 2"; do
  >     set -- $g; line=$(printf '%-9s' $1)
  >     for ((i = 0; i < $2; i++)); do line+=" ${p:at:8}"; at=$((at + 8)); done
  >     echo "$line"
  >   done
  > }
  $ controls() {
  >   jq -r 'select(.scsi == 29) | .cdb[0:10], .sent' requests.jsonl | while read cdb; read p; do
  >     echo "SEND DIAGNOSTIC $cdb"; page "$p" | grep -E "^(02|${1:-.})"
  >   done
  >   rm -f requests.jsonl
  > }

The status page as the enclosure reports it (status code 1 OK in byte 0
of each element; the fan's actual speed 300 × 10 RPM, requested on,
speed code 3; the sensor's 25 + 20; the door's lock bit; the alarm's
tone bit).

  $ "$KV_CLI" /c0/e0 show > /dev/null
  $ page "$(jq -r 'select(.scsi == 28 and .page == 2) | .received' requests.jsonl | tail -1)"; rm requests.jsonl
  0200004000000000
  enclosure 00000000 01000000
  slots     00000000 01000000 05000800
  fans      00000000 01012c23
  supplies  00000000 01000020
  sensors   00000000 01002d00
  doors     00000000 01000001
  alarms    00000000 01000001

The fan speed is a masked cooling control: the page as read, byte 0 = 2,
the fan's element with SELECT set, DISABLE and RST SWAP clear, requested
on and the new speed code in byte 3; the length is the page length + 4.

  $ "$KV_CLI" /c0/e0/fan0 set speed=5
   Setting fan speed on /c0/e0/fan0 to [5]
  
  $ controls
  SEND DIAGNOSTIC 1d10000044
  0200004000000000
  enclosure 00000000 01000000
  slots     00000000 01000000 05000800
  fans      00000000 81012c25
  supplies  00000000 01000020
  sensors   00000000 01002d00
  doors     00000000 01000001
  alarms    00000000 01000001

Identify of a fan, a power supply and a temperature sensor: the support
test sets identify on (SELECT and byte 1 bit 7, the rest of byte 0 as
read) and writes the saved indication back; then the identify itself.

  $ "$KV_CLI" /c0/e0/fan0 set identify=on; controls fans
  Setting Fan Identify on /c0/e0/fan0 to [on] ... Done.
  
  
  SEND DIAGNOSTIC 1d10000044
  0200004000000000
  fans      00000000 8181f425
  SEND DIAGNOSTIC 1d10000044
  0200004000000000
  fans      00000000 8101f425
  SEND DIAGNOSTIC 1d10000044
  0200004000000000
  fans      00000000 8181f425
  $ "$KV_CLI" /c0/e0/pwrs0 set identify=on; controls supplies
  Setting Power Supply Identify on /c0/e0/pwrs0 to [on] ... Done.
  
  
  SEND DIAGNOSTIC 1d10000044
  0200004000000000
  supplies  00000000 81800020
  SEND DIAGNOSTIC 1d10000044
  0200004000000000
  supplies  00000000 81000020
  SEND DIAGNOSTIC 1d10000044
  0200004000000000
  supplies  00000000 81800020
  $ "$KV_CLI" /c0/e0/temp0 set identify=on; controls sensors
  Setting Temp Sensor Identify on /c0/e0/temp0 to [on] ... Done.
  
  
  SEND DIAGNOSTIC 1d10000044
  0200004000000000
  sensors   00000000 81802d00
  SEND DIAGNOSTIC 1d10000044
  0200004000000000
  sensors   00000000 81002d00
  SEND DIAGNOSTIC 1d10000044
  0200004000000000
  sensors   00000000 81802d00

A slot's identify is a device control (SELECT, DISABLE and RST SWAP
clear, byte 2 bit 1), without a support test; a port and a unit reach
the slot of their drive.

  $ "$KV_CLI" /c0/e0/slot1 set identify=on; controls slots
  Setting Slot Identify on /c0/e0/slot1 to [on] ... Done.
  
  
  SEND DIAGNOSTIC 1d10000044
  0200004000000000
  slots     00000000 01000000 85000a00
  $ "$KV_CLI" /c0/p0 set identify=on; controls slots
  Setting port Identify on /c0/p0 to [on] ... Done.
  
  SEND DIAGNOSTIC 1d10000044
  0200004000000000
  slots     00000000 81000200 05000a00
  $ "$KV_CLI" /c0/u0 set identify=off; controls slots
  Setting unit Identify on /c0/u0 to [off] ... Done.
  
  SEND DIAGNOSTIC 1d10000044
  0200004000000000
  slots     00000000 81000000 05000a00

The alarm's controls zero every other element of the page: mute sets
byte 3 bit 6, unmute clears it, a tone is ORed into the tone bits (tone 4
while tone 1 sounds asks for both), off clears them.

  $ "$KV_CLI" /c0/e0/alm0 set alarm=mute; controls
  Setting alarm audibility of /c0/e0/alm0 to [mute] ... Done.
  
  SEND DIAGNOSTIC 1d10000044
  0200004000000000
  enclosure 00000000 00000000
  slots     00000000 00000000 00000000
  fans      00000000 00000000
  supplies  00000000 00000000
  sensors   00000000 00000000
  doors     00000000 00000000
  alarms    00000000 81000041
  $ for words in "alarm=unmute" "alarm=on tone=4" "alarm=off"; do "$KV_CLI" /c0/e0/alm0 set $words; controls alarms; done
  Setting alarm audibility of /c0/e0/alm0 to [unmute] ... Done.
  
  SEND DIAGNOSTIC 1d10000044
  0200004000000000
  alarms    00000000 81000001
  Setting alarm state of /c0/e0/alm0 to [on] with tone=[4] ... Done.
  
  SEND DIAGNOSTIC 1d10000044
  0200004000000000
  alarms    00000000 81000005
  Setting alarm state of /c0/e0/alm0 to [off] ... Done.
  
  SEND DIAGNOSTIC 1d10000044
  0200004000000000
  alarms    00000000 81000000

The door's lock and unlock are not supported by the library: nothing is
sent.

  $ for word in lock unlock; do "$KV_CLI" /c0/e0/edr0 $word; done; jq -s 'map(select(.scsi == 29)) | length' requests.jsonl
  (0x0B:0x0002): Feature not supported
  
  
  (0x0B:0x0002): Feature not supported
  
  
  0
  $ rm requests.jsonl

SAF-TE: the writes that change a slot or the global flags run under the
management lock; between lock and unlock, the buffers read and the
WRITE BUFFER sent (its CDB, the first 8 bytes of its data, and whether
the rest of what the log shows is zero). A slot identify reads the slot
status and writes command 0x12 of 64 bytes: the slot, then bit 2
(identify) with the slot's state bits (status word 3 of slot 0 gives
bits 0 and 1). The alarm's audibility rewrites the global flags read
(command 0x15, 2048 bytes) with bit 0 of the first flag byte.

  $ locked() {
  >   sed -n '/"kind":"lock"/,/"kind":"unlock"/p' requests.jsonl | jq -r 'select(.op == "request") |
  >     if .scsi == 60 then "read buffer \(.buffer)"
  >     elif .scsi == 59 then "WRITE BUFFER \(.cdb[0:20]) \(.sent[0:16]) rest \(if (.sent[16:] | test("^0*$")) then "zero" else "not zero" end)"
  >     else .kind end'
  >   rm -f requests.jsonl
  > }
  $ "$KV_CLI" /e0/slot0 set identify=on; locked
  Setting Slot Identify on /c1/e0/slot0 to [on] ... Done.
  
  
  lock
  read buffer 0
  read buffer 4
  WRITE BUFFER 3b210000000000004000 1200070000000000 rest zero
  unlock
  $ "$KV_CLI" /e0/slot1 set identify=off; locked
  Setting Slot Identify on /c1/e0/slot1 to [off] ... Done.
  
  
  lock
  read buffer 0
  read buffer 4
  WRITE BUFFER 3b210000000000004000 1201000000000000 rest zero
  unlock
  $ "$KV_CLI" /e0/alm0 set alarm=mute; locked
  Setting alarm audibility of /c1/e0/alm0 to [mute] ... Done.
  
  lock
  read buffer 5
  WRITE BUFFER 3b210000000000080000 1502223300000000 rest zero
  unlock
  $ "$KV_CLI" /e0/alm0 set alarm=unmute; locked
  Setting alarm audibility of /c1/e0/alm0 to [unmute] ... Done.
  
  lock
  read buffer 5
  WRITE BUFFER 3b210000000000080000 1503223300000000 rest zero
  unlock

A SAF-TE fan takes no speed from the command line (the fan speed command
0x13 is the library's alone): nothing is written.

  $ "$KV_CLI" /e0/fan0 set speed=5; jq -s 'map(select(.scsi == 59)) | length' requests.jsonl
  Error: (CLI:122) Invalid fan command syntax.
  
  
  0

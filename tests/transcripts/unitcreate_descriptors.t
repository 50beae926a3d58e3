The unit descriptors that a create or a migration sends, byte for byte,
as the request log shows them with "request_log_data". Each case starts
from a fresh host. Newer family: c0 of the creation host (family 8,
SATA drives 0-14, u0 a RAID-5 on drives 0-2 with a 256K stripe, u1 a
single disk on drive 14). Each request prints its packet (bytes 0-11)
and then its data, one 20-byte descriptor a line, as long as packet word
6 says.

  $ export KV_EMULATED_HOST="$PWD/host.json"
  $ sent() {
  >   jq -r "select(.kind == \"$1\" and (.opcode == 20 or .opcode == 15)) | .packet[0:24], .sent" requests.jsonl |
  >   while read packet; read data; do
  >     n=$((16#${packet:14:2}${packet:12:2})); echo "packet $packet"
  >     if [ "$n" -gt 0 ]; then echo "${data:0:2*n}" | fold -w "$2"
  >     else data=${data//0/}; echo "data all zero: $([ -z "$data" ] && echo yes || echo no)"; fi
  >   done
  > }
  $ newer() {
  >   jq '.request_log = "requests.jsonl" | .request_log_data = 2048' "$FIXTURES/unitcreate/host.json" > host.json
  >   rm -f requests.jsonl; "$KV_CLI" "$@" > /dev/null; sent firmware 40
  > }

A flat array: the unit (children, type, stripe code; RAID-1 no stripe),
then one drive entry (type 12, the port in byte 3) per drive. The create
packet is 0x74, 3, the data length at bytes 6-7 and 1 at byte 8.

  $ newer /c0 add type=raid0 disk=3:4 stripe=16
  packet 7403000000003c0001000000
  0200050000000000000000000000000000000000
  000c000300000000000000000000000000000000
  000c000400000000000000000000000000000000
  $ newer /c0 add type=raid1 disk=3:4
  packet 7403000000003c0001000000
  0202000000000000000000000000000000000000
  000c000300000000000000000000000000000000
  000c000400000000000000000000000000000000
  $ newer /c0 add type=raid5 disk=3-6 stripe=64
  packet 740300000000640001000000
  0405070000000000000000000000000000000000
  000c000300000000000000000000000000000000
  000c000400000000000000000000000000000000
  000c000500000000000000000000000000000000
  000c000600000000000000000000000000000000

RAID-6: byte 18 of the unit counts its one extension entry (type 0x30),
which comes before the drives; the default stripe is 256K.

  $ newer /c0 add type=raid6 disk=3-7
  packet 7403000000008c0001000000
  0507090000000000000000000000000000000100
  0030000000000000000000000000000000000000
  000c000300000000000000000000000000000000
  000c000400000000000000000000000000000000
  000c000500000000000000000000000000000000
  000c000600000000000000000000000000000000
  000c000700000000000000000000000000000000

Nested: a RAID-0 unit entry over the groups, each group entry followed by
its drives. RAID-10 has the stripe in the unit and groups of two; RAID-50
has it in each RAID-5 group (six drives: two groups of three; eight:
two of four).

  $ newer /c0 add type=raid10 disk=3-6 stripe=64
  packet 7403000000008c0001000000
  0200070000000000000000000000000000000000
  0202000000000000000000000000000000000000
  000c000300000000000000000000000000000000
  000c000400000000000000000000000000000000
  0202000000000000000000000000000000000000
  000c000500000000000000000000000000000000
  000c000600000000000000000000000000000000
  $ newer /c0 add type=raid50 disk=3-8
  packet 740300000000b40001000000
  0200000000000000000000000000000000000000
  0305090000000000000000000000000000000000
  000c000300000000000000000000000000000000
  000c000400000000000000000000000000000000
  000c000500000000000000000000000000000000
  0305090000000000000000000000000000000000
  000c000600000000000000000000000000000000
  000c000700000000000000000000000000000000
  000c000800000000000000000000000000000000
  $ newer /c0 add type=raid50 disk=3-10 stripe=16
  packet 740300000000dc0001000000
  0200000000000000000000000000000000000000
  0405050000000000000000000000000000000000
  000c000300000000000000000000000000000000
  000c000400000000000000000000000000000000
  000c000500000000000000000000000000000000
  000c000600000000000000000000000000000000
  0405050000000000000000000000000000000000
  000c000700000000000000000000000000000000
  000c000800000000000000000000000000000000
  000c000900000000000000000000000000000000
  000c000a00000000000000000000000000000000

One entry for a single-drive unit: its type and the port.

  $ for t in single spare jbod; do newer /c0 add type=$t disk=3; done
  packet 740300000000140001000000
  000b000300000000000000000000000000000000
  packet 740300000000140001000000
  000d000300000000000000000000000000000000
  packet 740300000000140001000000
  000f000300000000000000000000000000000000

Volumes follow the drives: 0x80, the index, the first sector (u32 at 4
and 8) and the size in sectors (u32 at 12 and 16): 100 GB is 0x0C800000
sectors, 200 GB 0x19000000.

  $ newer /c0 add type=raid5 disk=3-5 vol=100:200
  packet 740300000000780001000000
  0305090000000000000000000000000000000000
  000c000300000000000000000000000000000000
  000c000400000000000000000000000000000000
  000c000500000000000000000000000000000000
  0080000000000000000000000000800c00000000
  008001000000800c000000000000001900000000

A migration sends the new layout as an in-place update (0x6F, the unit in
byte 3, byte 10 = 0) with the source's drives first and its stripe. For
a single disk that gets a mirror, the new drive first becomes a CBOD unit
(one entry of type 12), which the add-mirror update (byte 10 = 8, the
CBOD unit in byte 11) joins to the single disk, with 1980 zero bytes of
data.

  $ newer /c0/u0 migrate type=raid6 disk=3:4
  packet 6f03000000008c0001000000
  0507090000000000000000000000000000000100
  0030000000000000000000000000000000000000
  000c000000000000000000000000000000000000
  000c000100000000000000000000000000000000
  000c000200000000000000000000000000000000
  000c000300000000000000000000000000000000
  000c000400000000000000000000000000000000
  $ newer /c0/u1 migrate type=raid1 disk=13
  packet 740300000000140001000000
  000c000d00000000000000000000000000000000
  packet 6f0300010000000001000802
  data all zero: yes

A mirror split into single disks is the same update with byte 10 = 2 and
1980 zero bytes of data, whose length bytes 6-7 do not carry.

  $ newer /c0 add type=raid1 disk=3:4 > /dev/null
  $ rm requests.jsonl; "$KV_CLI" /c0/u2 migrate type=single > /dev/null; sent firmware 40
  packet 6f0300020000000001000200
  data all zero: yes

Older family: the create packet 0x54 (byte 1 = 2, the descriptor length
at bytes 6-7) carries the whole descriptor, which the host computes, one
12-byte record a line. Eight free drives: p0-p3 and p7 of 488397168
blocks, p4-p6 of 976773168. Of each member 2048 blocks stay unused (u =
488395120, 0x1D1C5170, for the small drives); the unit's size (u32 at 8)
is rounded down to whole stripes of all data drives, each member record
holds its share, and a single-drive unit gets the whole drive.

  $ older() {
  >   jq '.machine.controllers[0].units = [] | .machine.controllers[0].events = [] | .machine.controllers[0].drives += [.machine.controllers[0].drives[0] + {port: 3}, .machine.controllers[0].drives[0] + {port: 7}] | .request_log_data = true' "$FIXTURES/prane/older_only.json" > host.json
  >   rm -f requests.jsonl; "$KV_CLI" "$@" > /dev/null; sent prane 24
  > }

RAID-0 of two with a 64K stripe (code 7): 2u = 976790240 rounded down to
a multiple of 2 << 7 is 976790016 (0x3A38A200), 488395008 a member.
RAID-1: u for the unit and each member.

  $ older /c0 add type=raid0 disk=0:1 stripe=64
  packet 540200000000240000000000
  020007000000000000a2383a
  000c00000000000000511c1d
  000c01010000000000511c1d
  $ older /c0 add type=raid1 disk=0:1
  packet 540200000000240000000000
  020200000000000070511c1d
  000c00000000000070511c1d
  000c01010000000070511c1d

RAID-5 of three large drives: u = 976771120; 2u rounded down to a
multiple of 2 << 7 is 1953542144 (0x7470B000), a member 976771072.

  $ older /c0 add type=raid5 disk=4-6 stripe=64
  packet 540200000000300000000000
  030507000000000000b07074
  000c0400000000000058383a
  000c0501000000000058383a
  000c0602000000000058383a

RAID-10 of four with a 256K stripe (code 9): two mirrors; 2u rounded down
to a multiple of 2 << 9 is 976789504 (0x3A38A000); 0xFF in byte 12 and
bytes 14-23; each mirror a 36-byte record (two members, u for the
mirror, 488394752 for each member).

  $ older /c0 add type=raid10 disk=0-3 stripe=256
  packet 540200000000600000000000
  020609000000000000a0383a
  ff00ffffffffffffffffffff
  020200000000000070511c1d
  000c00000000000000501c1d
  000c01010000000000501c1d
  020200000000000070511c1d
  000c02000000000000501c1d
  000c03010000000000501c1d
  $ older /c0 add type=spare disk=7
  packet 5402000000000c0000000000
  000d07000000000070591c1d
  $ older /c0 add type=jbod disk=4
  packet 5402000000000c0000000000
  000f0400000000003060383a

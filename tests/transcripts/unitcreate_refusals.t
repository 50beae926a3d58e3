Every refusal of the create options and of the checks of each RAID type,
on the family-8 controller c0 of sixteen ports (u0 holds drives 0-2, u1
drive 14, drive 15 is SAS) and the family-6 controller c1 of eight ports
(drives 0-5). A refused creation prints nothing but its error (and the
drive check its list of unusable drives) and leaves the controller as it
was.

  $ cp "$FIXTURES/unitcreate/host.json" host.json && export KV_EMULATED_HOST="$PWD/host.json"
  $ . "$TESTDIR/batch.sh"
  $ try() { kv_queue "$@"; }
  $ tried() { kv_run_queue; }

The stripe size: only the sizes of the table, as a decimal number.

  $ for s in 48 "" x64 2048; do try /c0 add type=raid5 disk=3-5 stripe=$s; done
  > tried
  [/c0 add type=raid5 disk=3-5 stripe=48]
  Error: (CLI:027) Invalid stripe size specified.
  [/c0 add type=raid5 disk=3-5 stripe=]
  Error: (CLI:027) Invalid stripe size specified.
  [/c0 add type=raid5 disk=3-5 stripe=x64]
  Error: (CLI:027) Invalid stripe size specified.
  [/c0 add type=raid5 disk=3-5 stripe=2048]
  Error: (CLI:027) Invalid stripe size specified.

Drive lists: digits, ':' and '-' only, no separator at either end or next
to another, ranges ascending, no drive twice.

  $ for d in "" x ":1" "1:" "1-" "1::2" "1-:2" "1,2" "3:3" "3-3" "4-2" "0-4000000000"; do try /c0 add type=raid5 disk=$d; done
  > tried
  [/c0 add type=raid5 disk=]
  Error: (CLI:144) Invalid drive(s) specified.
  [/c0 add type=raid5 disk=x]
  Error: (CLI:144) Invalid drive(s) specified.
  [/c0 add type=raid5 disk=:1]
  Error: (CLI:144) Invalid drive(s) specified.
  [/c0 add type=raid5 disk=1:]
  Error: (CLI:144) Invalid drive(s) specified.
  [/c0 add type=raid5 disk=1-]
  Error: (CLI:144) Invalid drive(s) specified.
  [/c0 add type=raid5 disk=1::2]
  Error: (CLI:144) Invalid drive(s) specified.
  [/c0 add type=raid5 disk=1-:2]
  Error: (CLI:144) Invalid drive(s) specified.
  [/c0 add type=raid5 disk=1,2]
  Error: (CLI:144) Invalid drive(s) specified.
  [/c0 add type=raid5 disk=3:3]
  Error: (CLI:008) Invalid ID specified.  Found a specified ID already in use.
  [/c0 add type=raid5 disk=3-3]
  Disks specified in a range must be in ascending order.
  Error: (CLI:144) Invalid drive(s) specified.
  [/c0 add type=raid5 disk=4-2]
  Disks specified in a range must be in ascending order.
  Error: (CLI:144) Invalid drive(s) specified.
  [/c0 add type=raid5 disk=0-4000000000]
  Error: (CLI:144) Invalid drive(s) specified.

A range ends at the first non-digit after its "-": 3-5-9 is drives 3 to 5.

  $ try /c0 add type=raid5 disk=3-5-9 noscan
  > tried
  [/c0 add type=raid5 disk=3-5-9 noscan]
  Creating new unit on controller /c0 ... Done. The new unit is /c0/u2.
  Setting AutoVerify=ON for the new unit ... Done.
  Setting default Keepwell policy to [balance] for the new unit ... Done.
  Setting default Command Queuing policy for unit /c0/u2 to [on] ... Done.
  $ "$KV_CLI" /c0 show | sed -n 6p
  u2    RAID-5    OK             -       -       256K    931.523   RiW    ON     

Option words a type does not take: 57 in the new style, 16 in the old.

  $ cp "$FIXTURES/unitcreate/host.json" host.json && rm -r ProgramData
  $ try /c0 add type=raid5 disk=3-5 bogus
  > try /c0 add type=raid1 disk=3:4 stripe=64
  > try /c0 add type=jbod disk=3 ignoreecc
  > try /c0 add type=spare disk=3 nocache
  > try /c0 createunit rraid1 p3:4 k64
  > try /c0 createunit rraid0 p3:4 ignoreecc
  > try /c0 createunit rraid5 p3-5 name=x
  > tried
  [/c0 add type=raid5 disk=3-5 bogus]
  Error: (CLI:057) Invalid argument in add command.
  [/c0 add type=raid1 disk=3:4 stripe=64]
  Error: (CLI:057) Invalid argument in add command.
  [/c0 add type=jbod disk=3 ignoreecc]
  Error: (CLI:057) Invalid argument in add command.
  [/c0 add type=spare disk=3 nocache]
  Error: (CLI:057) Invalid argument in add command.
  [/c0 createunit rraid1 p3:4 k64]
  Error: (CLI:016) Invalid argument in maint command.
  [/c0 createunit rraid0 p3:4 ignoreecc]
  Error: (CLI:016) Invalid argument in maint command.
  [/c0 createunit rraid5 p3-5 name=x]
  Error: (CLI:016) Invalid argument in maint command.

The RAID type: missing, unknown, and the old style without an "r" word; a
help word prints the old-style help and creates nothing.

  $ try /c0 add disk=3-5
  > try /c0 add type=raid60 disk=3-5
  > try /c0 createunit p3-5 k64
  > try /c0 createunit rraid60 p3-5
  > try /c0 createunit rraid5 p3-5 help
  > tried
  [/c0 add disk=3-5]
  Error: (CLI:057) Invalid argument in add command.
  [/c0 add type=raid60 disk=3-5]
  Error: (CLI:026) Invalid RAID type or invalid RAID type for controller specified.
  [/c0 createunit p3-5 k64]
  Error: (CLI:016) Invalid argument in maint command.
  [/c0 createunit rraid60 p3-5]
  Error: (CLI:026) Invalid RAID type or invalid RAID type for controller specified.
  [/c0 createunit rraid5 p3-5 help]
    createunit c<c> r<RaidType> p<p:-p..> [k<stripe>] [noscan] [nocache] [g<3|4|5|6|7|8|9|10|11|12>] [autoverify] [ignoreECC]
          RaidType = { raid0, raid1, raid5, raid10, raid50, single, spare } 

RAID-50 groups 3 to 16, written exactly.

  $ for g in 2 17 04 ""; do try /c0 add type=raid50 disk=3-8 group=$g; done
  > try /c0 createunit rraid50 p3-8 g1
  > tried
  [/c0 add type=raid50 disk=3-8 group=2]
  Error: (CLI:030) Invalid RAID-50 disk group.
  [/c0 add type=raid50 disk=3-8 group=17]
  Error: (CLI:030) Invalid RAID-50 disk group.
  [/c0 add type=raid50 disk=3-8 group=04]
  Error: (CLI:030) Invalid RAID-50 disk group.
  [/c0 add type=raid50 disk=3-8 group=]
  Error: (CLI:030) Invalid RAID-50 disk group.
  [/c0 createunit rraid50 p3-8 g1]
  Error: (CLI:030) Invalid RAID-50 disk group.

Volume sizes in GB: v0= one size, vol= up to four.

  $ for v in v0= v0=0 v0=32769 v0=1x vol=1:2:3:4:5 vol=:1 vol=1: "vol=1;2" vol= vol=1::2 vol=?; do try /c0 add type=raid5 disk=3-5 "$v"; done
  > tried
  [/c0 add type=raid5 disk=3-5 v0=]
  Error: (CLI:145) Invalid input- LUN size must be between 1TB and 32TB.
  [/c0 add type=raid5 disk=3-5 v0=0]
  Error: (CLI:145) Invalid input- LUN size must be between 1TB and 32TB.
  [/c0 add type=raid5 disk=3-5 v0=32769]
  Error: (CLI:145) Invalid input- LUN size must be between 1TB and 32TB.
  [/c0 add type=raid5 disk=3-5 v0=1x]
  Error: (CLI:002) Syntax Error.
  [/c0 add type=raid5 disk=3-5 vol=1:2:3:4:5]
  Error: (CLI:164) Number of specified volumes exceeded [max=4].
  [/c0 add type=raid5 disk=3-5 vol=:1]
  Error: (CLI:002) Syntax Error.
  [/c0 add type=raid5 disk=3-5 vol=1:]
  Error: (CLI:002) Syntax Error.
  [/c0 add type=raid5 disk=3-5 vol=1;2]
  Error: (CLI:002) Syntax Error.
  [/c0 add type=raid5 disk=3-5 vol=]
  Error: (CLI:011) Invalid command.
  [/c0 add type=raid5 disk=3-5 vol=1::2]
  Error: (CLI:145) Invalid input- LUN size must be between 1TB and 32TB.
  [/c0 add type=raid5 disk=3-5 vol=?]
  Error: (CLI:002) Syntax Error.

Rapid RAID recovery: a notice for a type without redundancy, a value word
for the others; the family-6 controller c1 takes it from level 36.

  $ try /c0 add type=raid5 disk=3-5 rrr=bogus
  > try /c0 add type=raid5 disk=3-5 rapidrecovery=some
  > tried
  [/c0 add type=raid5 disk=3-5 rrr=bogus]
  Error: (CLI:011) Invalid command.
  [/c0 add type=raid5 disk=3-5 rapidrecovery=some]
  Error: (CLI:011) Invalid command.

The name: 20 characters at most.

  $ try /c0 add type=raid5 disk=3-5 name=abcdefghijklmnopqrstu
  > tried
  [/c0 add type=raid5 disk=3-5 name=abcdefghijklmnopqrstu]
  Error: (CLI:101) Specified unit name is too long.

Drive counts of each type.

  $ try /c0 add type=raid0 disk=3
  > try /c0 add type=raid1 disk=3-5
  > try /c0 add type=raid10 disk=3-7
  > try /c0 add type=raid5 disk=3:4
  > try /c0 add type=raid6 disk=3-6
  > try /c0 add type=single disk=3:4
  > try /c0 add type=jbod disk=3:4
  > try /c0 add type=spare disk=3:4
  > for d in 3-9 3-13; do try /c0 add type=raid50 disk=$d; done
  > try /c0 add type=raid50 disk=2-13 group=5
  > try /c0 add type=raid50 disk=2-13 group=8
  > tried
  [/c0 add type=raid0 disk=3]
  Error: (CLI:010) Invalid number of ports/drives specified.
  [/c0 add type=raid1 disk=3-5]
  Error: (CLI:010) Invalid number of ports/drives specified.
  [/c0 add type=raid10 disk=3-7]
  Error: (CLI:010) Invalid number of ports/drives specified.
  [/c0 add type=raid5 disk=3:4]
  Error: (CLI:010) Invalid number of ports/drives specified.
  [/c0 add type=raid6 disk=3-6]
  Error: (CLI:010) Invalid number of ports/drives specified.
  [/c0 add type=single disk=3:4]
  Error: (CLI:010) Invalid number of ports/drives specified.
  [/c0 add type=jbod disk=3:4]
  Error: (CLI:010) Invalid number of ports/drives specified.
  [/c0 add type=spare disk=3:4]
  Error: (CLI:010) Invalid number of ports/drives specified.
  [/c0 add type=raid50 disk=3-9]
  Error: (CLI:010) Invalid number of ports/drives specified.
  [/c0 add type=raid50 disk=3-13]
  Error: (CLI:010) Invalid number of ports/drives specified.
  [/c0 add type=raid50 disk=2-13 group=5]
  Error: (CLI:010) Invalid number of ports/drives specified.
  [/c0 add type=raid50 disk=2-13 group=8]
  Error: (CLI:010) Invalid number of ports/drives specified.

Stripe sizes each type allows on a newer-family controller: 16K, 64K and
256K; RAID-6 64K and 256K.

  $ try /c0 add type=raid5 disk=3-5 stripe=128
  > try /c0 add type=raid0 disk=3:4 stripe=8
  > try /c0 add type=raid6 disk=3-7 stripe=16
  > tried
  [/c0 add type=raid5 disk=3-5 stripe=128]
  Error: (CLI:027) Invalid stripe size specified.
  [/c0 add type=raid0 disk=3:4 stripe=8]
  Error: (CLI:027) Invalid stripe size specified.
  [/c0 add type=raid6 disk=3-7 stripe=16]
  Error: (CLI:027) Invalid stripe size specified.

The drives themselves: in another unit, absent, more than the ports, SAS
in a JBOD, SATA and SAS mixed.

  $ try /c0 add type=raid5 disk=2:3:4
  > try /c1 add type=raid5 disk=4-7
  > try /c1 add type=raid5 disk=0-8
  > try /c0 add type=jbod disk=15
  > try /c0 add type=raid5 disk=13:15:3
  > tried
  [/c0 add type=raid5 disk=2:3:4]
  The following drive(s) cannot be used [2].
  Error: (CLI:144) Invalid drive(s) specified.
  [/c1 add type=raid5 disk=4-7]
  The following drive(s) cannot be used [6, 7].
  Error: (CLI:144) Invalid drive(s) specified.
  [/c1 add type=raid5 disk=0-8]
  Error: (CLI:144) Invalid drive(s) specified.
  [/c0 add type=jbod disk=15]
  Error: (CLI:141) JBOD unit creation with SAS drive is not supported.
  [/c0 add type=raid5 disk=13:15:3]
  Error: (CLI:139) A configuration of mixed SATA and SAS drives is not supported
  by the current controller.

Nothing of all this reached the controller.

  $ "$KV_CLI" /c0 show | sed -n 1,6p
  
  Unit  UnitType  Status         %RCmpl  %V/I/M  Stripe  Size(GB)  Cache  AVrfy
  ------------------------------------------------------------------------------
  u0    RAID-5    OK             -       -       256K    931.523   RiW    OFF    
  u1    SINGLE    OK             -       -       -       465.762   RiW    OFF    
  
  $ test -e ProgramData/Orvo/kv_mgmt.log || echo "no audit lines"
  no audit lines

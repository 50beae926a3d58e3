The drive coercion factor of a controller, /cN show|set
drvcoercionfactor|dcf: c0 (family 8) keeps 1 GB, c1 (family 6) nothing.

  $ cp "$FIXTURES/events/host.json" host.json && export KV_EMULATED_HOST="$PWD/host.json"
  $ . "$FIXTURES/ctlattr/faults.sh"

  $ "$KV_CLI" /c0 show dcf
  /c0 Drive Coercion Factor = 1
  
  $ "$KV_CLI" /c1 show drvcoercionfactor
  /c1 Drive Coercion Factor = 0
  

Setting it: 1 to 50, under either word; the controller keeps the new value.

  $ "$KV_CLI" /c0 set dcf=5
  Setting Drive Coercion Factor on /c0 to [5] ... Done.
  
  $ "$KV_CLI" /c0 show dcf
  /c0 Drive Coercion Factor = 5
  
  $ "$KV_CLI" /c1 set drvcoercionfactor=50
  Setting Drive Coercion Factor on /c1 to [50] ... Done.
  
  $ "$KV_CLI" /c1 show dcf
  /c1 Drive Coercion Factor = 50
  
  $ "$KV_CLI" /c0 set dcf=007 | head -1
  Setting Drive Coercion Factor on /c0 to [7] ... Done.
  $ "$KV_CLI" /c0 set dcf=00000000000012 | head -1
  Setting Drive Coercion Factor on /c0 to [12] ... Done.
  $ "$KV_CLI" /c0 set dcf=007 | head -1
  Setting Drive Coercion Factor on /c0 to [7] ... Done.

Refusals come before anything is printed and leave the factor alone: 151
for a value that is not 1 to 50 in decimal digits (also one too large for
32 bits, which must not wrap into the range), 31 for a word after the
setting, 56 for a word after the view.

  $ for word in "dcf=0" "dcf=51" "dcf=5a" "dcf=-1" "dcf=" "dcf" "dcf=4294967301" "dcf=5 extra"; do
  >   echo "[$word]"; "$KV_CLI" /c0 set $word 2>&1 | grep -v '^$'
  > done
  [dcf=0]
  Error: (CLI:151) Invalid input for drive coercion factor.
         Valid range is [1..50], default: 1 if < 45GB, 5 if >= 45GB.
  [dcf=51]
  Error: (CLI:151) Invalid input for drive coercion factor.
         Valid range is [1..50], default: 1 if < 45GB, 5 if >= 45GB.
  [dcf=5a]
  Error: (CLI:151) Invalid input for drive coercion factor.
         Valid range is [1..50], default: 1 if < 45GB, 5 if >= 45GB.
  [dcf=-1]
  Error: (CLI:151) Invalid input for drive coercion factor.
         Valid range is [1..50], default: 1 if < 45GB, 5 if >= 45GB.
  [dcf=]
  Error: (CLI:151) Invalid input for drive coercion factor.
         Valid range is [1..50], default: 1 if < 45GB, 5 if >= 45GB.
  [dcf]
  Error: (CLI:151) Invalid input for drive coercion factor.
         Valid range is [1..50], default: 1 if < 45GB, 5 if >= 45GB.
  [dcf=4294967301]
  Error: (CLI:151) Invalid input for drive coercion factor.
         Valid range is [1..50], default: 1 if < 45GB, 5 if >= 45GB.
  [dcf=5 extra]
  Error: (CLI:031) Invalid controller command.
  $ "$KV_CLI" /c0 show dcf extra; echo "status $?"
  Error: (CLI:056) Invalid argument in show command.
  
  
  status 1
  $ "$KV_CLI" /c0 show dcf
  /c0 Drive Coercion Factor = 7
  

A library failure leaves the started line open and ends with the
controller's message (ControllerSettingsTable 0x403, parameter 21).

  $ fault 1027 21
  $ "$KV_CLI" /c0 set dcf=9; echo "status $?"
  Setting Drive Coercion Factor on /c0 to [(0x03:0x0204): Drive timeout
  
  
  status 1
  $ fault 1027 21
  $ "$KV_CLI" /c0 show dcf; echo "status $?"
  /c0 Drive Coercion Factor = (0x03:0x0204): Drive timeout
  
  
  status 1
  $ "$KV_CLI" /c0 show dcf
  /c0 Drive Coercion Factor = 7
  

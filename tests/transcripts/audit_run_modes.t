A command file must be a file that can be read: a folder and an empty
file name end the run like a missing file, instead of passing for a file
without lines; an empty file is read and runs nothing.

  $ cp "$FIXTURES/hosts/plain.json" host.json && export KV_EMULATED_HOST="$PWD/host.json"
  $ mkdir folder && : > empty.txt
  $ for name in folder "" missing.txt; do "$KV_CLI" -f "$name"; echo "status $?"; done
  Failed to open input command file
  
  
  status 1
  Failed to open input command file
  
  
  status 1
  Failed to open input command file
  
  
  status 1
  $ "$KV_CLI" -f empty.txt; echo "status $?"
  //kvhost> 
  status 0

At the prompt the general help is the one of the command line plus the
focus command, and a failed help command is reported before the next
prompt.

  $ cp "$FIXTURES/hosts/plain.json" host.json && export KV_EMULATED_HOST="$PWD/host.json"

  $ "$KV_CLI" help > oneshot.txt
  $ printf 'help\n' | "$KV_CLI" > prompt.txt
  $ diff --old-line-format='-%L' --new-line-format='+%L' --unchanged-line-format='' oneshot.txt prompt.txt
  -
  +//kvhost> 
  +focus     Changes from one object to another.  For Interactive Mode Only!
  +//kvhost>  (no-eol)
  [1]

  $ printf 'help /cx/ux pause\nhelp /cx/ux bogus\n?  /CX/BBU   installbat\n' | "$KV_CLI"
  //kvhost>   /cx/ux pause rebuild                                 (Prane/Qualt only)
  
  //kvhost> Error: (CLI:013) Invalid argument in help command.
  
  //kvhost>   /cx/bbu installBat                                       (Rhosk series)
  
  //kvhost>  (no-eol)

Lines typed at the prompt: empty lines and comments do nothing, a failed
command prints its message and one empty line on standard error and the
prompt comes again, and the quit words end the run with status 0.

  $ cp "$FIXTURES/hosts/plain.json" host.json && export KV_EMULATED_HOST="$PWD/host.json"

  $ printf '\n \t \n# a comment\n#comment\nbogus\nSHOW   VER\n' | "$KV_CLI"; echo "status $?"
  //kvhost> //kvhost> //kvhost> //kvhost> Error: (CLI:041) Invalid shell command.
  
  //kvhost> Error: (CLI:041) Invalid shell command.
  
  //kvhost> CLI Version = 2.00.09.012
  API Version = 2.06.00.012
  
  //kvhost> status 0

The failed command's message goes to standard error only.

  $ printf '/c0 show\n' | "$KV_CLI" 2>/dev/null; echo "status $?"
  //kvhost> //kvhost> status 0

Each quit word ends the loop without running a command; so does a line
that begins with one; the end of input ends it after a last line without a
line end has run.

  $ for word in quit QUIT exit q 'quit now'; do printf '%s\nshow ver\n' "$word" | "$KV_CLI"; echo; done
  //kvhost> 
  //kvhost> 
  //kvhost> 
  //kvhost> 
  //kvhost> 
  $ printf 'show ver' | "$KV_CLI"
  //kvhost> CLI Version = 2.00.09.012
  API Version = 2.06.00.012
  

A line of 300 characters is read whole and the loop goes on after it.

  $ line="show$(printf '%292s' '')ver"; echo "${#line}"
  299
  $ printf '%s\nshow ver\n' "$line" | "$KV_CLI"
  //kvhost> CLI Version = 2.00.09.012
  API Version = 2.06.00.012
  
  //kvhost> CLI Version = 2.00.09.012
  API Version = 2.06.00.012
  
  //kvhost>  (no-eol)

The focus moves with "cf" and shows in the prompt; a failed move leaves it.

  $ printf 'cf //kvhost.lab.example\ncf /c0\ncf ..\ncf /\nfocus //KVHOST\n' | "$KV_CLI"
  //kvhost> 
  //kvhost.lab.example> Error: (CLI:003) Specified controller does not exist.
  
  //kvhost.lab.example> 
  //kvhost.lab.example> 
  //kvhost.lab.example> 
  //kvhost>  (no-eol)

The store of the emulated host file: only a missing file is made from the
default host; a path that names no regular file is one line and status 1,
with nothing opened that could wait; a link is followed to its file; a
write that fails ends the setter's progress line with "Failed." and says
why in one line.

  $ export KV_EMULATED_HOST="$PWD/host.json"
  $ "$KV_CLI" help > /dev/null && cp host.json default.json
  $ run() {
  >   timeout 120 "$KV_CLI" "$@" > out.txt 2> err.txt; echo "status $?"
  >   sed 's|^.*[/\\]\(host\.json[^:]*\):|\1:|' err.txt; cat out.txt
  > }

A folder or a FIFO at the host file's path, or at its lock file's, is no
host file: one line names it, and the run ends at once (a FIFO that was
opened for reading would wait for a writer, with the lock held). The path
stays as it was. (A run that waited would be stopped after two minutes.)

  $ for kind in folder fifo; do
  >   for at in host.json host.json.lock; do
  >     rm -rf "$at" && case $kind in folder) mkdir "$at";; fifo) mkfifo "$at";; esac
  >     echo "$kind at $at:"; run /c0 show
  >     test -d "$at" -o -p "$at" && echo "still a $kind"
  >     rm -rf "$at"; cp default.json host.json
  >   done
  > done
  folder at host.json:
  status 1
  host.json: cannot read the emulated host file: not a regular file
  still a folder
  folder at host.json.lock:
  status 1
  host.json.lock: cannot lock the emulated host file: (Is a directory|Access (is )?denied. \(Windows error 5\)) (re)
  still a folder
  fifo at host.json:
  status 1
  host.json: cannot read the emulated host file: not a regular file
  still a fifo
  fifo at host.json.lock:
  status 1
  host.json.lock: cannot lock the emulated host file: not a regular file
  still a fifo

A host path that is a symbolic link: the change reaches the file it names
and the link stays a link; runs through the link and through the file take
the same lock file, beside the file.

  $ mkdir machines links && mv host.json machines/ && rm -f host.json.lock
  $ ln -s ../machines/host.json links/host.json
  $ KV_EMULATED_HOST="$PWD/links/host.json" "$KV_CLI" /c0 set autorebuild=off
  Setting Auto-Rebuild Policy on /c0 to off ... Done.
  
  $ test -L links/host.json && echo "still a link"
  still a link
  $ ls links machines
  links:
  host.json
  
  machines:
  ProgramData
  host.json
  host.json.lock
  $ KV_EMULATED_HOST="$PWD/machines/host.json" "$KV_CLI" /c0 show autorebuild
  /c0 Auto-Rebuild Policy = off
  

A link that names no file yet makes the file it names (the Windows calls
see no such link: the Linux build only).

  $ case "$KV_CLI" in *-wine) echo "not-yet made";; *)
  >   ln -s ../not-yet/host.json links/new.json && mkdir not-yet
  >   KV_EMULATED_HOST="$PWD/links/new.json" "$KV_CLI" help > /dev/null
  >   test -L links/new.json && test -f not-yet/host.json && echo "not-yet made";; esac
  not-yet made

A new version is written to "<host file>.tmp" and renamed over the file.
One that cannot be written (a folder stands at that name) fails the setter
("Failed." ends its line), says why in one line and leaves the file as it
was.

  $ mv machines/host.json host.json && rm -rf machines links not-yet
  $ cp host.json before.json && mkdir host.json.tmp
  $ run /c0 set autorebuild=off
  status 1
  host.json.tmp: cannot write the emulated host file: (Is a directory|Access (is )?denied. \(Windows error 5\)) (re)
  Setting Auto-Rebuild Policy on /c0 to off ... Failed.
  $ cmp -s host.json before.json && echo untouched
  untouched

A temporary file that a killed writer left behind is replaced by the next
write.

  $ rmdir host.json.tmp && echo '{"format": 1, "half a' > host.json.tmp
  $ "$KV_CLI" /c0 set autorebuild=off
  Setting Auto-Rebuild Policy on /c0 to off ... Done.
  
  $ ls host.json*
  host.json
  host.json.lock
  $ "$KV_CLI" /c0 show autorebuild
  /c0 Auto-Rebuild Policy = off
  

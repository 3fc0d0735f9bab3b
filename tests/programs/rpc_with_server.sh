#!/usr/bin/env bash
# Runs an RPC sample program against a real zeltasyncd on loopback: a fresh
# SQLite database holding the user joe on device dev1 (administrator id 7),
# the table of rpc_clients.str with the rows of rpc_clients.csv, the
# functions "hello" (/bin/echo hello) and "slow" (/bin/sleep, time-out 1 s)
# and one administrator operation. The program's "nPort := 8025" gets the
# server's port. Afterwards, when
# <name>.after exists, the server's CLIENTS table must export as it says,
# and when <name>.images exists, the images kept for dev1 must be those it
# lists (name and size, one a line), each the same bytes as the device's.
#
#   rpc_with_server.sh <zeltasyncd> <ezelta> <dir>/<name>.prg <workdir>
set -u
if [ $# -ne 4 ]; then
  echo "usage: $0 <zeltasyncd> <ezelta> <program.prg> <workdir>" >&2
  exit 2
fi
server=$(realpath "$1")
ezelta=$(realpath "$2")
prg=$(realpath "$3")
dir=$(dirname "$prg")
name=$(basename "$prg" .prg)
work=$(realpath -m "$4")/$name-server
rm -rf "$work" && mkdir -p "$work/src" || exit 1
db="$work/sync.db"
admin() { "$server" admin --db "$db" "$@" >> "$work/admin.log" 2>&1 || { echo "FAIL $name: admin $*"; cat "$work/admin.log"; exit 1; }; }
admin add-user joe dev1
admin load-table "$dir/rpc_clients.str" "$dir/rpc_clients.csv"
admin add-function hello 5 /bin/echo hello
admin add-function slow 1 /bin/sleep 5
admin add-operation 7 uptime "Seconds the server runs" echo "server is up"

"$server" --db "$db" --host 127.0.0.1 --port 0 --images "$work/images" --log "$work/sessions.log" > "$work/server.out" &
pid=$!
trap 'kill $pid 2>/dev/null; wait $pid 2>/dev/null' EXIT
for _ in $(seq 100); do
  grep -q "listening on" "$work/server.out" 2>/dev/null && break
  sleep 0.05
done
port=$(sed -n 's/.*listening on .*:\([0-9]*\)$/\1/p' "$work/server.out")
[ -n "$port" ] || { echo "FAIL $name: zeltasyncd did not start"; exit 1; }

# Built and run here rather than by run_program.sh: the application
# directory starts with IMG/photo.bin (20,000 bytes) and IMG/empty.bin.
mkdir -p "$work/build" "$work/app/IMG" || exit 1
head -c 20000 /dev/urandom > "$work/app/IMG/photo.bin"
: > "$work/app/IMG/empty.bin"
sed "s/nPort := 8025/nPort := $port/" "$prg" > "$work/build/$name.prg"
status=0
(cd "$work/build" && "$ezelta" "$name.prg" -gFULL > compile.log 2>&1 < /dev/null) ||
  { cat "$work/build/compile.log"; echo "FAIL $name: ezelta could not build it"; exit 1; }
(cd "$work/build" && ZELTA_APPDIR="$work/app" ZELTA_UI=headless timeout 120 "./$name.exe" > stdout.txt 2> stderr.txt < /dev/null) ||
  { echo "--- standard error:"; cat "$work/build/stderr.txt"; echo "FAIL $name: exit status $?"; status=1; }
[ -s "$work/build/stdout.txt" ] && [ "$(tail -c 1 "$work/build/stdout.txt" | od -An -c | tr -d ' ')" != '\n' ] &&
  echo >> "$work/build/stdout.txt"
diff -u "$dir/$name.out" "$work/build/stdout.txt" || { echo "FAIL $name: standard output differs"; status=1; }
if [ $status -eq 0 ] && [ -f "$dir/$name.after" ]; then
  "$server" admin --db "$db" export-table CLIENTS > "$work/after.csv" 2>&1
  diff -u "$dir/$name.after" "$work/after.csv" || { echo "FAIL $name: the server's CLIENTS differ"; status=1; }
fi
if [ $status -eq 0 ] && [ -f "$dir/$name.images" ]; then
  (cd "$work/images/dev1" 2>/dev/null && for f in *; do echo "$f $(stat -c %s "$f")"; done) > "$work/images.txt"
  diff -u "$dir/$name.images" "$work/images.txt" || { echo "FAIL $name: the images kept differ"; status=1; }
  while read -r image _; do
    cmp -s "$work/images/dev1/$image" "$work/app/IMG/$image" || { echo "FAIL $name: $image arrived changed"; status=1; }
  done < "$dir/$name.images"
fi
[ $status -eq 0 ] || { echo "--- session log:"; cat "$work/sessions.log"; }
exit $status

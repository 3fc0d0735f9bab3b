#!/usr/bin/env bash
# Runs an RPC sample program against a real zeltasyncd on loopback: a fresh
# SQLite database holding the user joe on device dev1 (administrator id 7),
# the table of rpc_clients.str with the rows of rpc_clients.csv, the
# functions "hello" (/bin/echo hello) and "slow" (/bin/sleep, time-out 1 s)
# and one administrator operation. The program's "nPort := 8025" gets the
# server's port; run_program.sh builds and runs it. Afterwards, when
# <name>.after exists, the server's CLIENTS table must export as it says,
# and when <name>.images exists, the images kept for dev1 must be those it
# lists (name and size, one a line).
#
#   rpc_with_server.sh <zeltasyncd> <ezelta> <dir>/<name>.prg <workdir>
set -u
if [ $# -ne 4 ]; then
  echo "usage: $0 <zeltasyncd> <ezelta> <program.prg> <workdir>" >&2
  exit 2
fi
server=$(realpath "$1")
ezelta=$2
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

sed "s/nPort := 8025/nPort := $port/" "$prg" > "$work/src/$name.prg"
for f in "$dir/$name".{out,status,err,script,sources}; do
  [ -f "$f" ] && cp "$f" "$work/src/"
done
bash "$dir/run_program.sh" "$ezelta" "$work/src/$name.prg" "$work"
status=$?
if [ $status -eq 0 ] && [ -f "$dir/$name.after" ]; then
  "$server" admin --db "$db" export-table CLIENTS > "$work/after.csv" 2>&1
  diff -u "$dir/$name.after" "$work/after.csv" || { echo "FAIL $name: the server's CLIENTS differ"; status=1; }
fi
if [ $status -eq 0 ] && [ -f "$dir/$name.images" ]; then
  (cd "$work/images/dev1" 2>/dev/null && for f in *; do echo "$f $(stat -c %s "$f")"; done) > "$work/images.txt"
  diff -u "$dir/$name.images" "$work/images.txt" || { echo "FAIL $name: the images kept differ"; status=1; }
fi
[ $status -eq 0 ] || { echo "--- session log:"; cat "$work/sessions.log"; }
exit $status

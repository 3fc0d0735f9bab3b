#!/usr/bin/env bash
# Runs a sample program against a real zeltasyncd: starts the server on a
# free loopback port with a fresh database holding the user joe on device
# dev1, puts the port in for "nPort := 8025" in a copy of the program, runs it with
# run_program.sh, and stops the server.
#
#   run_with_server.sh <zeltasyncd> <ezelta> <dir>/<name>.prg <workdir>
set -u
if [ $# -ne 4 ]; then
  echo "usage: $0 <zeltasyncd> <ezelta> <program.prg> <workdir>" >&2
  exit 2
fi
server=$(realpath "$1")
ezelta=$2
prg=$(realpath "$3")
name=$(basename "$prg" .prg)
work=$(realpath -m "$4")/$name-server
rm -rf "$work" && mkdir -p "$work/src" || exit 1

"$server" admin --db "$work/sync.db" add-user joe dev1 > /dev/null || exit 1
"$server" --db "$work/sync.db" --host 127.0.0.1 --port 0 --log "$work/sessions.log" > "$work/server.out" &
pid=$!
trap 'kill $pid 2>/dev/null; wait $pid 2>/dev/null' EXIT
for _ in $(seq 100); do
  grep -q "listening on" "$work/server.out" 2>/dev/null && break
  sleep 0.05
done
port=$(sed -n 's/.*listening on .*:\([0-9]*\)$/\1/p' "$work/server.out")
[ -n "$port" ] || { echo "FAIL $name: zeltasyncd did not start"; exit 1; }

sed "s/nPort := 8025/nPort := $port/" "$prg" > "$work/src/$name.prg"
for f in "$(dirname "$prg")/$name".{out,status,err,script,sources}; do
  [ -f "$f" ] && cp "$f" "$work/src/"
done
bash "$(dirname "$0")/run_program.sh" "$ezelta" "$work/src/$name.prg" "$work"
status=$?
[ $status -eq 0 ] || { echo "--- session log:"; cat "$work/sessions.log"; }
exit $status

#!/usr/bin/env bash
# A device program against a real zeltasyncd on loopback (SQLite): the first
# session creates the table from the catalog and fills it; records changed
# and added on the device reach the server, a second session leaves none
# dirty; rows the server then changes come down into the device's table.
#
#   sync_session_test.sh <ezelta> <zeltasyncd> <source dir> <work dir>
set -u
ezelta=$(realpath "$1")
server=$(realpath "$2")
src=$(realpath "$3")
work=$(realpath -m "$4")
pid=""

fail() {
  echo "FAIL: $*"
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  exit 1
}
rm -rf "$work" && mkdir -p "$work/app" || fail "cannot create $work"
cd "$work" || fail "cannot enter $work"
db="$work/sync.db"
admin() { "$server" admin --db "$db" "$@" >> admin.log 2>&1 || fail "admin $*"; }
admin add-user joe dev1
admin load-table "$src/clients.str" "$src/clients.csv"

"$server" --db "$db" --host 127.0.0.1 --port 0 --log "$work/session.log" > server.out 2>&1 &
pid=$!
port=""
for _ in $(seq 1 100); do
  port=$(sed -n 's/.*listening on 127.0.0.1:\([0-9]*\).*/\1/p' server.out)
  [ -n "$port" ] && break
  sleep 0.1
done
[ -n "$port" ] || fail "the server did not start: $(cat server.out)"

build() {
  sed "s/@PORT@/$port/g" "$src/$1.prg" > "$1.prg"
  "$ezelta" "$1.prg" -gFULL > "$1.build" 2>&1 || { cat "$1.build"; fail "ezelta could not build $1.prg"; }
}
run() {
  ZELTA_APPDIR="$work/app" ZELTA_UI=headless "./$1.exe" > "$1.txt" 2>&1 || { cat "$1.txt"; fail "$1 ended with status $?"; }
}
expect() {
  grep -qF -- "$2" "$1" || { echo "--- $1:"; cat "$1"; fail "$1 lacks: $2"; }
}
build first
build second

run first
expect first.txt "sync1 0"
expect first.txt "row A1 Ana 10.5 20240105 .T."
expect first.txt "row B2 Bruno -3.25 00000000 .F."
expect first.txt "row C3 Carla 0 20231231 .T."
expect first.txt "dirty before 2"
expect first.txt "sync2 0"
expect first.txt "dirty after 0"
ls app | grep -qi 'thst' && fail "an upload file was left behind: $(ls app)"

admin export-table CLIENTS "$work/after-upload.csv"
expect after-upload.csv "A1,Ana changed on device,10.50,20240105,T"
expect after-upload.csv "D9,New on device,7.00,20250103,F"
expect after-upload.csv "B2,Bruno,-3.25,,F"

# The server changes a row and adds one; the device receives only those.
admin load-table "$src/clients.str" "$src/clients2.csv"
run second
expect second.txt "sync3 0"
expect second.txt "row B2 Bruno on server 99 00000000 .T. .F."
expect second.txt "row E5 Eva from server 1 20250102 .T. .F."
expect second.txt "row A1 Ana changed on device 10.5 20240105 .T. .F."
expect second.txt "row D9 New on device 7 20250103 .F. .F."
[ "$(grep -c '^row' second.txt)" = 5 ] || fail "the device holds other rows: $(cat second.txt)"

# A row deleted on the server leaves the device too; then a total download
# queued by the administrator brings the same rows in full.
admin load-table "$src/clients.str" "$src/clients3.csv"
run second
expect second.txt "sync3 0"
grep -q '^row C3' second.txt && fail "the row deleted on the server is still on the device: $(cat second.txt)"
[ "$(grep -c '^row' second.txt)" = 4 ] || fail "the device holds other rows: $(cat second.txt)"
admin queue download CLIENTS
run second
expect second.txt "row B2 Bruno on server 99 00000000 .T. .F."
[ "$(grep -c '^row' second.txt)" = 4 ] || fail "the total download left other rows: $(cat second.txt)"
admin status
expect admin.log "dev1"

# The same from the sync window: the bars reach their ends.
build window
sed "s/@PORT@/$port/g" "$src/window.script" > window.script
ZELTA_APPDIR="$work/app" ZELTA_UI=headless ZELTA_UI_SCRIPT="$work/window.script" ./window.exe > window.txt 2>&1 ||
  { cat window.txt; fail "window ended with status $?"; }
expect window.txt 'label "Sincronismo finalizado"'
[ "$(grep -c 'progress 100/100' window.txt)" = 2 ] || { cat window.txt; fail "the bars did not reach their ends"; }
expect window.txt "status 0"

kill "$pid"
wait "$pid" 2>/dev/null
echo "ok: sync sessions both ways"

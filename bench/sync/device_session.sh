#!/usr/bin/env bash
# A device program against zeltasyncd on loopback: the first session's total
# download of the dbf benchmark's table (RECORDS records, default 100,000),
# then an upload of UPLOADS changed records (default 10,000), each timed as
# the whole program run; the edit that dirties the records is timed apart.
# For the download, the whole session's processor time (the device program's
# user + system, and the server's over the same span, from /proc) is set
# against zlib inflating the same packets alone (the packets the server kept
# in its database, inflated by python3's zlib in one process; best of 20).
#
#   bench/sync/device_session.sh [build-dir]
set -eu
build=$(realpath "${1:-build}")
records=${RECORDS:-100000}
uploads=${UPLOADS:-10000}
work=$(mktemp -d "${TMPDIR:-/tmp}/device-session-XXXXXX")
trap 'kill $pid 2>/dev/null; rm -rf "$work"' EXIT
cd "$work"
server="$build/dist/bin/zeltasyncd"
cat > bench.str <<'STR'
table BENCHTBL Bench
upload yes
field ID N 10
field NAME C 20
field BORN D
field ACTIVE L
field AMOUNT N 12 2
index BENCH_ID ID
STR
awk -v n="$records" 'BEGIN { print "ID,NAME,BORN,ACTIVE,AMOUNT";
  for (i = 1; i <= n; i++) printf "%d,K%08d,%d%02d%02d,%s,%.2f\n", i, (i * 7919) % n,
    1960 + int((i % 10000) / 365), 1 + int((i % 365) / 31) % 12, 1 + i % 28, (i % 3 == 0) ? "T" : "F", (i % 1000) / 4 }' > bench.csv
"$server" admin --db sync.db add-user joe dev1 > /dev/null
"$server" admin --db sync.db load-table bench.str bench.csv > /dev/null
"$server" --db sync.db --host 127.0.0.1 --port 0 --log "$work/session.log" > server.out 2>&1 &
pid=$!
for _ in $(seq 1 100); do
  port=$(sed -n 's/.*listening on 127.0.0.1:\([0-9]*\).*/\1/p' server.out)
  [ -n "$port" ] && break
  sleep 0.1
done
cat > sync.prg <<PRG
FUNCTION Main()
   ? "status", DoSync( "", "127.0.0.1", $port, 60, "joe", "dev1" )
RETURN NIL
PRG
cat > edit.prg <<PRG
FUNCTION Main()
   LOCAL i
   dbUseArea( .T., NIL, "BENCHTBL", "B", .F., .F. )
   ? "records", RecCount()
   FOR i := 1 TO $uploads
      dbGoto( i )
      B->AMOUNT := B->AMOUNT + 1
   NEXT
   dbCommit()
   dbCloseAll()
RETURN NIL
PRG
for p in sync edit; do "$build/dist/ezelta" $p.prg -gFULL > $p.build 2>&1; done
mkdir app
# Wall time includes the goodbye's wait of 5 seconds that every session
# makes before it closes; processor time (user + system) does not.
timed() {
  local TIMEFORMAT="%R s wall, %U s user, %S s system"
  local took
  took=$( { time ZELTA_APPDIR="$work/app" "./$1.exe" > "$1.txt"; } 2>&1 )
  last="$2: $took ($(tr '\n' ' ' < "$1.txt"))"
  echo "$last"
}
# The server's user + system ticks so far.
ticks() { awk '{ print $14 + $15 }' "/proc/$pid/stat"; }
before=$(ticks)
timed sync "total download of $records records"
serverCpu=$(awk -v t=$(( $(ticks) - before )) -v hz="$(getconf CLK_TCK)" 'BEGIN { printf "%.3f", t / hz }')
deviceCpu=$(sed -E 's/.* ([0-9.]+) s user, ([0-9.]+) s system.*/\1 \2/' <<< "$last" | awk '{ print $1 + $2 }')
inflate=$(python3 - sync.db <<'PY' 2>/dev/null || true
import sqlite3, sys, time, zlib
rows = sqlite3.connect(sys.argv[1]).execute(
    "SELECT frames FROM zs_downloads WHERE table_name = 'BENCHTBL' AND byte_order = 'B' ORDER BY part").fetchall()
data = b"".join(bytes.fromhex(r[0]) for r in rows)
packets, at = [], 0
while at < len(data):
    n = int.from_bytes(data[at:at + 2], "big")
    body = data[at + 2:at + 2 + n]
    if len(body) > 10 and body[2] == 12:
        packets.append(body[10:])
    at += 2 + n
best = None
for _ in range(20):
    start = time.process_time()
    for p in packets:
        zlib.decompress(p)
    took = time.process_time() - start
    best = took if best is None else min(best, took)
print("%.4f" % best)
PY
)
if [ -n "$inflate" ]; then
  echo "zlib alone inflating the same packets: $inflate s; device / inflate $(awk -v d="$deviceCpu" -v i="$inflate" 'BEGIN { printf "%.2f", d / i }')," \
    "server $serverCpu s, (device + server) / inflate $(awk -v d="$deviceCpu" -v s="$serverCpu" -v i="$inflate" 'BEGIN { printf "%.2f", (d + s) / i }')"
else
  echo "the server's processor time in the download: $serverCpu s (it keeps no packets to inflate alone)"
fi
timed edit "edit of $uploads records (no session)"
timed sync "upload of $uploads records"
"$server" admin --db sync.db export-table BENCHTBL check.csv > /dev/null
echo "rows on the server changed: $(diff <(sort bench.csv) <(sort check.csv) | grep -c '^>')"
sed "s/^/server: /" session.log

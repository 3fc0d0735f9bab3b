#!/usr/bin/env bash
# Benchmarks of the data layer, run by hand (never as timed tests):
#
#   bench/data/run_data_bench.sh [build-dir]
#
# - the shared dbf and dbf_index programs (checksums against expected.txt),
#   and dbf's appends and scan alone (dbf_scan: its index and seeks cut out);
# - growth: dbf_scan and dbf_index at each of BENCH_SIZES records;
# - 1M seeks on a 1M-record table (seek_1m);
# - the same appends and scan done by SQLite in process (sqlite_ref.cpp);
# - loop_arith of the same sitting, so the peer's figures, taken on another
#   day, can be scaled: scaled = ours * (loop_arith in the peer table's sitting
#   / loop_arith now). Wall time and processor time (user + system) are both
#   scaled; on a busy machine the processor time is the steadier of the two.
#   loop_arith must come from a build whose loop_arith has not changed since
#   the peer table's sitting: SCALE_BUILD names that build (the commit of the
#   table's "ours" column). Without it this build's own loop_arith is used,
#   which understates our lead once loop_arith itself has become faster.
#
# Environment: BENCH_DATA (the shared benchmark folder, default
# ../shared/bench beside the repository), BENCH_RUNS (default 5),
# BENCH_SIZES (default "100000 200000 1000000"), BENCH_WORK (scratch folder),
# SCALE_BUILD (the build whose loop_arith scales the peer's figures).
set -u

repo=$(cd "$(dirname "$0")/../.." && pwd)
build=$(realpath -m "${1:-$repo/build}")
ezelta=$build/dist/ezelta
data=$(realpath -m "${BENCH_DATA:-$repo/../shared/bench}")
work=$(realpath -m "${BENCH_WORK:-$build/bench-data}")
runs=${BENCH_RUNS:-5}
sizes=${BENCH_SIZES:-"100000 200000 1000000"}
# loop_arith and the peer's figures of the side-by-side table in the shared README.
ours_loop_then=0.857

die() { echo "run_data_bench: $*" >&2; exit 2; }
[ -x "$ezelta" ] || die "no compiler at $ezelta (build first)"
[ -d "$data/programs" ] || die "no benchmark programs in $data/programs"
mkdir -p "$work" || die "cannot create $work"

median() {
  printf '%s\n' "$@" | grep -E '^[0-9.]+$' | sort -g | awk '{ v[NR] = $1 }
    END { if (NR == 0) { print "-"; exit }
          if (NR % 2) printf "%.3f", v[(NR + 1) / 2]; else printf "%.3f", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
peer() {  # peer <program>: the peer's seconds and peak of the side-by-side table
  awk -F'|' -v p="$1" '{ n = $2; gsub(/ /, "", n) } n == p && $4 ~ /[0-9]/ { gsub(/ /, "", $4); gsub(/ /, "", $7); print $4, $7; exit }' \
    "$data/README.md"
}

# variant <name> <source.prg> <records> [cut]: a copy of a program with its
# record count set and, with cut, the index and the seeks taken out.
variant() {
  local name=$1 source=$2 n=$3 cut=${4:-}
  mkdir -p "$work/$name"
  python3 - "$source" "$work/$name/$name.prg" "$n" "$cut" <<'PY'
import re, sys
src, dst, n, cut = sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4]
s = open(src).read()
s = re.sub(r"n := 100000", "n := " + n, s, count=1)
if cut:
    a = s.index('   dbCreateIndex( "benchidx", "NAME" )')
    b = s.index('   dbGoTop()')
    s = s[:a] + s[b:]
open(dst, "w").write(s)
PY
}

# seek_1m: 1M appends into an indexed table, then 1M seeks of existing keys;
# seek_1m_build: the appends alone. The seeks take the difference.
seek_program() {
  local name=$1 seeks=$2
  mkdir -p "$work/$name"
  {
    echo 'FUNCTION Main()'
    echo '   LOCAL i, n := 1000000, nFound := 0'
    echo '   dbCreate( "seektbl", { { "ID", "N", 10, 0 }, { "NAME", "C", 20, 0 } } )'
    echo '   dbUseArea( .T., NIL, "seektbl", "SK", .F., .F. )'
    echo '   dbCreateIndex( "seekidx", "NAME" )'
    echo '   FOR i := 1 TO n'
    echo '      dbAppend()'
    echo '      SK->ID := i'
    echo '      SK->NAME := "S" + StrZero( ( i * 7919 ) % n, 8, 0 )'
    echo '   NEXT'
    echo '   dbCommit()'
    if [ "$seeks" = 1 ]; then
      echo '   FOR i := 1 TO n'
      echo '      IF dbSeek( "S" + StrZero( ( i * 31 ) % n, 8, 0 ) )'
      echo '         nFound++'
      echo '      ENDIF'
      echo '   NEXT'
    fi
    echo '   ? "seeks=" + AllTrim( Str( nFound, 10, 0 ) )'
    echo '   dbCloseArea()'
    echo '   RETURN NIL'
  } > "$work/$name/$name.prg"
}

declare -A wall cpu peak check
run() {  # run <name> [compiler]: compile once, run $runs times in fresh application directories
  local name=$1 dir=$work/$1 compiler=${2:-$ezelta} times=() cpus=() top=0 i kb t0 t1
  (cd "$dir" && "$compiler" "$name.prg" -gFULL > compile.log 2>&1 < /dev/null) || { check[$name]="build failed"; return; }
  for ((i = 1; i <= runs; i++)); do
    rm -rf "$dir/app" && mkdir -p "$dir/app"
    t0=$EPOCHREALTIME
    (cd "$dir" && ZELTA_APPDIR="$dir/app" ZELTA_UI=headless /usr/bin/time -f "%M %U %S" -o "$dir/peak.txt" \
      "./$name.exe" > "$dir/out.txt" 2> "$dir/err.txt" < /dev/null) || { check[$name]="run failed"; return; }
    t1=$EPOCHREALTIME
    times+=("$(awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.3f", b - a }')")
    read -r kb user system < <(tail -n 1 "$dir/peak.txt")
    cpus+=("$(awk -v u="$user" -v s="$system" 'BEGIN { printf "%.3f", u + s }')")
    [ "${kb:-0}" -gt "$top" ] && top=$kb
  done
  wall[$name]=$(median "${times[@]}")
  cpu[$name]=$(median "${cpus[@]}")
  peak[$name]=$(awk -v k="$top" 'BEGIN { printf "%.1f", k / 1024 }')
  check[$name]=$(grep -o 'checksum=.*\|seeks=.*' "$dir/out.txt" | head -n 1)
}

echo "preparing programs in $work ..." >&2
mkdir -p "$work/loop_arith" "$work/dbf" "$work/dbf_index"
cp "$data/programs/loop_arith.prg" "$work/loop_arith/"
cp "$data/programs/dbf.prg" "$work/dbf/"
cp "$data/programs/dbf_index.prg" "$work/dbf_index/"
names=(loop_arith dbf dbf_index)
for n in $sizes; do
  variant "dbf_scan_$n" "$data/programs/dbf.prg" "$n" cut
  variant "dbf_index_$n" "$data/programs/dbf_index.prg" "$n"
  names+=("dbf_scan_$n" "dbf_index_$n")
done
seek_program seek_1m_build 0
seek_program seek_1m 1
names+=(seek_1m_build seek_1m)
for name in "${names[@]}"; do
  echo "running $name ..." >&2
  run "$name"
done

scale_from=loop_arith
if [ -n "${SCALE_BUILD:-}" ]; then
  [ -x "$SCALE_BUILD/dist/ezelta" ] || die "no compiler at $SCALE_BUILD/dist/ezelta"
  mkdir -p "$work/loop_arith_ref"
  cp "$data/programs/loop_arith.prg" "$work/loop_arith_ref/loop_arith_ref.prg"
  echo "running loop_arith_ref ($SCALE_BUILD) ..." >&2
  run loop_arith_ref "$SCALE_BUILD/dist/ezelta"
  scale_from=loop_arith_ref
fi
loop_now=${wall[$scale_from]}
loop_cpu=${cpu[$scale_from]}
scale=$(awk -v then="$ours_loop_then" -v now="$loop_now" 'BEGIN { if (now > 0) printf "%.3f", then / now; else print 1 }')
cpu_scale=$(awk -v then="$ours_loop_then" -v now="$loop_cpu" 'BEGIN { if (now > 0) printf "%.3f", then / now; else print 1 }')
echo
echo "${scale_from} now ${loop_now} s wall, ${loop_cpu} s processor (${ours_loop_then} s in the peer table's sitting):"
echo "scale ${scale} (wall), ${cpu_scale} (processor)"
printf '%-18s %7s %7s %7s %7s %7s %6s %6s %8s %8s  %s\n' program wall cpu "wall*" "cpu*" peer ratio "cpu r" "peak MB" "peer MB" result
for name in "${names[@]}"; do
  read -r peer_s peer_mb <<< "$(peer "$name")"
  scaled=$(awk -v w="${wall[$name]:-0}" -v s="$scale" 'BEGIN { printf "%.3f", w * s }')
  scaled_cpu=$(awk -v w="${cpu[$name]:-0}" -v s="$cpu_scale" 'BEGIN { printf "%.3f", w * s }')
  ratio=$(awk -v a="$scaled" -v b="${peer_s:-0}" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }')
  cpu_ratio=$(awk -v a="$scaled_cpu" -v b="${peer_s:-0}" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }')
  want=$(awk -v p="$name" '$1 == p { print $2 }' "$data/programs/expected.txt")
  result=${check[$name]:-}
  [ -n "$want" ] && { [ "$result" = "checksum=$want" ] && result="ok" || result="WRONG $result"; }
  printf '%-18s %7s %7s %7s %7s %7s %6s %6s %8s %8s  %s\n' "$name" "${wall[$name]:--}" "${cpu[$name]:--}" "$scaled" \
    "$scaled_cpu" "${peer_s:--}" "$ratio" "$cpu_ratio" "${peak[$name]:--}" "${peer_mb:--}" "$result"
done

seek_cpu=$(awk -v a="${cpu[seek_1m]:-0}" -v b="${cpu[seek_1m_build]:-0}" 'BEGIN { printf "%.3f", a - b }')
echo
echo "1M seeks on a 1M-record table: ${seek_cpu} s processor (seek_1m less seek_1m_build)"

g++ -O2 -o "$work/sqlite_ref" "$repo/bench/data/sqlite_ref.cpp" -lsqlite3 || die "cannot build sqlite_ref (libsqlite3-dev)"
times=()
for ((i = 1; i <= runs; i++)); do
  mkdir -p "$work/sqlite" && line=$("$work/sqlite_ref" "$work/sqlite" 100000)
  times+=("$(echo "$line" | sed 's/.*seconds=\([0-9.]*\).*/\1/')")
done
echo
echo "SQLite in process, 100,000 rows appended in one transaction and scanned: $(median "${times[@]}") s"
echo "  ($line)"

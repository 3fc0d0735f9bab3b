#!/usr/bin/env bash
# Benchmarks the toolchain against the peer figures of the shared benchmark
# folder: the six workload programs (checksum, median wall time, peak memory)
# and the compile pipeline on the generated 100,000-line program.
#
#   bench/run_bench.sh [build-dir]          default build-dir: build
#
# Environment:
#   BENCH_DATA   the shared benchmark folder (default: ../shared/bench beside
#                the repository); holds programs/, expected.txt, gen_big.py
#                and README.md with the peer's figures
#   BENCH_WORK   scratch folder (default: <build-dir>/bench-work)
#   BENCH_RUNS   runs per workload program (default 5)
#   BENCH_FRONT_RUNS  runs of each front-end timing (default 3)
#   BENCH_SKIP_GXX    set to 1 to skip the full build of the big program
#
# Ratios are ours / peer: below 1.00 we are faster. The exit status is 1
# when a checksum is wrong or a program failed to build or run.
#
# The big program's figures are split with stand-ins for the C compiler put
# first on PATH: one that does nothing (so ezelta's own time is preprocessing,
# parsing and C emission) and one that times each real compiler call.
set -u

repo=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-$repo/build}")
dist=$build/dist
ezelta=$dist/ezelta
zelta16=$dist/bin/zelta16
data=$(realpath -m "${BENCH_DATA:-$repo/../shared/bench}")
work=$(realpath -m "${BENCH_WORK:-$build/bench-work}")
runs=${BENCH_RUNS:-5}
front_runs=${BENCH_FRONT_RUNS:-3}
programs=(loop_arith strings arrays calls dates dbf)

# The peer's whole-pipeline figures for the generated program, in seconds:
# source to C alone, and the whole build with its C compiler at -O3.
peer_big_front=0.81
peer_big_cbuild=1500

die() {
  echo "run_bench: $*" >&2
  exit 2
}

[ -x "$ezelta" ] || die "no compiler at $ezelta (build first)"
[ -d "$data/programs" ] || die "no benchmark programs in $data/programs"
mkdir -p "$work" || die "cannot create $work"

now() { echo "$EPOCHREALTIME"; }
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", b - a }'; }

# median <numbers...>: the middle value (mean of the two middle ones).
# Entries that are not numbers (a failed run's "-") are left out.
median() {
  printf '%s\n' "$@" | grep -E '^[0-9.]+$' | sort -g | awk '{ v[NR] = $1 }
    END { if (NR == 0) { print "-"; exit }
          if (NR % 2) printf "%.3f", v[(NR + 1) / 2]
          else printf "%.3f", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

ratio() {
  awk -v a="$1" -v b="$2" 'BEGIN {
    if (a == "-" || b == "-" || b + 0 == 0) print "-"; else printf "%.2f", a / b }'
}

# peer_figure <program> <column>: a cell of the peer table (2: C mode wall
# seconds, 3: interpreted wall seconds, 4: peak memory).
peer_figure() {
  awk -F'|' -v p="$1" -v c="$(($2 + 1))" '
    { name = $2; gsub(/ /, "", name) }
    name == p { v = $c; gsub(/^ +| +$/, "", v); print v; exit }' "$data/README.md"
}

# ---------------------------------------------------------------- programs

failed=0
declare -A ours_wall ours_peak ours_compile ours_check

bench_program() {
  local name=$1 dir=$work/$name
  rm -rf "$dir" && mkdir -p "$dir" || return 1
  cp "$data/programs/$name.prg" "$dir/" || return 1
  local t0 t1
  t0=$(now)
  (cd "$dir" && "$ezelta" "$name.prg" -gFULL > compile.log 2>&1 < /dev/null)
  local status=$?
  t1=$(now)
  ours_compile[$name]=$(elapsed "$t0" "$t1")
  if [ $status -ne 0 ] || [ ! -x "$dir/$name.exe" ]; then
    ours_check[$name]="build failed ($status)"
    return 1
  fi

  local times=() peak=0 i kb
  for ((i = 1; i <= runs; i++)); do
    rm -rf "$dir/app" && mkdir -p "$dir/app"
    t0=$(now)
    (cd "$dir" && ZELTA_APPDIR="$dir/app" ZELTA_UI=headless \
      /usr/bin/time -f %M -o "$dir/peak.txt" "./$name.exe" > "$dir/out.txt" 2> "$dir/err.txt" < /dev/null)
    status=$?
    t1=$(now)
    if [ $status -ne 0 ]; then
      ours_check[$name]="run failed ($status)"
      return 1
    fi
    times+=("$(elapsed "$t0" "$t1")")
    kb=$(tail -n 1 "$dir/peak.txt")
    [ "${kb:-0}" -gt "$peak" ] && peak=$kb
  done
  ours_wall[$name]=$(median "${times[@]}")
  ours_peak[$name]=$(awk -v k="$peak" 'BEGIN { printf "%.1f MB", k / 1024 }')

  local got want
  got=$(grep -o 'checksum=.*' "$dir/out.txt" | head -n 1 | sed 's/^checksum=//; s/[[:space:]]*$//')
  want=$(awk -v p="$name" '$1 == p { print $2 }' "$data/programs/expected.txt")
  if [ -n "$got" ] && [ "$got" = "$want" ]; then
    ours_check[$name]=ok
  else
    ours_check[$name]="WRONG: got '${got}' want '${want}'"
    return 1
  fi
}

for name in "${programs[@]}"; do
  echo "running $name ..." >&2
  bench_program "$name" || failed=1
done

echo
echo "Workload programs: median wall time of $runs runs (ratio = ours / peer)"
printf '%-11s %8s %8s %7s %8s %7s %10s %10s %8s  %s\n' \
  program ours peer-C ratio peer-int ratio peak peer-peak compile checksum
for name in "${programs[@]}"; do
  wall=${ours_wall[$name]:--}
  peer_c=$(peer_figure "$name" 2)
  peer_i=$(peer_figure "$name" 3)
  printf '%-11s %8s %8s %7s %8s %7s %10s %10s %8s  %s\n' "$name" "$wall" "${peer_c:--}" \
    "$(ratio "$wall" "${peer_c:--}")" "${peer_i:--}" "$(ratio "$wall" "${peer_i:--}")" \
    "${ours_peak[$name]:--}" "$(peer_figure "$name" 4)" "${ours_compile[$name]:--}" \
    "${ours_check[$name]:-not run}"
done

# ------------------------------------------------------------ big program

# make_tool_dir <dir> <mode>: C compiler stand-ins; mode "skip" answers
# success at once, mode "time" logs each call's duration and runs the real tool.
make_tool_dir() {
  local dir=$1 mode=$2 tool real
  rm -rf "$dir" && mkdir -p "$dir"
  for tool in g++ c++ gcc cc; do
    real=$(command -v "$tool") || continue
    if [ "$mode" = skip ]; then
      printf '#!/usr/bin/env bash\necho "%s skipped" >> "%s/calls.log"\nexit 0\n' \
        "$tool" "$dir" > "$dir/$tool"
    else
      cat > "$dir/$tool" <<EOF
#!/usr/bin/env bash
t0=\$EPOCHREALTIME
"$real" "\$@"
status=\$?
t1=\$EPOCHREALTIME
awk -v a="\$t0" -v b="\$t1" 'BEGIN { printf "$tool %.3f\n", b - a }' >> "$dir/calls.log"
exit \$status
EOF
    fi
    chmod +x "$dir/$tool"
  done
  : > "$dir/calls.log"
}

# compile_big <lines> <tool-mode>: fresh copy of the generated program of that
# size, compiled once; prints the wall seconds. Tool calls land in tools/calls.log.
compile_big() {
  local lines=$1 mode=$2 dir=$work/big$1
  rm -rf "$dir/build" && mkdir -p "$dir/build"
  [ -f "$dir/big.prg" ] || python3 "$data/gen_big.py" --lines "$lines" --out "$dir/big.prg" 2> /dev/null
  cp "$dir/big.prg" "$dir/build/"
  make_tool_dir "$dir/tools" "$mode"
  local t0 t1
  t0=$(now)
  (cd "$dir/build" && PATH="$dir/tools:$PATH" "$ezelta" big.prg -gFULL -dontclean \
    > compile.log 2>&1 < /dev/null)
  echo $? > "$dir/status"
  t1=$(now)
  elapsed "$t0" "$t1"
}

time_zelta16() {
  local dir=$work/big100000/pp
  rm -rf "$dir" && mkdir -p "$dir"
  cp "$work/big100000/big.prg" "$dir/"
  printf '#include "ezelta.ch"\n\r' > "$dir/defines.ch"
  local t0 t1
  t0=$(now)
  (cd "$dir" && INCLUDE="$dist/include" "$zelta16" big.prg "/i$dist/include" /n /s /p /udefines.ch \
    > pp.log 2>&1 < /dev/null) || { echo "-"; return; }
  t1=$(now)
  elapsed "$t0" "$t1"
}

echo
echo "Compile pipeline on the generated program (front end: median of $front_runs runs)"
mkdir -p "$work/big100000"
python3 "$data/gen_big.py" --lines 100000 --out "$work/big100000/big.prg" 2> /dev/null ||
  die "gen_big.py failed"

pp_times=()
if [ -x "$zelta16" ]; then
  for ((i = 1; i <= front_runs; i++)); do pp_times+=("$(time_zelta16)"); done
fi
printf '  %-40s %9s s\n' "zelta16 alone, 100,000 lines" "$(median "${pp_times[@]}")"

compiler_stands_in=1
for lines in 25000 50000 100000; do
  front_times=()
  for ((i = 1; i <= front_runs; i++)); do
    front_times+=("$(compile_big "$lines" skip)")
    grep -q skipped "$work/big$lines/tools/calls.log" || compiler_stands_in=0
  done
  front=$(median "${front_times[@]}")
  per_k=$(awk -v s="$front" -v n="$lines" 'BEGIN { printf "%.2f", s * 1000000 / n }')
  label="ezelta up to C emission, $lines lines"
  if [ "$lines" = 100000 ]; then
    printf '  %-40s %9s s  peer %s s  ratio %s  (%s ms per 1,000 lines)\n' "$label" "$front" \
      "$peer_big_front" "$(ratio "$front" "$peer_big_front")" "$per_k"
    cpp_bytes=$(cat "$work/big$lines"/build/*.cpp 2> /dev/null | wc -c)
    printf '  %-40s %9s bytes\n' "generated C++" "$cpp_bytes"
  else
    printf '  %-40s %9s s  (%s ms per 1,000 lines)\n' "$label" "$front" "$per_k"
  fi
done
if [ $compiler_stands_in -eq 0 ]; then
  echo "  note: ezelta did not call the C compiler through PATH, so the figures above"
  echo "        include the C compile step"
fi

if [ "${BENCH_SKIP_GXX:-0}" != 1 ]; then
  whole=$(compile_big 100000 time)
  gxx=$(awk '{ s += $2 } END { printf "%.3f", s }' "$work/big100000/tools/calls.log")
  calls=$(wc -l < "$work/big100000/tools/calls.log")
  printf '  %-40s %9s s  peer %s s (C mode)  ratio %s  status %s\n' "whole build, 100,000 lines" \
    "$whole" "$peer_big_cbuild" "$(ratio "$whole" "$peer_big_cbuild")" "$(cat "$work/big100000/status")"
  printf '  %-40s %9s s  in %s calls\n' "of which the C compiler and linker" "$gxx" "$calls"
  if [ -x "$work/big100000/build/big.exe" ]; then
    line=$(cd "$work/big100000/build" && ZELTA_APPDIR="$work/big100000/build" ZELTA_UI=headless \
      ./big.exe < /dev/null 2>&1 | grep -o 'big functions=.*')
    printf '  %-40s %s\n' "big.exe prints" "${line:-nothing}"
  else
    failed=1
    echo "  big.exe was not built; see $work/big100000/build/compile.log"
  fi
fi

exit $failed

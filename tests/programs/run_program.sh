#!/usr/bin/env bash
# Builds one sample program with `ezelta -gFULL` and runs it headless.
#
#   run_program.sh <ezelta> <dir>/<name>.prg <workdir>
#
# Files beside <name>.prg:
#   <name>.out      expected standard output, byte for byte (a missing final
#                   newline in the program's output is not a difference)
#   <name>.sources  optional: further sources, one a line, relative to <dir>,
#                   compiled after <name>.prg in the order given
#   <name>.libs     optional: shared libraries the program loads, one a line,
#                   copied beside the program from $ZELTA_E2E_LIBDIR
#   <name>.c        optional: the program exports C functions (EXPFUNCT), so
#                   ezelta builds lib<name>.so; this C program, compiled
#                   against it, is what runs
#   <name>.script   optional: headless UI script (ZELTA_UI_SCRIPT)
#   <name>.status   optional: the expected exit status when it is not 0
#   <name>.err      optional: texts that must each appear in standard error
#                   (any letter case), one a line: a fatal run-time error
#                   names itself and the functions it passed through there
#
# The program is compiled in <workdir>/<name>/build from copies of its sources
# and runs there with a fresh application directory, so no run sees another's
# tables or files. Exit status 0 when everything matched, 1 otherwise.
set -u

if [ $# -ne 3 ]; then
  echo "usage: $0 <ezelta> <program.prg> <workdir>" >&2
  exit 2
fi

ezelta=$(realpath "$1")
prg=$(realpath "$2")
dir=$(dirname "$prg")
name=$(basename "$prg" .prg)
work=$(realpath -m "$3")/$name
timeout_s=${ZELTA_E2E_TIMEOUT:-60}

fail() {
  echo "FAIL $name: $*"
  exit 1
}

[ -x "$ezelta" ] || fail "no compiler at $ezelta"
[ -f "$dir/$name.out" ] || fail "no expected output $dir/$name.out"

rm -rf "$work"
mkdir -p "$work/build" "$work/app" || fail "cannot create $work"

sources=("$name.prg")
cp "$prg" "$work/build/" || fail "cannot copy $prg"
if [ -f "$dir/$name.sources" ]; then
  while IFS= read -r extra || [ -n "$extra" ]; do
    extra=${extra%%#*}
    extra=$(echo "$extra" | tr -d '[:space:]')
    [ -n "$extra" ] || continue
    cp "$dir/$extra" "$work/build/" || fail "cannot copy extra source $extra"
    sources+=("$(basename "$extra")")
  done < "$dir/$name.sources"
fi

if [ -f "$dir/$name.libs" ]; then
  while IFS= read -r lib || [ -n "$lib" ]; do
    lib=$(echo "$lib" | tr -d '[:space:]')
    [ -n "$lib" ] || continue
    cp "${ZELTA_E2E_LIBDIR:-.}/$lib" "$work/build/" || fail "cannot copy library $lib"
  done < "$dir/$name.libs"
fi

cd "$work/build" || fail "cannot enter $work/build"
"$ezelta" "${sources[@]}" -gFULL > compile.log 2>&1 < /dev/null
status=$?
program="$name.exe"
if [ -f "$dir/$name.c" ]; then
  if [ $status -ne 0 ] || [ ! -f "lib$name.so" ]; then
    cat compile.log
    fail "ezelta exited with status $status and built no lib$name.so"
  fi
  # The caller is built as a user's would be, with the flags the run-time
  # asks its users for (the sanitizers, in that build).
  hostflags=$(cat "$(dirname "$ezelta")/lib/hostflags.txt" 2>/dev/null)
  # shellcheck disable=SC2086
  gcc $hostflags -o "$name.caller" "$dir/$name.c" -L. -l"$name" -Wl,-rpath,"$work/build" > caller.log 2>&1 ||
    { cat caller.log; fail "the C caller did not build"; }
  program="$name.caller"
elif [ $status -ne 0 ] || [ ! -x "$name.exe" ]; then
  cat compile.log
  fail "ezelta exited with status $status and built no $name.exe"
fi

script_env=()
if [ -f "$dir/$name.script" ]; then
  script_env=("ZELTA_UI_SCRIPT=$dir/$name.script")
fi
env ZELTA_APPDIR="$work/app" ZELTA_UI=headless "${script_env[@]}" \
  timeout "$timeout_s" "./$program" > stdout.txt 2> stderr.txt < /dev/null
status=$?

expected_status=0
if [ -f "$dir/$name.status" ]; then
  expected_status=$(tr -d '[:space:]' < "$dir/$name.status")
fi

# `?` writes its newline before the text, so a program's output usually ends
# without one; the expected files end with one like any text file.
if [ -s stdout.txt ] && [ "$(tail -c 1 stdout.txt | od -An -c | tr -d ' ')" != '\n' ]; then
  echo >> stdout.txt
fi

ok=1
if ! diff -u "$dir/$name.out" stdout.txt > stdout.diff; then
  echo "--- standard output differs (expected, actual):"
  cat stdout.diff
  ok=0
fi
if [ "$status" != "$expected_status" ]; then
  [ "$status" = 124 ] && echo "--- timed out after ${timeout_s}s"
  echo "--- exit status $status, expected $expected_status"
  ok=0
fi
if [ -f "$dir/$name.err" ]; then
  while IFS= read -r text || [ -n "$text" ]; do
    [ -n "$text" ] || continue
    if ! grep -qiF -- "$text" stderr.txt; then
      echo "--- standard error lacks: $text"
      ok=0
    fi
  done < "$dir/$name.err"
fi
if [ $ok -ne 1 ]; then
  echo "--- standard error:"
  head -c 4000 stderr.txt
  fail "see above (work files in $work/build)"
fi
echo "PASS $name"

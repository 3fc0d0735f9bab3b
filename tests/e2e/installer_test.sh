#!/usr/bin/env bash
# The installer with real processes: a program built with ezelta ends with
# its install list waiting, the run-time starts Rovane, Rovane waits for the
# program to end, backs it up, moves the new version into place and starts
# it, and the new version prints itself. Then: no list, a second Rovane
# while the first waits, a program that does not end (its instance lock
# held by flock(1), the lock the program itself takes), and lists that
# name nothing installable.
#
#   installer_test.sh <ezelta> <Rovane> <install_list_tool> <source dir> <work dir>
set -u
ezelta=$(realpath "$1")
rovane=$(realpath "$2")
listtool=$(realpath "$3")
src=$(realpath "$4")
work=$(realpath -m "$5")
app="$work/app"
bin="$work/bin"
holder=""

fail() {
  echo "FAIL: $*"
  [ -f "$app/inst.txt" ] && { echo "--- inst.txt:"; cat "$app/inst.txt"; }
  [ -f "$work/out.txt" ] && { echo "--- output:"; cat "$work/out.txt"; }
  [ -n "$holder" ] && kill "$holder" 2> /dev/null
  exit 1
}

# Waits up to $2 seconds (default 20) for file $1 to contain text $3.
await() {
  local file=$1 limit=$2 text=$3
  for _ in $(seq 1 $((limit * 10))); do
    [ -f "$file" ] && grep -qF -- "$text" "$file" && return 0
    sleep 0.1
  done
  fail "$(basename "$file") never showed: $text"
}
has() { grep -qF -- "$2" "$1" || fail "$(basename "$1") lacks: $2"; }
lacks() { grep -qF -- "$2" "$1" && fail "$(basename "$1") should not have: $2"; return 0; }
count() { grep -cF -- "$2" "$1"; }
# Waits until no Rovane holds its lock in the application directory.
rovane_gone() {
  for _ in $(seq 1 100); do
    flock -n "$app/.Rovane.lock" true 2> /dev/null && return 0
    sleep 0.1
  done
  fail "Rovane did not end"
}
# Holds the program's instance lock for $1 seconds, as a running program does.
hold_program() {
  # The shell becomes the sleep that holds the lock: killing it frees it.
  (
    exec 9>> "$app/.OO_BkWindow.lock"
    flock 9
    exec sleep "$1"
  ) &
  holder=$!
  for _ in $(seq 1 50); do
    flock -n "$app/.OO_BkWindow.lock" true 2> /dev/null || return 0
    sleep 0.1
  done
  fail "the program's lock could not be taken"
}
release_program() {
  kill "$holder" 2> /dev/null
  wait "$holder" 2> /dev/null
  holder=""
}

# A fresh application directory with version 1 in place and version 2
# waiting under its "_" name.
fresh() {
  rm -rf "$app" "$bin" "$work/out.txt"
  mkdir -p "$app" "$bin"
  cp "$work/v1/upd.exe" "$bin/upd.exe" && cp "$work/v2/upd.exe" "$bin/upd.exe_" || fail "cannot copy the programs"
}
run_program() {
  env ZELTA_APPDIR="$app" ZELTA_UI=headless "$bin/upd.exe" > "$work/out.txt" 2> "$work/err.txt" < /dev/null
}

command -v flock > /dev/null || fail "flock is not installed (tools/install_deps.sh installs util-linux)"
rm -rf "$work" && mkdir -p "$work/v1" "$work/v2" || fail "cannot create $work"
for v in 1 2; do
  cp "$src/version$v.prg" "$work/v$v/upd.prg" || fail "cannot copy version$v.prg"
  (cd "$work/v$v" && "$ezelta" upd.prg -gFULL > compile.log 2>&1) || { cat "$work/v$v/compile.log"; fail "ezelta could not build version $v"; }
done
[ "$(dirname "$rovane")" = "$(dirname "$ezelta")/lib" ] || fail "Rovane is not installed beside the run-time"

# 1. The update, from the program's end to the new version's output.
fresh
"$listtool" "$app" ZELTAINST "$bin/upd.exe_" || fail "cannot write the install list"
run_program || fail "version 1 ended with status $?"
await "$work/out.txt" 20 "updated program, version 2"
await "$app/inst.txt" 20 "Install END"
rovane_gone
for line in "DIRAPP=$app" "Finding EXE=$app/Rovane" "Finding EXE=$bin/Rovane" "EXE=$rovane OK" \
  "CreateProcess Begin $rovane ." "Param=$rovane ZELTAINST.tLog $bin/upd.exe" "CreateProcess OK" \
  "LOGFILE=ZELTAINST.tLog" "Install BEGIN" "PARAM1=ZELTAINST.tLog" "PARAM2=$bin/upd.exe" "Memória liberada" \
  "ENCONTROU ZELTAINST.tLog" "INSTALANDO $bin/upd.exe_" "Criado backup do arquivo $bin/upd.exe" \
  "Instalado o arquivo $bin/upd.exe" "Excluída a lista ZELTAINST.tLog" "CreateProcess $bin/upd.exe OK."; do
  has "$app/inst.txt" "$line"
done
cmp -s "$bin/upd.exe" "$work/v2/upd.exe" || fail "version 2 is not in place"
cmp -s "$bin/upd.exe.bak" "$work/v1/upd.exe" || fail "version 1 is not the backup"
[ ! -e "$bin/upd.exe_" ] || fail "the download is still there"
[ ! -e "$app/ZELTAINST.tLog" ] || fail "the list was not deleted"
[ "$(count "$work/out.txt" "updated program")" = 2 ] || fail "expected one line of each version"
echo "PASS update"

# 2. No list waiting: the hand-off is logged, no installer starts.
fresh
run_program || fail "version 1 ended with status $?"
sleep 1
has "$app/inst.txt" "EXE=$rovane OK"
lacks "$app/inst.txt" "CreateProcess"
lacks "$app/inst.txt" "Install BEGIN"
cmp -s "$bin/upd.exe" "$work/v1/upd.exe" || fail "the program changed"
echo "PASS no list"

# 3. A second Rovane while the first waits for the program; the first was
# given an empty PARAM1.
fresh
"$listtool" "$app" ZELTAINST "$bin/upd.exe_" || fail "cannot write the install list"
hold_program 30
env ZELTA_APPDIR="$app" ZELTA_UI=headless "$rovane" "" "$bin/upd.exe" > "$work/out.txt" 2>&1 &
first=$!
await "$app/inst.txt" 10 "Aguardando liberação de memória!"
start=$(date +%s%N)
env ZELTA_APPDIR="$app" "$rovane" ZELTAINST.tLog "$bin/upd.exe" >> "$work/out.txt" 2>&1
status=$?
elapsed_ms=$((($(date +%s%N) - start) / 1000000))
[ $status = 0 ] || fail "the second Rovane ended with status $status"
[ $elapsed_ms -lt 2000 ] || fail "the second Rovane took ${elapsed_ms} ms"
[ "$(count "$app/inst.txt" "Install BEGIN")" = 1 ] || fail "the second Rovane wrote to the log"
release_program
await "$work/out.txt" 20 "updated program, version 2"
wait "$first" || fail "the first Rovane ended with status $?"
has "$app/inst.txt" "PARAM1=ZELTAINST.tLog"
has "$app/inst.txt" "Instalado o arquivo $bin/upd.exe"
cmp -s "$bin/upd.exe" "$work/v2/upd.exe" || fail "version 2 is not in place"
echo "PASS second Rovane, empty PARAM1"

# 4. The program still running after 40 checks: nothing moves.
fresh
"$listtool" "$app" ZELTAINST "$bin/upd.exe_" || fail "cannot write the install list"
hold_program 30
env ZELTA_APPDIR="$app" "$rovane" ZELTAINST.tLog "$bin/upd.exe" > "$work/out.txt" 2>&1
status=$?
release_program
[ $status = 0 ] || fail "Rovane ended with status $status"
[ "$(count "$app/inst.txt" "Aguardando liberação de memória!")" = 40 ] || fail "expected 40 checks"
[ "$(tail -n 1 "$app/inst.txt")" = "Falhou liberação de memória!" ] || fail "the log does not end with the memory message"
cmp -s "$bin/upd.exe" "$work/v1/upd.exe" || fail "the program changed"
[ -e "$bin/upd.exe_" ] && [ -e "$app/ZELTAINST.tLog" ] || fail "the download or the list went away"
echo "PASS program still running"

# 5. Lists that name nothing installable: the program stays and runs.
fresh
echo "no database, just bytes" > "$app/ZELTAINST.tLog"
run_program || fail "version 1 ended with status $?"
await "$app/inst.txt" 20 "Install END"
rovane_gone
has "$app/inst.txt" "Não encontrou ZELTAINST.tLog!"
lacks "$app/inst.txt" "CreateProcess $bin/upd.exe"
cmp -s "$bin/upd.exe" "$work/v1/upd.exe" || fail "the program changed"
[ "$(cat "$app/ZELTAINST.tLog")" = "no database, just bytes" ] || fail "the damaged list was changed"

fresh
rm "$bin/upd.exe_"
"$listtool" "$app" ZELTAINST "" "$bin/upd.exe" "$bin/../bin/upd.exe_" "/etc/passwd_" "$bin/upd.exe_" ||
  fail "cannot write the install list"
env ZELTA_APPDIR="$app" ZELTA_UI=headless "$rovane" ZELTAINST.tLog "$bin/upd.exe" > "$work/out.txt" 2>&1 ||
  fail "Rovane ended with status $?"
await "$work/out.txt" 20 "updated program, version 1"
rovane_gone
[ "$(count "$app/inst.txt" "inválido")" = 4 ] || fail "expected four records refused"
has "$app/inst.txt" "Não encontrou $bin/upd.exe_!"
cmp -s "$bin/upd.exe" "$work/v1/upd.exe" || fail "the program changed"
[ ! -e "$bin/upd.exe.bak" ] || fail "a backup was made of a program that stayed"
[ ! -e "$app/ZELTAINST.tLog" ] || fail "the list of nothing installable was kept"
echo "PASS malformed lists"

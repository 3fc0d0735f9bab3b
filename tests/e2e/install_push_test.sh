#!/usr/bin/env bash
# Files and images pushed by zeltasyncd, received in a real sync session on
# loopback. A new version offered under the program's own version number is
# declined ("Versões iguais"), while an image of the same session arrives.
# A newer version is written beside the program under its "_" name and
# listed; the session ends as a restart, Rovane installs it after the
# program ends and starts it, and the new version prints itself.
#
#   install_push_test.sh <ezelta> <zeltasyncd> <source dir> <work dir>
set -u
ezelta=$(realpath "$1")
server=$(realpath "$2")
src=$(realpath "$3")
work=$(realpath -m "$4")
app="$work/app"
bin="$work/bin"
pid=""

fail() {
  echo "FAIL: $*"
  [ -f "$app/inst.txt" ] && { echo "--- inst.txt:"; cat "$app/inst.txt"; }
  [ -f "$work/out.txt" ] && { echo "--- output:"; cat "$work/out.txt"; }
  [ -f "$app/MSGLOG.tLog" ] && { echo "--- message log:"; tr '\0' '\n' < "$app/MSGLOG.tLog" | grep -a .; }
  [ -n "$pid" ] && kill "$pid" 2> /dev/null
  exit 1
}
await() {
  local file=$1 limit=$2 text=$3
  for _ in $(seq 1 $((limit * 10))); do
    [ -f "$file" ] && grep -qaF -- "$text" "$file" && return 0
    sleep 0.1
  done
  fail "$(basename "$file") never showed: $text"
}
has() { grep -qaF -- "$2" "$1" || fail "$(basename "$1") lacks: $2"; }
lacks() { grep -qaF -- "$2" "$1" && fail "$(basename "$1") should not have: $2"; return 0; }

rm -rf "$work" && mkdir -p "$work/v1" "$work/v2" "$app" "$bin" || fail "cannot create $work"
cd "$work" || fail "cannot enter $work"
db="$work/sync.db"
admin() { "$server" admin --db "$db" "$@" >> admin.log 2>&1 || fail "admin $*: $(tail -n 2 admin.log)"; }
admin add-user joe dev1

"$server" --db "$db" --host 127.0.0.1 --port 0 --log "$work/session.log" > server.out 2>&1 &
pid=$!
port=""
for _ in $(seq 1 100); do
  port=$(sed -n 's/.*listening on 127.0.0.1:\([0-9]*\).*/\1/p' server.out)
  [ -n "$port" ] && break
  sleep 0.1
done
[ -n "$port" ] || fail "the server did not start: $(cat server.out)"

for v in 1 2; do
  sed "s/@PORT@/$port/g" "$src/version$v.prg" > "$work/v$v/upd.prg" || fail "cannot copy version$v.prg"
  # -version= is the number the program file carries, where the install
  # compares the version offered with its own.
  (cd "$work/v$v" && "$ezelta" upd.prg -gFULL -version=$v > compile.log 2>&1) || { cat "$work/v$v/compile.log"; fail "ezelta could not build version $v"; }
done
cp "$work/v1/upd.exe" "$bin/upd.exe" || fail "cannot place version 1"
run_program() {
  env ZELTA_APPDIR="$app" ZELTA_UI=headless "$bin/upd.exe" > "$work/out.txt" 2> "$work/err.txt" < /dev/null
}

# 1. Offered under the program's own version: declined; the image arrives.
head -c 3000 /dev/urandom > "$work/logo.jpg"
admin push-file "$work/v2/upd.exe" 1 joe dev1
admin push-image "$work/logo.jpg"
admin status
has admin.log "install:#1 image:#2"
run_program || fail "version 1 ended with status $?"
has "$work/out.txt" "sync 0"
has "$app/MSGLOG.tLog" "Versões iguais: 1"
has "$app/MSGLOG.tLog" "Imagens(s) recebido(s): 1 Tamanho : 2 Kb."
cmp -s "$app/logo.jpg" "$work/logo.jpg" || fail "the image did not arrive whole"
[ ! -e "$bin/upd.exe_" ] && [ ! -e "$app/ZELTAINST.tLog" ] || fail "a declined version was written or listed"
cmp -s "$bin/upd.exe" "$work/v1/upd.exe" || fail "the program changed"
lacks "$work/out.txt" "version 2"
sleep 1
[ ! -e "$app/inst.txt" ] || lacks "$app/inst.txt" "Install BEGIN"
admin status
grep -q "waiting nothing" admin.log || fail "the pushed tasks are still waiting"
echo "PASS same version declined, image received"

# 2. A newer version: received, listed, installed by Rovane, started again.
admin push-file "$work/v2/upd.exe" 2
run_program || fail "version 1 ended with status $?"
has "$work/out.txt" "pushed program, version 1"
has "$app/MSGLOG.tLog" "TaskExecute: Erro=9999"
await "$work/out.txt" 20 "pushed program, version 2"
await "$app/inst.txt" 20 "Install END"
for line in "PARAM1=ZELTAINST.tLog" "PARAM2=$bin/upd.exe" "INSTALANDO $bin/upd.exe_" \
  "Criado backup do arquivo $bin/upd.exe" "Instalado o arquivo $bin/upd.exe versão 2" "CreateProcess $bin/upd.exe OK."; do
  has "$app/inst.txt" "$line"
done
cmp -s "$bin/upd.exe" "$work/v2/upd.exe" || fail "version 2 is not in place"
cmp -s "$bin/upd.exe.bak" "$work/v1/upd.exe" || fail "version 1 is not the backup"
[ ! -e "$app/ZELTAINST.tLog" ] || fail "the list was not worked through"
echo "PASS newer version installed and started"

# 3. Refused by the administrator command: a version that is no number, an
# image too large for its packet.
"$server" admin --db "$db" push-file "$work/v2/upd.exe" 2b > bad.txt 2>&1 && fail "a version 2b was accepted"
head -c 20000 /dev/urandom > "$work/big.jpg"
"$server" admin --db "$db" push-image "$work/big.jpg" >> bad.txt 2>&1 && fail "a 20000-byte image was accepted"
has bad.txt "the version must be a whole number"
has bad.txt "the image is larger than"
echo "PASS refused pushes"
kill "$pid" 2> /dev/null
exit 0

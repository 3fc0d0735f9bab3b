#!/usr/bin/env bash
# The terminal driver under tmux: a dialog program is started in a pane of
# its own tmux server, driven with keys, and its screen, its result and the
# terminal it leaves behind are checked. Three runs: a normal one (the
# validation keeps the focus, the list moves, OK closes), a fatal error
# (the "Fatal Error" window, Reset, exit status 1) and a SIGTERM while the
# dialog is up.
#
#   ui_terminal_test.sh <ezelta> <source dir> <work dir>
set -u
ezelta=$(realpath "$1")
src=$(realpath "$2")
work=$(realpath -m "$3")
base="zelta-ui-test-$$"
server=$base
runs=0

fail() {
  echo "FAIL: $*"
  [ -f "$work/screen.txt" ] && { echo "--- last screen:"; cat "$work/screen.txt"; }
  tmux -L "$server" kill-server 2>/dev/null
  exit 1
}
command -v tmux > /dev/null || fail "tmux is not installed (tools/install_deps.sh installs it)"

rm -rf "$work" && mkdir -p "$work/app" || fail "cannot create $work"
cp "$src/form.prg" "$work/" && cd "$work" || fail "cannot enter $work"
"$ezelta" form.prg -gFULL > compile.log 2>&1 || { cat compile.log; fail "ezelta could not build form.prg"; }

screen() { tmux -L "$server" capture-pane -p -t test > "$work/screen.txt" 2>/dev/null; }
keys() { tmux -L "$server" send-keys -t test "$@"; sleep 0.3; }
# Waits up to 10 s for a text on the screen.
await() {
  for _ in $(seq 1 100); do
    screen
    grep -qF -- "$1" "$work/screen.txt" && return 0
    sleep 0.1
  done
  fail "the screen never showed: $1"
}
# Waits up to 10 s for the run to finish.
finished() {
  for _ in $(seq 1 100); do
    [ -s "$work/status.txt" ] && return 0
    sleep 0.1
  done
  fail "the program did not end"
}
# Starts a run: the program in the background on the pane's terminal (what
# it prints stays on the pane), then its exit status and the terminal's
# settings once it has ended.
start() {
  rm -f err.txt status.txt stty.txt pid.txt
  tmux -L "$server" kill-server 2>/dev/null
  runs=$((runs + 1))
  server="$base-$runs"  # a server of its own: the last one may still be going away
  tmux -L "$server" new-session -d -s test -x 80 -y 24 \
    "cd '$work'; stty -a > stty-before.txt; ZELTA_APPDIR='$work/app' ./form.exe < /dev/tty > /dev/tty 2> err.txt & echo \$! > pid.txt; wait \$!; echo \$? > status.txt; stty -a > stty.txt; sleep 60" ||
    fail "tmux could not start"
  await "Terminal Order"
}
# The terminal is as it was before the program ran.
restored() {
  for flag in icanon echo; do
    grep -qw -- "$flag" stty.txt || fail "$1: the terminal was left without $flag"
  done
  diff <(tr ' ;' '\n\n' < stty-before.txt | grep -v '^$' | sort) \
       <(tr ' ;' '\n\n' < stty.txt | grep -v '^$' | sort) > /dev/null ||
    fail "$1: the terminal settings changed"
}

# 1. A normal run.
start
grep -qF "Qty:" screen.txt || fail "no label drawn"
grep -qF "< OK >" screen.txt || fail "no OK button drawn"
grep -qF "green" screen.txt || fail "no list rows drawn"
keys 0 Tab  # refused: the focus stays in the field
keys BSpace 5
await "  5"
keys Tab Down Down
keys Tab Tab Enter
finished
[ "$(cat status.txt)" = 0 ] || fail "run 1: exit status $(cat status.txt)"
await "qty 5 color 3"  # printed once the terminal is given back
restored "run 1"

# 2. A fatal error inside an action: the Fatal Error window, then Reset.
start
keys 5 Tab Tab Enter
await "Fatal Error"
grep -qF "BOUND ERROR!" screen.txt || fail "run 2: the error name is not shown"
grep -qF "< Reset >" screen.txt || fail "run 2: no Reset button"
keys Enter
finished
[ "$(cat status.txt)" = 1 ] || fail "run 2: exit status $(cat status.txt)"
grep -qF "BOUND ERROR!" err.txt || fail "run 2: standard error lacks the report"
restored "run 2"

# 3. A signal while the dialog is up.
start
kill -TERM "$(cat pid.txt)"
finished
[ "$(cat status.txt)" = 143 ] || fail "run 3: exit status $(cat status.txt)"
restored "run 3"

tmux -L "$server" kill-server 2>/dev/null
echo "PASS ui_terminal"

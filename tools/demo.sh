#!/usr/bin/env bash
# The main job: compile the invoice example with the host target and run it.
set -eu
repo=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:-$repo/build}")
work=$(mktemp -d /tmp/zelta-demo.XXXXXX)
trap 'rm -rf "$work"' EXIT
cp "$repo/examples/invoice.prg" "$work/"
cd "$work"
echo "\$ ezelta invoice.prg -gFULL"
"$build/dist/ezelta" invoice.prg -gFULL
echo
echo "\$ ./invoice.exe"
ZELTA_APPDIR="$work" ./invoice.exe
echo

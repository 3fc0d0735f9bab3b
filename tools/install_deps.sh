#!/usr/bin/env bash
# Installs the Debian packages the build and tests need, when they are missing
# and we are root; otherwise says what is missing and goes on.
set -u
pkgs="cmake ninja-build g++ make zlib1g-dev libncurses-dev libgtest-dev libbenchmark-dev bison python3 tmux libasio-dev libsqlite3-dev libpq-dev postgresql util-linux"
missing=""
for p in $pkgs; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
if [ "$(id -u)" = 0 ]; then
  echo "Installing:$missing"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq || true
  apt-get install -y -qq $missing
else
  echo "Missing packages (run as root to install them):$missing" >&2
fi

#!/usr/bin/env bash
# The main job: show the compiler at work on an example.
set -u
build=${1:-build}
"$build/dist/ezelta"
status=$?
echo "(ezelta exited with status $status)"

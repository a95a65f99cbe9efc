#!/bin/bash
# Installs what is missing, builds everything and runs every test headless:
# host unit tests, then the Windows and end-to-end tests under Wine.
set -uo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD

bash scripts/setup.sh || exit 1
source scripts/headless.sh
trap tovel_headless_stop EXIT

echo "== host build and tests"
cmake --preset host >/dev/null && cmake --build --preset host || exit 1
ctest --preset host
host_rc=$?

echo "== Windows build"
cmake --preset win >/dev/null && cmake --build --preset win -j2 || exit 1

echo "== headless Wine: display, sound and a fresh prefix"
tovel_headless_start "$ROOT/build/win/wineprefix" || exit 1
echo "DISPLAY=$DISPLAY WINEPREFIX=$WINEPREFIX"

echo "== Windows and end-to-end tests under Wine"
ctest --preset win
win_rc=$?

[ $host_rc -eq 0 ] && [ $win_rc -eq 0 ]

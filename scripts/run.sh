#!/bin/bash
# Installs what is missing, builds the player and starts it under Wine.
# With a working display the player opens there; without one it runs on a
# virtual display, and a screenshot shows what it looks like.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD

bash scripts/setup.sh
cmake --preset win >/dev/null
cmake --build --preset win -j2 --target TovelMusicBox
EXE="$ROOT/build/win/bin/TovelMusicBox.exe"
echo "run: the program is $EXE"

source scripts/headless.sh
trap tovel_headless_stop EXIT
tovel_headless_start "${TOVEL_RUN_PREFIX:-$HOME/.cache/tovel/wineprefix-run}" keep-display

if [ -z "$TOVEL_STARTED_XVFB" ]; then
  echo "run: starting the player on $DISPLAY (close its window to end)"
  (cd "$(dirname "$EXE")" && wine64 "$EXE")
else
  shot="$ROOT/build/screenshot.png"
  echo "run: no display; starting the player on the virtual display $DISPLAY"
  (cd "$(dirname "$EXE")" && wine64 "$EXE") &
  sleep 6
  import -display "$DISPLAY" -window root -crop 460x500+0+0 "$shot"
  echo "run: screenshot saved to $shot"
  wineserver -k || true
fi

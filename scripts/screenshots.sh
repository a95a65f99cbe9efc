#!/bin/bash
# Makes the README's pictures under Wine on a virtual display: the player as it
# starts, the player playing a song with the sound board docked below, and the skin
# gallery, at 100 % and again at 150 % (144 DPI, names ending in _150). They go to
# docs/screenshots/.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
bash scripts/setup.sh >/dev/null
cmake --preset win >/dev/null
cmake --build --preset win -j2 --target readme_shots >/dev/null
source scripts/headless.sh
trap tovel_headless_stop EXIT
tovel_headless_start "$ROOT/build/win/shots-prefix"
mkdir -p docs/screenshots
out="Z:${ROOT//\//\\}\\docs\\screenshots"
(cd build/win/bin && wine64 readme_shots.exe "$out" 2>/dev/null | grep -v '^ALSA')
(cd build/win/bin && bash "$ROOT/tests/e2e/at_dpi.sh" 144 wine64 readme_shots.exe "$out" _150 2>/dev/null |
  grep -v '^ALSA')

#!/bin/bash
# at_dpi.sh <dpi> <command...>: runs the command with the display set to <dpi> DPI in the
# test prefix, then sets 96 back, whatever the command's result.
# Wine reads LogPixels when its server starts, so the persistent server is restarted each time.
set -u
: "${WINEPREFIX:=$HOME/.cache/tovel/wineprefix-dev}"
export WINEPREFIX
export PATH="/usr/lib/wine:$PATH"
dpi=$1
shift

set_dpi() {
  wine64 reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1 </dev/null
  wineserver -k 2>/dev/null
  # The old server saves the registry on its way out; a new one starts only after it has gone.
  wineserver -w 2>/dev/null
  wineserver -p >/dev/null 2>&1 </dev/null
}

trap 'set_dpi 96' EXIT
set_dpi "$dpi"
"$@"

#!/bin/sh
# Runs a Windows program under Wine for CTest.
# Wine's output goes through a temp file: helpers that Wine starts on demand
# (wineserver, services.exe) would otherwise inherit CTest's pipe and make it wait.
: "${WINEPREFIX:=$HOME/.cache/tovel/wineprefix-dev}"
: "${DISPLAY:=:99}"
: "${XDG_RUNTIME_DIR:=/tmp/tovel-xdg}"
: "${WINEDEBUG:=-all}"
: "${WINEDLLOVERRIDES:=mscoree,mshtml=}"
: "${LANG:=C.UTF-8}"
export WINEPREFIX DISPLAY XDG_RUNTIME_DIR WINEDEBUG WINEDLLOVERRIDES LANG
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=wine64
out=$(mktemp)
# Now and then Wine fails to start a program at all: it exits at once with an error
# and prints nothing, where every test program prints its header first. That is
# tried again; anything the program itself printed is a real result.
for attempt in 1 2 3; do
  "$wine" "$@" >"$out" 2>&1 </dev/null
  rc=$?
  [ $rc -eq 0 ] || [ -s "$out" ] && break
  echo "wine-run: wine exited with $rc before the program printed anything (attempt $attempt)" >&2
done
cat "$out"
rm -f "$out"
exit $rc

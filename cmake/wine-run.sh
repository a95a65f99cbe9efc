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
"$wine" "$@" >"$out" 2>&1 </dev/null
rc=$?
cat "$out"
rm -f "$out"
exit $rc

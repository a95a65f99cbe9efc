# Sourced by the run and test scripts: a virtual display, a PulseAudio null sink
# and a fresh Wine prefix, and a way to stop them again.
#   tovel_headless_start <prefix-dir>    tovel_headless_stop

TOVEL_CACHE="${TOVEL_CACHE:-$HOME/.cache/tovel}"
export PATH="/usr/lib/wine:$PATH"
export WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=C.UTF-8
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-/tmp/tovel-xdg-$(id -u)}"
TOVEL_STARTED_XVFB=""
TOVEL_STARTED_PULSE=""

tovel_start_display() {
  local n=${TOVEL_DISPLAY_NUMBER:-99}
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  TOVEL_STARTED_XVFB=$!
  export DISPLAY=":$n"
  for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$n" ] && return 0; sleep 0.1; done
  echo "headless: Xvfb did not start" >&2
  return 1
}

tovel_start_pulse() {
  mkdir -p -m 700 "$XDG_RUNTIME_DIR"
  if ! pactl info >/dev/null 2>&1; then
    pulseaudio -D --exit-idle-time=-1 -n --load="module-null-sink sink_name=nullsink" \
      --load="module-native-protocol-unix" >/dev/null 2>&1
    TOVEL_STARTED_PULSE=1
    for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
  fi
  pactl list short sinks 2>/dev/null | grep -q nullsink ||
    pactl load-module module-null-sink sink_name=nullsink >/dev/null
  pactl set-default-sink nullsink >/dev/null 2>&1 || true
  pactl set-default-source nullsink.monitor >/dev/null 2>&1 || true
}

# A prefix with the font fixes, built once and copied for every run.
tovel_prefix_template() {
  local template="$TOVEL_CACHE/wineprefix-template"
  local stamp="$template/.tovel-fonts"
  local reg="$(dirname "${BASH_SOURCE[0]}")/wine-fonts.reg.txt"
  if [ -f "$stamp" ] && cmp -s "$reg" "$stamp"; then return 0; fi
  rm -rf "$template"
  mkdir -p "$template"
  WINEPREFIX="$template" wine64 wineboot -i >/dev/null 2>&1
  WINEPREFIX="$template" wineserver -w
  local utf16="$TOVEL_CACHE/wine-fonts.reg"
  { printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE "$reg"; } >"$utf16"
  WINEPREFIX="$template" wine64 regedit /S "Z:${utf16//\//\\}" >/dev/null 2>&1
  WINEPREFIX="$template" wineserver -w
  cp "$reg" "$stamp"
}

# True when $DISPLAY names a display that answers.
tovel_have_display() {
  [ -n "${DISPLAY:-}" ] && xdotool getdisplaygeometry >/dev/null 2>&1
}

# tovel_headless_start <prefix> [keep-display]: with keep-display, a working
# $DISPLAY is used as it is; otherwise the run gets a virtual display of its own.
tovel_headless_start() {
  local prefix="$1" keep="${2:-}"
  if [ -z "$keep" ] || ! tovel_have_display; then
    tovel_start_display
  fi
  tovel_start_pulse
  tovel_prefix_template
  rm -rf "$prefix"
  cp -a "$TOVEL_CACHE/wineprefix-template" "$prefix"
  export WINEPREFIX="$prefix"
  wineserver -p
  wine64 wineboot >/dev/null 2>&1 || true
}

tovel_headless_stop() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null || true
  [ -n "$TOVEL_STARTED_PULSE" ] && pulseaudio -k 2>/dev/null || true
  [ -n "$TOVEL_STARTED_XVFB" ] && kill "$TOVEL_STARTED_XVFB" 2>/dev/null || true
  TOVEL_STARTED_XVFB="" TOVEL_STARTED_PULSE=""
}

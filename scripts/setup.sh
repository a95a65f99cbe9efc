#!/bin/bash
# Installs what the build and the tests need on Debian 12 and fetches the
# libjpeg-turbo source into a cache outside the source tree. Safe to re-run.
set -euo pipefail

PACKAGES=(cmake ninja-build g++ g++-mingw-w64-x86-64-posix googletest nasm
  wine64 fonts-wine fonts-wqy-zenhei fonts-liberation fonts-dejavu-core locales
  xvfb pulseaudio pulseaudio-utils gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  imagemagick xdotool sox libsox-fmt-mp3 lame espeak-ng dpkg-dev python3)

CACHE="${TOVEL_CACHE:-$HOME/.cache/tovel}"
JPEG_TARBALL="libjpeg-turbo_2.1.5.orig.tar.gz"
JPEG_SHA256="254f3642b04e309fee775123133c6464181addc150499561020312ec61c1bf7c"

as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Wine needs a generated zh_CN.UTF-8 locale for the tests that run with code page 936.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN.utf8$'; then
  as_root localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
fi

mkdir -p "$CACHE"
if ! echo "$JPEG_SHA256  $CACHE/$JPEG_TARBALL" | sha256sum -c --status 2>/dev/null; then
  src=/etc/apt/sources.list.d/tovel-deb-src.sources
  if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ && ! grep -qs '^deb-src' /etc/apt/sources.list; then
    sed 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources | as_root tee "$src" >/dev/null
    as_root apt-get update -qq
  fi
  (cd "$CACHE" && apt-get source --download-only libjpeg-turbo >/dev/null 2>&1) || {
    as_root apt-get update -qq
    (cd "$CACHE" && apt-get source --download-only libjpeg-turbo >/dev/null)
  }
  echo "$JPEG_SHA256  $CACHE/$JPEG_TARBALL" | sha256sum -c --status || {
    echo "setup: $JPEG_TARBALL does not have the expected checksum" >&2; exit 1; }
fi
echo "setup: ready (cache: $CACHE)"

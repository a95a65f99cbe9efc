#!/bin/bash
# Installs what the build and the tests need on Debian 12 and fetches the
# libjpeg-turbo and TagLib sources into a cache outside the source tree. Safe to re-run.
set -euo pipefail

PACKAGES=(cmake ninja-build g++ g++-mingw-w64-x86-64-posix googletest nasm
  wine64 fonts-wine fonts-wqy-zenhei fonts-liberation fonts-dejavu-core locales
  xvfb pulseaudio pulseaudio-utils gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  imagemagick xdotool sox libsox-fmt-mp3 lame espeak-ng dpkg-dev python3)

CACHE="${TOVEL_CACHE:-$HOME/.cache/tovel}"
JPEG_TARBALL="libjpeg-turbo_2.1.5.orig.tar.gz"
JPEG_SHA256="254f3642b04e309fee775123133c6464181addc150499561020312ec61c1bf7c"
TAGLIB_TARBALL="taglib_1.13.orig.tar.gz"
TAGLIB_SHA256="58f08b4db3dc31ed152c04896ee9172d22052bc7ef12888028c01d8b1d60ade0"

as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }
source "$(dirname "$0")/deb_src.sh"

# Source-package entries as a file of our own beside the machine's apt sources, in the
# same layout; the machine's own files stay as they are.
add_deb_src() {
  local codename made kind
  codename=$(. /etc/os-release 2>/dev/null && echo "${VERSION_CODENAME:-bookworm}")
  made=$(tovel_deb_src /etc/apt "${codename:-bookworm}")
  kind=$(printf '%s\n' "$made" | head -n1)
  if [ -z "$kind" ]; then
    echo "setup: no Debian archive found in /etc/apt/sources.list or /etc/apt/sources.list.d" >&2
    return 1
  fi
  as_root rm -f /etc/apt/sources.list.d/tovel-deb-src.sources /etc/apt/sources.list.d/tovel-deb-src.list
  printf '%s\n' "$made" | tail -n +2 | as_root tee "/etc/apt/sources.list.d/tovel-deb-src.$kind" >/dev/null
  echo "setup: added /etc/apt/sources.list.d/tovel-deb-src.$kind for Debian's source packages"
}

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
fetch_source() { (cd "$CACHE" && apt-get source --download-only "$1" >/dev/null 2>&1); }
sources_added=0
# fetch_checked <source package> <tarball> <sha256>
fetch_checked() {
  echo "$3  $CACHE/$2" | sha256sum -c --status 2>/dev/null && return 0
  if ! fetch_source "$1"; then
    if [ "$sources_added" = 0 ]; then
      add_deb_src
      as_root apt-get update -qq || echo "setup: apt-get update reported errors; trying the download anyway" >&2
      sources_added=1
    fi
    fetch_source "$1" || {
      echo "setup: could not download Debian's $1 source package (apt-get source $1)" >&2
      exit 1
    }
  fi
  echo "$3  $CACHE/$2" | sha256sum -c --status || {
    echo "setup: $2 does not have the expected checksum" >&2; exit 1; }
}
fetch_checked libjpeg-turbo "$JPEG_TARBALL" "$JPEG_SHA256"
fetch_checked taglib "$TAGLIB_TARBALL" "$TAGLIB_SHA256"
echo "setup: ready (cache: $CACHE)"

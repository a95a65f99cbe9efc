#!/bin/bash
# The source-package entries that set-up adds, made from each of Debian 12's apt layouts.
set -u
source "$(dirname "$0")/../../scripts/deb_src.sh"
root=$(mktemp -d); trap 'rm -rf "$root"' EXIT
failed=0
check() {  # check <name> <expected> <actual>
  if [ "$2" == "$3" ]; then echo "ok: $1"; else
    echo "FAILED: $1"; echo "--- expected"; echo "$2"; echo "--- got"; echo "$3"; failed=1; fi
}

# The container image's layout: deb822 stanzas, one of another vendor, one disabled.
etc=$root/deb822; mkdir -p "$etc/sources.list.d"
cat >"$etc/sources.list.d/debian.sources" <<'X'
Types: deb
# a comment
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb
URIs: http://deb.debian.org/debian-security
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
X
cat >"$etc/sources.list.d/other.sources" <<'X'
Types: deb
URIs: https://deb.nodesource.com/node_20.x
Suites: nodistro
Components: main

Types: deb
URIs: http://mirror.example/debian
Suites: bookworm
Components: main contrib
Enabled: no
X
check "deb822 layout" "sources
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://deb.debian.org/debian-security
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg" "$(tovel_deb_src "$etc" bookworm)"

# debootstrap, WSL and cloud images: one-line sources.list only, no deb-src, other vendors.
etc=$root/oneline; mkdir -p "$etc/sources.list.d"
cat >"$etc/sources.list" <<'X'
# deb cdrom:[Debian GNU/Linux 12]/ bookworm main
deb http://deb.debian.org/debian bookworm main contrib non-free-firmware
deb http://deb.debian.org/debian bookworm main
deb [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg arch=amd64] http://security.debian.org/debian-security bookworm-security main
  deb http://deb.debian.org/debian bookworm-updates main
X
cat >"$etc/sources.list.d/docker.list" <<'X'
deb [arch=amd64] https://download.docker.com/linux/debian bookworm stable
X
check "one-line layout" "list
deb-src http://deb.debian.org/debian bookworm main
deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg arch=amd64] http://security.debian.org/debian-security bookworm-security main
deb-src http://deb.debian.org/debian bookworm-updates main" "$(tovel_deb_src "$etc" bookworm)"

# Our own file from an earlier run is never read back as a source.
cp "$etc/sources.list" "$etc/sources.list.d/tovel-deb-src.list"
rm "$etc/sources.list"
check "own file ignored" "" "$(tovel_deb_src "$etc" bookworm)"

exit $failed

#!/usr/bin/env bash
# Installs everything the build and the tests need from Debian's archive. Safe to run again.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
third=$here/third_party
stamp=/var/lib/velmora-setup.stamp
pkgs=(g++-mingw-w64-i686-posix wine wine32:i386 xvfb xdotool x11-utils imagemagick
      fonts-wqy-microhei libz-mingw-w64-dev libstb-dev googletest qtbase5-dev
      qtbase5-dev-tools cmake ninja-build python3 python3-pil zip unzip openssl
      dpkg-dev)

SUDO=
[ "$(id -u)" -eq 0 ] || SUDO=sudo

need_install=0
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
  need_install=1
fi
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || need_install=1
done

# deb-src for the main suite, so the zlib source (minizip) can be fetched.
src_list=/etc/apt/sources.list.d/velmora-src.sources
if [ ! -f "$src_list" ]; then
  $SUDO tee "$src_list" >/dev/null <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  need_install=1
fi

if [ "$need_install" = 1 ]; then
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${pkgs[@]}" >/dev/null
fi

# minizip is not packaged for mingw: take Debian's zlib source (main suite version) for contrib/minizip.
zlib_ver=1:1.2.13.dfsg-1
if [ ! -f "$third/minizip/unzip.c" ]; then
  tmp=$(mktemp -d)
  (cd "$tmp" && apt-get source --download-only -qq "zlib=$zlib_ver" >/dev/null 2>&1 || {
     $SUDO apt-get update -qq && apt-get source --download-only -qq "zlib=$zlib_ver"; })
  tarball=$(ls "$tmp"/zlib_*.orig.tar.* | head -n1)
  mkdir -p "$tmp/x" "$third/minizip"
  tar -xf "$tarball" -C "$tmp/x"
  srcdir=$(find "$tmp/x" -type d -path '*contrib/minizip' | head -n1)
  cp "$srcdir"/{ioapi.c,ioapi.h,unzip.c,unzip.h,crypt.h,iowin32.c,iowin32.h} "$third/minizip/"
  rm -rf "$tmp"
fi
echo "setup: ready"

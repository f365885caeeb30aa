#!/usr/bin/env bash
# Installs everything the build and the tests need from Debian's archive. Safe to run again.
#
# The default build is 64-bit and runs under the 64-bit Wine loader only: no i386 architecture.
# ZV_WIN_ARCH=i686 also installs 32-bit Wine, for the optional 32-bit build's tests.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
third=$here/third_party
pkgs=(g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix wine64 xvfb xdotool x11-utils imagemagick
      fonts-wqy-microhei libz-mingw-w64-dev libstb-dev googletest qtbase5-dev
      qtbase5-dev-tools cmake ninja-build python3 python3-pil zip unzip openssl
      dpkg-dev)
zlib_ver=1:1.2.13.dfsg-1

SUDO=
[ "$(id -u)" -eq 0 ] || SUDO=sudo
export DEBIAN_FRONTEND=noninteractive

say() { echo "setup: $*" >&2; }

if [ "${ZV_WIN_ARCH:-x86_64}" = i686 ]; then
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  pkgs+=(wine32:i386)
fi

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

missing=()
for p in "${pkgs[@]}"; do installed "$p" || missing+=("$p"); done

# The release this machine is on (bookworm on Debian 12): install targets and the zlib source come from it.
codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
[ -n "$codename" ] || codename=$(awk -F= '/^VERSION_CODENAME=/{print $2}' /etc/os-release 2>/dev/null)

# The address and key of the machine's own entry for the base release, from its apt sources
# (deb822 .sources files first, then one-line lists). Prints "URI<TAB>KEYRING" (keyring may be empty).
base_release_source() {
  local f
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    awk -v rel="$codename" '
      function flush() {
        if (types ~ /(^| )deb( |$)/ && (" " suites " ") ~ (" " rel " ") && uri != "") { print uri "\t" key; found = 1; exit }
        types = ""; suites = ""; uri = ""; key = ""
      }
      /^[ \t]*#/ { next }
      /^[ \t]*$/ { flush(); next }
      /^Types:/      { sub(/^Types:[ \t]*/, "");      types = $0 }
      /^URIs:/       { sub(/^URIs:[ \t]*/, "");       split($0, u, /[ \t]+/); uri = u[1] }
      /^Suites:/     { sub(/^Suites:[ \t]*/, "");     suites = $0 }
      /^Signed-By:/  { sub(/^Signed-By:[ \t]*/, "");  key = $0 }
      END { if (!found) flush() }' "$f" | head -n1 | grep . && return 0
  done
  local lists=()
  [ -f /etc/apt/sources.list ] && lists+=(/etc/apt/sources.list)
  for f in /etc/apt/sources.list.d/*.list; do [ -f "$f" ] && lists+=("$f"); done
  [ ${#lists[@]} -gt 0 ] || return 1
  # deb [options] URI SUITE components...
  awk -v rel="$codename" '
    $1 == "deb" {
      i = 2; key = ""
      if ($2 ~ /^\[/) { while (i <= NF && $i !~ /\]$/) { if ($i ~ /signed-by=/) { key = $i; sub(/.*signed-by=/, "", key) } i++ }
                        if ($i ~ /signed-by=/) { key = $i; sub(/.*signed-by=/, "", key); sub(/\]$/, "", key) } i++ }
      if ($(i + 1) == rel) { print $i "\t" key; exit }
    }' "${lists[@]}" | head -n1 | grep .
}

# apt-get update, tolerating an index that fails for a while (a mirror in the middle of a sync):
# tried three times, then the lists we have are used as they are.
apt_update() {
  local try
  for try in 1 2 3; do
    if $SUDO apt-get update -qq 2>/tmp/velmora-apt-update.err; then return 0; fi
    say "apt-get update failed (try $try of 3): $(grep -m1 -E '^(E|W):' /tmp/velmora-apt-update.err || true)"
    sleep $((try * 3))
  done
  say "going on with the package lists that could be read"
  return 0
}

# Installs the given packages; when the suites disagree ("held broken packages"), installs again
# with the base release as the target release. On failure names the packages that cannot be had.
apt_install() {
  local log=/tmp/velmora-apt-install.log
  if $SUDO apt-get install -y -qq --no-install-recommends "$@" >"$log" 2>&1; then return 0; fi
  say "install failed; trying again with '$codename' as target release"
  if [ -n "$codename" ] &&
     $SUDO apt-get install -y -qq --no-install-recommends -t "$codename" "$@" >"$log" 2>&1; then
    return 0
  fi
  local p cand lost=()
  for p in "$@"; do
    cand=$(apt-cache policy "$p" 2>/dev/null | awk '/Candidate:/{print $2}')
    { [ -z "$cand" ] || [ "$cand" = "(none)" ]; } && ! installed "$p" && lost+=("$p")
  done
  tail -n 15 "$log" >&2
  if [ ${#lost[@]} -gt 0 ]; then
    say "these packages cannot be had from this machine's archive: ${lost[*]}"
  else
    say "apt-get could not install: $*"
  fi
  return 1
}

updated=0
if [ ${#missing[@]} -gt 0 ]; then
  say "installing ${missing[*]}"
  apt_update; updated=1
  apt_install "${missing[@]}"
fi

# minizip is not packaged for mingw: take it from Debian's zlib source package, through a deb-src
# entry for the base release made from the machine's own entry for it.
if [ ! -f "$third/minizip/unzip.c" ]; then
  src_list=/etc/apt/sources.list.d/velmora-src.sources
  if [ ! -f "$src_list" ]; then
    if ! src=$(base_release_source); then
      say "no apt source for '$codename' found in /etc/apt; cannot fetch the zlib source for minizip"
      exit 1
    fi
    uri=${src%%$'\t'*}; key=${src#*$'\t'}
    {
      echo "Types: deb-src"
      echo "URIs: $uri"
      echo "Suites: $codename"
      echo "Components: main"
      [ -n "$key" ] && echo "Signed-By: $key"
    } | $SUDO tee "$src_list" >/dev/null
    updated=0
  fi
  tmp=$(mktemp -d)
  trap 'rm -rf "$tmp"' EXIT
  fetch_zlib() {
    # The base release's version first: other suites' source may be listed but not served.
    (cd "$tmp" && { apt-get source --download-only -qq "zlib=$zlib_ver" >/dev/null 2>&1 ||
                    apt-get source --download-only -qq zlib >/dev/null 2>&1; })
  }
  if ! fetch_zlib; then
    [ "$updated" = 1 ] || apt_update
    if ! fetch_zlib; then
      say "the zlib source package (for minizip) cannot be had from this machine's archive"
      exit 1
    fi
  fi
  tarball=$(ls "$tmp"/zlib_*.orig.tar.* | head -n1)
  mkdir -p "$tmp/x" "$third/minizip"
  tar -xf "$tarball" -C "$tmp/x"
  srcdir=$(find "$tmp/x" -type d -path '*contrib/minizip' | head -n1)
  cp "$srcdir"/{ioapi.c,ioapi.h,unzip.c,unzip.h,crypt.h,iowin32.c,iowin32.h} "$third/minizip/"
fi
echo "setup: ready"

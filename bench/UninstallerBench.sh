#!/usr/bin/env bash
# Uninstaller bench: the time from start to the first painted frame of ZVUnInstall against a bare
# QWidget window started the same way, on its own Xvfb display with a throw-away profile.
# Usage: bench/UninstallerBench.sh [BUILD_DIR] [runs]   (BUILD_DIR defaults to ./build)
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
runs=${2:-11}
native=$build/native
program=$(cat "$native/bench/uninstaller-bench.cfg" 2>/dev/null)
harness=$native/bench/UninstallerBench
bare=$native/bench/UninstallerBenchWindow
for f in "${program:-$native/bench/uninstaller-bench.cfg}" "$harness" "$bare"; do
  [ -f "$f" ] || { echo "missing $f: build first (BUILD_DIR=$build bash scripts/build.sh)" >&2; exit 2; }
done

work=$(mktemp -d /tmp/zvunbench.XXXXXX)
xvfb_pid=
trap '[ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null; rm -rf "$work"' EXIT

# A free display number; a black root, so any painted pixel differs from the empty screen.
n=90
while [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ]; do n=$((n + 1)); done
export DISPLAY=:$n
Xvfb "$DISPLAY" -screen 0 1600x1200x24 -br -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.05; done

# The profile: the product's APP.ini says the retention screen is done, so the window shows at once.
export HOME=$work XDG_DATA_HOME=$work/AppData/Roaming XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_DATA_HOME/Velmora" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
printf '[user]\r\nuninstreturn=1\r\n' >"$XDG_DATA_HOME/Velmora/APP.ini"
export QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8

timeout 600 "$harness" "$program" "$bare" "$runs"

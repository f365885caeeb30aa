#!/usr/bin/env bash
# Installer bench: size of the stripped installer.exe and its start-up time against a bare
# Win32 window built with the same toolchain and flags, and against a window that takes the
# installer's window steps without its skin. Runs under its own Xvfb and Wine prefix.
# Usage: bench/InstallerBench.sh [BUILD_DIR] [runs]   (BUILD_DIR defaults to ./build)
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
runs=${2:-11}
win=$build/win
installer=$(cat "$win/bench/installer-bench.cfg" 2>/dev/null)
harness=$win/bench/InstallerBench.exe
bare=$win/bench/InstallerBenchWindow.exe
steps=$win/bench/InstallerBenchSteps.exe
for f in "${installer:-$win/bench/installer-bench.cfg}" "$harness" "$bare" "$steps"; do
  [ -f "$f" ] || { echo "missing $f: build first (BUILD_DIR=$build bash scripts/build.sh)" >&2; exit 2; }
done

work=$(mktemp -d /tmp/zvbench.XXXXXX)
. "$root/scripts/wine-env.sh"
trap 'wine_env_stop; rm -rf "$work"' EXIT
# The strip and the Wine loader that match the build (64-bit unless configured with ZV_WIN_ARCH=i686).
ZV_WIN_ARCH=$(zv_build_arch "$build")
export ZV_WIN_ARCH
strip=$ZV_WIN_ARCH-w64-mingw32-strip

# A Release build strips the installer itself; the baselines are stripped here to match.
cp "$installer" "$work/installer.exe"
"$strip" -o "$work/bare.exe" "$bare"
"$strip" -o "$work/steps.exe" "$steps"
size=$(stat -c %s "$work/installer.exe")
echo "$ZV_WIN_ARCH build"
echo "installer.exe as built: $size bytes ($(awk "BEGIN{printf \"%.2f\", $size/1048576}") MB, goal <= 1.50 MB)"
echo "bare window stripped:   $(stat -c %s "$work/bare.exe") bytes"

wine_env_start || exit 2
winpath() { local p; p=$(readlink -f "$1"); echo "Z:${p//\//\\}"; }
timeout 600 "$WINE" "$harness" "$(winpath "$work/installer.exe")" "$(winpath "$work/bare.exe")" "$runs" \
  "$(winpath "$work/steps.exe")" </dev/null \
  >"$work/bench.log" 2>&1
status=$?
cat "$work/bench.log"
exit $status

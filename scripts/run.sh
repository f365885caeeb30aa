#!/usr/bin/env bash
# Builds everything and runs the main job: the setup program in a Wine window (on the current DISPLAY, or a fresh Xvfb).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$here/build}

bash "$here/scripts/setup.sh"
BUILD_DIR=$build bash "$here/scripts/build.sh"

prog=$build/win/setup/installer.exe
. "$here/scripts/wine-env.sh"
ZV_WIN_ARCH=$(zv_build_arch "$build")
export ZV_WIN_ARCH
trap wine_env_stop EXIT
if [ -n "${DISPLAY:-}" ] && [ -z "${CI:-}" ]; then keep=$DISPLAY; fi
wine_env_start
[ -n "${keep:-}" ] && export DISPLAY=$keep
"$WINE" "$prog"

#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test once; arguments go to ctest (e.g. -R Xml).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$here/build}

bash "$here/scripts/setup.sh"
BUILD_DIR=$build bash "$here/scripts/build.sh"

. "$here/scripts/wine-env.sh"
ZV_WIN_ARCH=$(zv_build_arch "$build")
export ZV_WIN_ARCH
trap wine_env_stop EXIT
wine_env_start
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
ctest --test-dir "$build" --output-on-failure "$@"

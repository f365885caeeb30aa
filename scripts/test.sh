#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test once; arguments go to ctest (e.g. -R Xml).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$here/build}

# One stream, so a failure's words stand in the log beside what led to it; a step that ends the
# run early is named.
exec 2>&1
trap 'rc=$?; echo "test.sh: line $LINENO ended the run (exit $rc): $(sed -n "${LINENO}p" "$0")"' ERR

bash "$here/scripts/setup.sh"
BUILD_DIR=$build bash "$here/scripts/build.sh"

. "$here/scripts/wine-env.sh"
ZV_WIN_ARCH=$(zv_build_arch "$build")
export ZV_WIN_ARCH
trap wine_env_stop EXIT
wine_env_start
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
# ctest's own summary is the last line, whatever it reports.
trap - ERR
ctest --test-dir "$build" --output-on-failure "$@"

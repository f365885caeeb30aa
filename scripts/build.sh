#!/usr/bin/env bash
# Configures and builds both trees: the cross-built Windows programs and tests (win) and the Qt uninstaller (native).
# BUILD_DIR picks the build folder (default: build); extra arguments go to cmake at configure time.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$here/build}
jobs=$(nproc)

cmake -S "$here" -B "$build/win" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$here/cmake/toolchain-mingw.cmake" "$@" >/dev/null
cmake --build "$build/win" -j "$jobs"

cmake -S "$here" -B "$build/native" -G Ninja -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
cmake --build "$build/native" -j "$jobs"

# One CTest run covers both trees, so the output ends with a single summary line.
cat > "$build/CTestTestfile.cmake" <<CT
subdirs("win")
subdirs("native")
CT

#!/usr/bin/env bash
# The image cost bench on an older revision and on this tree, alternately in one Wine session:
# the older revision is exported, given this tree's bench sources, and only the bench is built.
# Usage: bench/ImageCostBench.sh [BUILD_DIR] [OLD_REVISION] [ROUNDS] [RUNS]
#        (defaults: ./build main 1 1; BUILD_DIR must hold this tree's build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(readlink -f "${1:-$root/build}")
old=${2:-main}
rounds=${3:-1}
runs=${4:-1}
new_bench=$build/win/bench/ImageCostBench.exe
[ -f "$new_bench" ] || { echo "missing $new_bench: build first (cmake --build $build/win --target ImageCostBench)" >&2; exit 2; }

old_root=$build/image-cost-old
rm -rf "$old_root/src"
mkdir -p "$old_root/src"
git -C "$root" archive "$old" | tar -x -C "$old_root/src"
cp -r "$root/third_party/minizip" "$old_root/src/third_party/"
cp "$root"/bench/{ImageCostBench.cpp,ImageCostBench.cmake,ImageCostInputs.cpp,ImageCostInputs.h,PeakMemory.h} "$old_root/src/bench/"
# The same input generators on both sides.
cp "$root"/tests/core/hostile/ImageBytes.{cpp,h} "$old_root/src/tests/core/hostile/"
grep -q ImageCostBench.cmake "$old_root/src/bench/CMakeLists.txt" ||
  echo 'include(${CMAKE_CURRENT_SOURCE_DIR}/ImageCostBench.cmake)' >>"$old_root/src/bench/CMakeLists.txt"
cmake -S "$old_root/src" -B "$old_root/win" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$old_root/src/cmake/toolchain-mingw.cmake" \
  -DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache >/dev/null
cmake --build "$old_root/win" --target ImageCostBench -j 4 >/dev/null
old_bench=$old_root/win/bench/ImageCostBench.exe

. "$root/scripts/wine-env.sh"
trap wine_env_stop EXIT
wine_env_start
for round in $(seq "$rounds"); do
  echo "--- round $round"
  "$WINE" "$old_bench" "$runs" "old: $old $(git -C "$root" rev-parse --short "$old")" || true
  "$WINE" "$new_bench" "$runs" "new: $(git -C "$root" rev-parse --short HEAD)$(git -C "$root" diff --quiet || echo '+changes')" || true
done

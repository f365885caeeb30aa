#!/usr/bin/env bash
# Longer runs of the random row-sequence test (tests/extra/random): one run per seed, each of the
# given number of steps, under its own Xvfb and Wine prefix. A failing run prints its seed, step
# and last operations; run that seed again to see it once more.
# Usage: bench/row_sequences.sh [BUILD_DIR] [steps] [first seed] [runs]   (defaults: ./build 20000 1 1)
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
steps=${2:-20000}
seed=${3:-1}
runs=${4:-1}
program=$build/win/tests/extra/random/RowSequenceTest.exe
[ -f "$program" ] || { echo "missing $program: build first (BUILD_DIR=$build bash scripts/build.sh)" >&2; exit 2; }

. "$root/scripts/wine-env.sh"
trap 'wine_env_stop' EXIT
wine_env_start || exit 2
failed=0
for ((i = 0; i < runs; i++)); do
  s=$((seed + i))
  if ZV_ROW_SEED=$s ZV_ROW_STEPS=$steps WINEDEBUG=err+all "$WINE" "$program" </dev/null >"/tmp/zvrows.$$.log" 2>&1; then
    echo "seed $s: $steps steps passed"
  else
    failed=$((failed + 1))
    grep -E '^(seed|  |.*Failure|err:)' "/tmp/zvrows.$$.log" | grep -v '^err:.*fixme' | head -40
  fi
done
rm -f "/tmp/zvrows.$$.log"
echo "row sequences: $runs runs of $steps steps from seed $seed, $failed failed"
[ "$failed" -eq 0 ]

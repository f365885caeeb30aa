#!/usr/bin/env bash
# Longer runs of the random window-sequence test (tests/extra/random): one run per seed, each of
# the given number of steps, in one Xvfb and Wine prefix, with Wine's error channel watched. A
# failing run prints its seed, step and last operations; run that seed again to see it once more.
# ZV_WIN_SKIP passes through (checks to leave out, by the tags a failure shows).
# Usage: bench/window_sequences.sh [BUILD_DIR] [steps] [first seed] [runs]   (defaults: ./build 10000 1 1)
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
steps=${2:-10000}
seed=${3:-1}
runs=${4:-1}
program=$build/win/tests/extra/random/WindowSequenceTest.exe
[ -f "$program" ] || { echo "missing $program: build first (BUILD_DIR=$build bash scripts/build.sh)" >&2; exit 2; }

. "$root/scripts/wine-env.sh"
trap 'wine_env_stop' EXIT
wine_env_start || exit 2
failed=0
out=$(mktemp /tmp/zvwindows.XXXXXX)
for ((i = 0; i < runs; i++)); do
  s=$((seed + i))
  start=$(date +%s)
  if ZV_WIN_SEED=$s ZV_WIN_STEPS=$steps bash "$root/tests/extra/random/run_watched.sh" "$program" </dev/null >"$out" 2>&1; then
    echo "seed $s: $steps steps passed in $(( $(date +%s) - start )) s"
  else
    failed=$((failed + 1))
    grep -E '^(seed|frames|last steps|  |.*Failure|--- Wine|[0-9a-f]*:?err:)' "$out" | head -60
  fi
done
rm -f "$out"
echo "window sequences: $runs runs of $steps steps from seed $seed, $failed failed"
[ "$failed" -eq 0 ]

#!/usr/bin/env bash
# Loader fuzz run for a bounded time: restarts LoaderFuzz.exe with a new seed after each crash,
# hang or image over budget and keeps the input that caused it. Runs under its own Xvfb and Wine prefix.
# Usage: bench/fuzz/fuzz.sh [BUILD_DIR] [seconds] [first seed]   (defaults: ./build 120 1)
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build}
total=${2:-120}
seed=${3:-1}
fuzzer=$build/win/bench/LoaderFuzz.exe
[ -f "$fuzzer" ] || { echo "missing $fuzzer: build first (BUILD_DIR=$build bash scripts/build.sh)" >&2; exit 2; }

work=$(mktemp -d /tmp/zvfuzz.XXXXXX)
findings=${ZV_FUZZ_FINDINGS:-$root/build/fuzz-findings}
mkdir -p "$findings"
. "$root/scripts/wine-env.sh"
trap 'wine_env_stop; rm -rf "$work"' EXIT
wine_env_start || exit 2
winpath() { local p; p=$(readlink -f "$1"); echo "Z:${p//\//\\}"; }

deadline=$(( $(date +%s) + total ))
crashes=0
hangs=0
budgets=0
runs=0
while :; do
  left=$(( deadline - $(date +%s) ))
  [ "$left" -gt 2 ] || break
  runs=$((runs + 1))
  timeout $((left + 30)) "$WINE" "$fuzzer" "$left" "$seed" "$(winpath "$work")" </dev/null >"$work/log" 2>&1
  status=$?
  grep -E '^(LoaderFuzz|  |HANG|CRASH|OVER BUDGET)' "$work/log"
  if [ "$status" -ne 0 ]; then
    latest=$(ls -t "$work"/current.* 2>/dev/null | head -1)
    case $status in
      3) hangs=$((hangs + 1)); kind=hang ;;
      4) budgets=$((budgets + 1)); kind=budget ;;
      *) crashes=$((crashes + 1)); kind=crash ;;
    esac
    [ -n "$latest" ] && cp "$latest" "$findings/$kind-seed$seed-$(basename "$latest")"
    echo "$kind with seed $seed (exit $status); input kept in $findings"
  fi
  seed=$((seed + 1))
done
echo "fuzz: $total s, $runs process runs, $crashes crashes, $hangs hangs, $budgets images over budget"
[ $((crashes + hangs + budgets)) -eq 0 ]

#!/usr/bin/env bash
# Runs a test program under Wine with Wine's error channel written to a file that the program
# reads after each of its steps (ZV_WIN_ERR_LOG); a failed run ends with the channel's last lines.
# Usage: run_watched.sh PROGRAM [ARGS...]   (inside scripts/wine-env.sh's environment)
set -u
program=$1
shift
if [ -z "${WINE:-}" ] || [ -z "${WINEPREFIX:-}" ]; then
  echo "run_watched: no Wine environment; run the tests through scripts/test.sh" >&2
  exit 2
fi
log=$(mktemp /tmp/zvwinerr.XXXXXX)
trap 'rm -f "$log"' EXIT
ZV_WIN_ERR_LOG="Z:$(printf '%s' "$log" | tr / '\\')" WINEDEBUG=err+all "$WINE" "$program" "$@" 2>"$log"
rc=$?
if [ "$rc" -ne 0 ]; then
  echo "--- Wine's error channel, last lines:"
  grep -v ':fixme:' "$log" | tail -n 30
fi
exit "$rc"

#!/usr/bin/env bash
# CTest's emulator for cross-built tests: runs one Windows program under the prepared Wine environment.
if [ -z "${WINEPREFIX:-}" ] || [ -z "${WINE:-}" ]; then
  echo "wine-exec: no Wine environment; run the tests through scripts/test.sh" >&2
  exit 2
fi
exec "$WINE" "$@"

#!/usr/bin/env bash
# Screenshots of the installer's four pages and its two message boxes at 100 % and 200 %,
# written as PNG files to OUT_DIR. Brings up its own Xvfb, Wine prefix and loopback server.
# Usage: tests/setup/e2e/screenshots.sh OUT_DIR [BUILD_DIR]   (BUILD_DIR defaults to ./build)
set -u
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../../.." && pwd)
out=${1:?usage: screenshots.sh OUT_DIR [BUILD_DIR]}
build=${2:-$root/build}
config=$build/win/tests/setup/e2e/e2e-config.sh
if [ ! -f "$config" ]; then
  echo "no $config: build the installer's e2e variants first" >&2
  exit 2
fi
# shellcheck source=/dev/null
. "$config"
mkdir -p "$out"
out=$(cd "$out" && pwd)

. "$root/scripts/wine-env.sh"
work=$(mktemp -d /tmp/zvshots.XXXXXX)
server_pid=
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null && wait "$server_pid" 2>/dev/null
  wine_env_stop
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY all_proxy ALL_PROXY

winpath() { local p; p=$(readlink -f "$1"); echo "Z:${p//\//\\}"; }

# The idle stand-in never reports itself active, so the progress page stays up for its shot.
python3 "$here/e2e_server.py" --ok-port "$E2E_OK_PORT" --fail-port "$E2E_FAIL_PORT" \
  --full-setup "$E2E_IDLE_SETUP" --log "$work/requests.log" --ready-file "$work/ready" >/dev/null 2>&1 &
server_pid=$!
for _ in $(seq 1 100); do [ -s "$work/ready" ] && break; sleep 0.1; done
[ -s "$work/ready" ] || { echo "server did not start" >&2; exit 1; }

ZV_WIN_ARCH=$(zv_build_arch "$build")
export ZV_WIN_ARCH
wine_env_start || exit 2
status=0
for dpi in 96 192; do
  # Shots at a scale that was not set would be taken as that scale's.
  wine_reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d $dpi /f || { status=1; continue; }
  percent=$((dpi * 100 / 96))
  mkdir -p "$work/bmp"
  timeout 180 "$WINE" "$E2E_SHOT_TOOL" "$(winpath "$E2E_INSTALLER_OK")" "$(winpath "$E2E_INSTALLER_FAIL")" \
    "$(winpath "$work/bmp")" "$percent" </dev/null >"$work/shots-$percent.log" 2>&1 || status=1
  cat "$work/shots-$percent.log"
  for bmp in "$work"/bmp/*.bmp; do
    [ -e "$bmp" ] || continue
    convert "$bmp" "$out/$(basename "${bmp%.bmp}").png" && rm -f "$bmp"
  done
done
ls -1 "$out"
exit $status

#!/usr/bin/env bash
# Screenshots of the animated and simple controls' gallery window at 100 % and 200 %, each at two
# moments of its animations, written as PNG files to OUT_DIR.
# Usage: tests/extra/anim/gallery_shots.sh OUT_DIR [BUILD_DIR]   (BUILD_DIR defaults to ./build)
set -u
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../../.." && pwd)
out=${1:?usage: gallery_shots.sh OUT_DIR [BUILD_DIR]}
build=${2:-$root/build}
exe=$build/win/tests/extra/anim/zvui_anim_tests.exe
[ -f "$exe" ] || { echo "no $exe: build zvui_anim_tests first" >&2; exit 2; }
mkdir -p "$out"
out=$(cd "$out" && pwd)

. "$root/scripts/wine-env.sh"
trap wine_env_stop EXIT
wine_env_start || exit 2
status=0
for dpi in 96 192; do
  # Shots at a scale that was not set would be taken as that scale's.
  wine_reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d $dpi /f || { status=1; continue; }
  percent=$((dpi * 100 / 96))
  ZV_GALLERY_HOLD_MS=4000 timeout 120 "$WINE" "$exe" --gtest_filter=SkinGallery.* >"$out/gallery-$percent.log" 2>&1 &
  run=$!
  # The tabs switch and the button fades every 0.9 s: one shot early in a slide, one at rest.
  sleep 2.05
  import -window root -display "$DISPLAY" -crop 1300x900+0+0 "$out/gallery-$percent-a.png"
  sleep 0.5
  import -window root -display "$DISPLAY" -crop 1300x900+0+0 "$out/gallery-$percent-b.png"
  wait $run || status=1
  tail -1 "$out/gallery-$percent.log"
done
exit $status

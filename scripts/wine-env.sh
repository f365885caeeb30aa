#!/usr/bin/env bash
# Source this file: wine_env_start brings up Xvfb, a fresh 32-bit prefix and one persistent wineserver;
# wine_env_stop ends exactly what it started.
_zv_pids=()

wine_env_start() {
  local n
  for n in $(seq 91 199); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || break
  done
  export DISPLAY=:$n
  Xvfb "$DISPLAY" -screen 0 1600x1200x24 -nolisten tcp >/dev/null 2>&1 &
  _zv_pids+=($!)
  local i
  for i in $(seq 1 100); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.05; done

  ZV_WINE_TMP=$(mktemp -d /tmp/zvwine.XXXXXX)
  export ZV_WINE_TMP
  export WINEPREFIX=$ZV_WINE_TMP/prefix WINEARCH=win32
  export WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all LC_ALL=C.UTF-8
  wineboot -i >/dev/null 2>&1
  wineserver -w
  # Map the skin's font names to the CJK font so Chinese text renders.
  local face
  for face in "微软雅黑" "Microsoft YaHei" "Microsoft YaHei UI" "宋体" "SimSun" "新宋体" "NSimSun"; do
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /d 'WenQuanYi Micro Hei' /f >/dev/null 2>&1
  done
  # No window manager runs on Xvfb: unmanaged windows spare Wine its 2 s wait for one whenever
  # a captioned window is hidden.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  wineserver -w
  wineserver -f -p >/dev/null 2>&1 &
  _zv_pids+=($!)
  sleep 0.2
  # The first program of a session starts Wine's services; start them here, away from ctest's
  # output pipe, which they would otherwise hold open until the test times out.
  wine cmd /c exit >/dev/null 2>&1 </dev/null
}

wine_env_stop() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k >/dev/null 2>&1 || true
  local p
  for p in "${_zv_pids[@]}"; do kill "$p" 2>/dev/null || true; done
  for p in "${_zv_pids[@]}"; do wait "$p" 2>/dev/null || true; done
  _zv_pids=()
  [ -n "${ZV_WINE_TMP:-}" ] && rm -rf "$ZV_WINE_TMP"
  return 0
}

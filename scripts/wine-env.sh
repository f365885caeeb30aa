#!/usr/bin/env bash
# Source this file: wine_env_start brings up Xvfb, a fresh prefix and one persistent wineserver;
# wine_env_stop ends exactly what it started.
#
# ZV_WIN_ARCH (x86_64 by default, or i686) picks the Wine loader. The 64-bit loader is called by its
# path: Debian's `wine` command takes the 32-bit loader whenever wine32 is installed, and that loader
# cannot run at all on machines without 32-bit emulation. Exports WINE and WINESERVER for callers.
_zv_pids=()

# Prints the Windows architecture a build tree was configured for (x86_64 when unknown).
zv_build_arch() {
  local cache=$1/win/CMakeCache.txt arch=
  [ -f "$cache" ] && arch=$(sed -n 's/^ZV_WIN_ARCH:[A-Z]*=//p' "$cache")
  echo "${arch:-x86_64}"
}

zv_wine_select() {
  case "${ZV_WIN_ARCH:-x86_64}" in
    x86_64)
      export WINE=/usr/lib/wine/wine64 WINESERVER=/usr/lib/wine/wineserver64 WINEARCH=win64 ;;
    i686)
      # The 32-bit loader in a 64-bit prefix: a 32-bit program on 64-bit Windows, under WOW64, as
      # users run it (needs wine32:i386 and a machine that runs 32-bit code).
      export WINE=/usr/lib/wine/wine WINESERVER=/usr/lib/wine/wineserver WINEARCH=win64 ;;
    *) echo "wine-env: unknown ZV_WIN_ARCH '$ZV_WIN_ARCH'" >&2; return 2 ;;
  esac
  if [ ! -x "$WINE" ]; then
    echo "wine-env: $WINE is missing (run scripts/setup.sh)" >&2
    return 2
  fi
}

# Runs one Wine command, up to three times. Under load a `reg add` on a fresh prefix was seen to
# fail now and then, and under set -e that ended the caller without a word. A failure that stays
# is named with the command's last lines. Usage: wine_try WHAT COMMAND...
wine_try() {
  local what=$1 try rc=0 log
  shift
  log=$(mktemp /tmp/zvwine-try.XXXXXX)
  for try in 1 2 3; do
    "$@" >"$log" 2>&1 </dev/null && { rm -f "$log"; return 0; }
    rc=$?
    sleep 0.5
  done
  echo "wine-env: $what failed three times (exit $rc):" >&2
  tail -n 5 "$log" >&2
  rm -f "$log"
  return 2
}

# `reg` in the current prefix, through wine_try. Usage: wine_reg add 'HKCU\...' /v NAME /d VALUE /f
wine_reg() {
  wine_try "reg $1 $2 ${4:-}" "$WINE" reg "$@"
}

wine_env_start() {
  zv_wine_select || return
  # A free display: another run can take the same number at the same moment, so a server that
  # does not come up (or dies at once) makes us try the next one.
  local n i pid=
  for n in $(seq 91 199); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1600x1200x24 -nolisten tcp >/dev/null 2>&1 &
    pid=$!
    for i in $(seq 1 100); do
      { [ -e "/tmp/.X11-unix/X$n" ] || ! kill -0 "$pid" 2>/dev/null; } && break
      sleep 0.05
    done
    sleep 0.1
    if kill -0 "$pid" 2>/dev/null && [ -e "/tmp/.X11-unix/X$n" ]; then
      break
    fi
    # Its exit status is not ours: under set -e a lost race for the display would end the caller.
    wait "$pid" 2>/dev/null || true
    pid=
  done
  if [ -z "$pid" ]; then
    echo "wine-env: no X display could be started" >&2
    return 2
  fi
  _zv_pids+=("$pid")
  export DISPLAY=:$n

  ZV_WINE_TMP=$(mktemp -d /tmp/zvwine.XXXXXX)
  export ZV_WINE_TMP
  export WINEPREFIX=$ZV_WINE_TMP/prefix
  # winedbg off: a crashing test ends at once instead of waiting in the debugger until its timeout.
  export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d" WINEDEBUG=-all LC_ALL=C.UTF-8
  # Seen once in many runs: wineboot failing on a fresh prefix. A second prefix is tried before
  # giving up, and the failure is named instead of ending a set -e caller without a word.
  local attempt
  for attempt in 1 2; do
    "$WINE" wineboot -i >"$ZV_WINE_TMP/wineboot.log" 2>&1 && "$WINESERVER" -w && break
    "$WINESERVER" -k >/dev/null 2>&1 || true
    if [ "$attempt" = 2 ]; then
      echo "wine-env: the Wine prefix could not be made in $WINEPREFIX:" >&2
      tail -n 5 "$ZV_WINE_TMP/wineboot.log" >&2
      wine_env_stop
      return 2
    fi
    rm -rf "$WINEPREFIX"
  done
  # Map the skin's font names to the CJK font so Chinese text renders.
  local face
  for face in "微软雅黑" "Microsoft YaHei" "Microsoft YaHei UI" "宋体" "SimSun" "新宋体" "NSimSun"; do
    wine_reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /d 'WenQuanYi Micro Hei' /f ||
      { wine_env_stop; return 2; }
  done
  # No window manager runs on Xvfb: unmanaged windows spare Wine its 2 s wait for one whenever
  # a captioned window is hidden.
  wine_reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f || { wine_env_stop; return 2; }
  "$WINESERVER" -w || true
  "$WINESERVER" -f -p >/dev/null 2>&1 &
  _zv_pids+=($!)
  sleep 0.2
  # The first program of a session starts Wine's services; start them here, away from ctest's
  # output pipe, which they would otherwise hold open until the test times out.
  wine_try "starting Wine's services" "$WINE" cmd /c exit || { wine_env_stop; return 2; }
}

wine_env_stop() {
  [ -n "${WINEPREFIX:-}" ] && [ -n "${WINESERVER:-}" ] && "$WINESERVER" -k >/dev/null 2>&1 || true
  local p
  for p in "${_zv_pids[@]}"; do kill "$p" 2>/dev/null || true; done
  for p in "${_zv_pids[@]}"; do wait "$p" 2>/dev/null || true; done
  _zv_pids=()
  [ -n "${ZV_WINE_TMP:-}" ] && rm -rf "$ZV_WINE_TMP"
  return 0
}

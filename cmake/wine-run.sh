#!/usr/bin/env bash
# Runs a Windows program of the build under 32-bit Wine for CTest and the scripts.
#   wine-run.sh BUILD_DIR program.exe [args...]
# The Wine prefix lives in BUILD_DIR/wineprefix. A persistent wineserver and an
# Xvfb display are started detached from our output pipe: CTest waits for every
# process that holds its pipe, so nothing long-lived may inherit it.
set -u
mkdir -p "$1"
build_dir=$(cd "$1" && pwd); shift

export WINEARCH=win32
export WINEPREFIX="$build_dir/wineprefix"
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono/Gecko prompts, and no debugger that would hang a crashed program.
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
export QEL_DISPLAY_NUMBER=${QEL_DISPLAY_NUMBER:-97}
export DISPLAY=":$QEL_DISPLAY_NUMBER"

display_answers() {
  xdpyinfo -display "$DISPLAY" >/dev/null 2>&1
}

start_display() {
  display_answers && return 0
  # A server that died leaves its lock and socket behind; they would stop a new one.
  if [ -e "/tmp/.X$QEL_DISPLAY_NUMBER-lock" ] && ! pgrep -f "Xvfb $DISPLAY " >/dev/null; then
    rm -f "/tmp/.X$QEL_DISPLAY_NUMBER-lock" "/tmp/.X11-unix/X$QEL_DISPLAY_NUMBER"
  fi
  (setsid Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp </dev/null >/dev/null 2>&1 &)
  for _ in $(seq 1 100); do
    display_answers && return 0
    sleep 0.05
  done
  echo "wine-run: Xvfb did not start on $DISPLAY" >&2
  return 1
}

prepare_prefix() {
  mkdir -p "$build_dir"
  exec 9>"$build_dir/wineprefix.lock"
  flock 9
  if [ ! -f "$WINEPREFIX/.qel-ready" ]; then
    wineboot -i </dev/null >/dev/null 2>&1
    # Without a window manager every dialog close would wait for one.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.qel-ready"
  fi
  (setsid wineserver -p </dev/null >/dev/null 2>&1 &)
  flock -u 9
}

start_display || exit 1
prepare_prefix

out=$(mktemp)
wine "$@" >"$out" 2>&1 </dev/null
rc=$?
cat "$out"
rm -f "$out"
exit $rc

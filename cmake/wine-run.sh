#!/usr/bin/env bash
# Runs a Windows program of the build under 32-bit Wine for CTest and the scripts.
#   wine-run.sh BUILD_DIR program.exe [args...]
# The Wine prefix lives in BUILD_DIR/wineprefix; QEL_WINE_PREFIX=NAME picks
# BUILD_DIR/NAME instead (a second "workstation" with a wineserver, running-
# object table and C:\windows of its own). A persistent wineserver and an
# Xvfb display are started detached from our output pipe: CTest waits for every
# process that holds its pipe, so nothing long-lived may inherit it.
set -u
mkdir -p "$1"
build_dir=$(cd "$1" && pwd); shift

export WINEARCH=win32
prefix_name=${QEL_WINE_PREFIX:-wineprefix}
export WINEPREFIX="$build_dir/$prefix_name"
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono/Gecko prompts, and no debugger that would hang a crashed program;
# QEL_WINE_DEBUGGER=1 lets Wine's debugger print a crashed program's backtrace
# (the prefix needs WineDbg's ShowCrashDialog set to 0, or it waits for a click).
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
[ "${QEL_WINE_DEBUGGER:-}" != 1 ] || WINEDLLOVERRIDES="mscoree,mshtml="

# The build's own Xvfb: the display number and process id are kept in the
# build folder, so two checkouts never share or stop each other's display.
xvfb_pid_file="$build_dir/xvfb.pid"
xvfb_display_file="$build_dir/xvfb.display"

xvfb_running() {
  [ -f "$xvfb_pid_file" ] && [ -f "$xvfb_display_file" ] &&
    tr '\0' ' ' <"/proc/$(cat "$xvfb_pid_file")/cmdline" 2>/dev/null | grep -q "^Xvfb " &&
    xdpyinfo -display ":$(cat "$xvfb_display_file")" >/dev/null 2>&1
}

start_display() {
  if [ -n "${QEL_DISPLAY_NUMBER:-}" ]; then
    export DISPLAY=":$QEL_DISPLAY_NUMBER"
    xdpyinfo -display "$DISPLAY" >/dev/null 2>&1 && return 0
    echo "wine-run: no X server answers on $DISPLAY" >&2
    return 1
  fi
  if xvfb_running; then
    export DISPLAY=":$(cat "$xvfb_display_file")"
    return 0
  fi
  rm -f "$xvfb_pid_file" "$xvfb_display_file"
  # Xvfb picks a free display itself (-displayfd) and writes its number once
  # it listens. The shell records its own pid before it becomes the server, in
  # a session of its own: that pid is the server's, whether setsid forked or
  # not, and it is the only process this script ever ends.
  local pending="$build_dir/xvfb.starting"
  rm -f "$pending"
  setsid sh -c 'echo $$ >"$1"; exec Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$2"' \
    sh "$xvfb_pid_file" "$pending" </dev/null >/dev/null 2>&1 &
  # A first start on a fresh machine can take seconds (fonts, keymaps).
  local n="" pid=""
  for _ in $(seq 1 400); do
    pid=$(cat 2>/dev/null "$xvfb_pid_file" || true)
    n=$(tr -dc '0-9' 2>/dev/null <"$pending" || true)
    if [ -n "$n" ] && xdpyinfo -display ":$n" >/dev/null 2>&1; then
      rm -f "$pending"
      echo "$n" >"$xvfb_display_file"
      export DISPLAY=":$n"
      return 0
    fi
    sleep 0.05
  done
  # A server still starting must not outlive the attempt; only ours is ended.
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  rm -f "$xvfb_pid_file" "$pending"
  echo "wine-run: no Xvfb display could be started" >&2
  return 1
}

prepare_prefix() {
  mkdir -p "$build_dir"
  exec 9>"$build_dir/$prefix_name.lock"
  flock 9
  if [ ! -f "$WINEPREFIX/.qel-ready" ]; then
    wineboot -i </dev/null >/dev/null 2>&1
    # Without a window manager every dialog close would wait for one.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.qel-ready"
  fi
  # Debian's Wine finds fonts only through fontconfig and in C:\windows\Fonts,
  # never in its own font folder (fonts-wine's /usr/share/wine/fonts): without
  # them the caption buttons lack Marlett's glyphs (letters show instead) and
  # every dialog font falls back to DejaVu Sans. The prefix gets them where
  # Windows keeps its fonts.
  local fonts="$WINEPREFIX/drive_c/windows/Fonts"
  if [ -d /usr/share/wine/fonts ] && [ ! -f "$fonts/marlett.ttf" ]; then
    mkdir -p "$fonts" && cp /usr/share/wine/fonts/* "$fonts/"
  fi
  # A wineserver started for another display would open windows there.
  if [ "$(cat "$WINEPREFIX.display" 2>/dev/null)" != "$DISPLAY" ]; then
    wineserver -k >/dev/null 2>&1 || true
    echo "$DISPLAY" >"$WINEPREFIX.display"
  fi
  (setsid wineserver -p </dev/null >/dev/null 2>&1 &)
  flock -u 9
}

exec 8>"$build_dir/xvfb.lock"
flock 8
start_display || exit 1
flock -u 8
exec 8>&-
prepare_prefix

# A CTest test of one GoogleTest fixture (qel_add_test BY_FIXTURE) leaves the
# other fixtures' tests out, also of a GTEST_FILTER that the caller set.
if [ -n "${QEL_GTEST_EXCLUDE:-}" ]; then
  case ${GTEST_FILTER:-} in
    *-*) export GTEST_FILTER="$GTEST_FILTER:$QEL_GTEST_EXCLUDE" ;;
    *) export GTEST_FILTER="${GTEST_FILTER:-}-$QEL_GTEST_EXCLUDE" ;;
  esac
fi

out=$(mktemp)
wine "$@" >"$out" 2>&1 </dev/null
rc=$?
cat "$out"
rm -f "$out"
exit $rc

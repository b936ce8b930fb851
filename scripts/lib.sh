# Shared by the scripts: build parallelism and the Wine session of the build.
root_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
windows_build="$root_dir/build/windows"

# Configures the windows preset. A build folder made with another compiler
# (GCC, before the build moved to clang and lld) cannot be configured again in
# place, nor can its sub-build of the libraries; one made before the build
# targeted an i686 without SSE keeps its old flags in the cache: everything
# but the Wine prefixes and the display goes, and is built anew.
configure_windows() {
  local cache
  for cache in "$windows_build/CMakeCache.txt" "$windows_build/libraries/CMakeCache.txt"; do
    if [ -f "$cache" ] && { ! grep -q '^CMAKE_CXX_COMPILER_AR:FILEPATH=.*llvm-ar' "$cache" ||
      ! grep -q '^CMAKE_CXX_FLAGS:STRING=.* -march=i686 -mno-sse ' "$cache" ||
      ! grep -q '^CMAKE_EXE_LINKER_FLAGS:STRING=.*/CRT_fp8\.o' "$cache"; }; then
      find "$windows_build" -mindepth 1 -maxdepth 1 ! -name 'wineprefix*' ! -name 'xvfb.*' \
        -exec rm -rf {} +
      break
    fi
  done
  cmake --preset windows >/dev/null
}

build_jobs() {
  local n
  n=$(nproc 2>/dev/null || echo 2)
  echo "$n"
}

# Runs a Windows program of the build under Wine (prefix in the build folder,
# Xvfb of its own on a free display, started when needed).
wine_run() {
  "$root_dir/cmake/wine-run.sh" "$windows_build" "$@"
}

# wine_run in another language: the locale goes only into the environment of
# the programs started (a shell that started before the locale was generated
# would warn if it had to switch to it itself).
wine_run_in() {
  local language=$1
  shift
  env LC_ALL="$language" "$root_dir/cmake/wine-run.sh" "$windows_build" "$@"
}

is_xvfb() {
  tr '\0' ' ' <"/proc/$1/cmdline" 2>/dev/null | grep -q '^Xvfb '
}

# Whether the process still runs (one that ended and awaits its parent does not).
is_running() {
  local state
  state=$(sed -n 's/^[0-9]* ([^)]*) \(.\).*/\1/p' "/proc/$1/stat" 2>/dev/null)
  [ -n "$state" ] && [ "$state" != Z ]
}

# Ends the wineserver of the build's prefix and the Xvfb the wrapper started
# for this build (by its process id; other displays are left alone).
stop_wine_session() {
  local prefix
  for prefix in "$windows_build"/wineprefix "$windows_build"/wineprefix-*; do
    [ -d "$prefix" ] || continue
    WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1 || true
    rm -f "$prefix.display"
  done
  if [ -f "$windows_build/xvfb.pid" ]; then
    local pid
    pid=$(cat "$windows_build/xvfb.pid")
    if is_xvfb "$pid"; then
      kill "$pid" 2>/dev/null || true
      # The server takes a moment to end; whoever runs us may look at once.
      for _ in $(seq 1 100); do
        is_running "$pid" || break
        sleep 0.05
      done
    fi
    rm -f "$windows_build/xvfb.pid" "$windows_build/xvfb.display"
  fi
}

# The X display of the build's Xvfb (after a first wine_run).
build_display() {
  echo ":$(cat "$windows_build/xvfb.display")"
}

# Shared by the scripts: build parallelism and the Wine session of the build.
root_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
windows_build="$root_dir/build/windows"

build_jobs() {
  local n
  n=$(nproc 2>/dev/null || echo 2)
  echo "$n"
}

# Runs a Windows program of the build under Wine (prefix in the build folder,
# Xvfb display :97 started when needed).
wine_run() {
  "$root_dir/cmake/wine-run.sh" "$windows_build" "$@"
}

# Ends the wineserver of the build's prefix and the Xvfb the wrapper started.
stop_wine_session() {
  if [ -d "$windows_build/wineprefix" ]; then
    WINEPREFIX="$windows_build/wineprefix" wineserver -k >/dev/null 2>&1 || true
  fi
  pkill -f "Xvfb :${QEL_DISPLAY_NUMBER:-97} " >/dev/null 2>&1 || true
}

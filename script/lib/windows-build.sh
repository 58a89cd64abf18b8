# Sourced by the scripts that build and run the Windows programs under Wine.
. script/lib/wine.sh

# Picks the Windows build this host can run and sets:
#   WINDOWS_PRESET       win32 where this host runs 32-bit programs, else win64
#   WINE_ARCH            the matching Wine prefix architecture (exported as WINEARCH)
#   WINE_LOADER          the matching Wine loader (exported as WINELOADER)
#   WINDOWS_BUILD_NOTE   which build that is, and why, in words
pick_windows_build() {
  local reason
  if reason=$(script/host-runs-win32); then
    WINDOWS_PRESET=win32
    WINDOWS_BUILD_NOTE="the i686 (32-bit) build"
  else
    WINDOWS_PRESET=win64
    WINDOWS_BUILD_NOTE="the x86_64 build, because $reason"
  fi
  WINE_ARCH=$WINDOWS_PRESET
  WINE_LOADER=$(wine_loader "$WINE_ARCH")
  export WINEARCH=$WINE_ARCH WINELOADER=$WINE_LOADER
}

# Configures and builds the targets $2... of preset $1, keeping the output in a log. On failure
# it prints one line naming the log and returns non-zero.
build_windows_targets() {
  local preset=$1 log="build/$1-build.log"
  shift
  mkdir -p build
  if ! { cmake --preset "$preset" && cmake --build --preset "$preset" --target "$@"; } >"$log" 2>&1; then
    echo "cannot build $* for $preset: $(grep -m 1 -E 'error:|Error' "$log" || tail -n 1 "$log") (fix it and try again; full output: $log)" >&2
    return 1
  fi
}

# Checks that the picked Wine loader starts at all; prints one line and returns non-zero if not.
check_wine_starts() {
  local output
  if ! output=$("$WINE_LOADER" --version 2>&1); then
    echo "Wine cannot start $WINE_ARCH programs here ($WINE_LOADER: ${output##*: }): run script/bootstrap to install Wine; where the host runs no 32-bit code, leave HUEVANE_HOST_RUNS_32BIT unset so that the x86_64 build is used" >&2
    return 1
  fi
}

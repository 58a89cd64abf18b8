# Sourced by the scripts that start Wine (POSIX sh). Each Windows build has its own Wine
# architecture and loader: Debian's /usr/bin/wine always prefers the 32-bit loader when it is
# installed, even on a host that cannot run it, so the loaders are named outright.

# The Wine loader for a prefix architecture, win32 or win64.
wine_loader() {
  case "$1" in
    win32) echo "${HUEVANE_WINE32_LOADER:-/usr/lib/wine/wine}" ;;
    win64) echo "${HUEVANE_WINE64_LOADER:-/usr/lib/wine/wine64}" ;;
    *) echo "unknown Wine architecture '$1'" >&2; return 1 ;;
  esac
}

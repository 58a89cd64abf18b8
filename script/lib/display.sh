# Sourced by the scripts that show windows. ensure_display keeps $DISPLAY when it is set, and
# otherwise starts Xvfb for as long as the calling script runs.
ensure_display() {
  if [ -n "${DISPLAY:-}" ]; then
    return 0
  fi
  local size=${1:-1024x768}
  local number_file
  number_file=$(mktemp)
  local log=${TMPDIR:-/tmp}/huevane-xvfb.log
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$number_file" >"$log" 2>&1 &
  HUEVANE_XVFB_PID=$!
  trap 'kill "$HUEVANE_XVFB_PID" 2>/dev/null || true' EXIT
  local tries=0
  until [ -s "$number_file" ]; do
    tries=$((tries + 1))
    if [ "$tries" -gt 100 ] || ! kill -0 "$HUEVANE_XVFB_PID" 2>/dev/null; then
      echo "cannot start Xvfb: $(tail -n 1 "$log" 2>/dev/null) (install xvfb with script/bootstrap, or set DISPLAY)" >&2
      return 1
    fi
    sleep 0.1
  done
  export DISPLAY=":$(head -n 1 "$number_file")"
  rm -f "$number_file"
}

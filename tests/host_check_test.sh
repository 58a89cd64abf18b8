#!/usr/bin/env bash
# script/host-runs-win32 decides whether the 32-bit Windows build runs here: both answers,
# forced and probed, each with its exit status and whether a reason is printed.
set -uo pipefail
check="$(dirname "$0")/../script/host-runs-win32"
failed=0 passed=0

# override  loader          expected status  expected output (a grep pattern; empty: none)
cases=(
  "yes|/nonexistent|0|"
  "no|/bin/true|1|HUEVANE_HOST_RUNS_32BIT=no"
  "maybe|/bin/true|1|must be yes or no"
  "|/bin/true|0|"
  "|/bin/false|1|runs no 32-bit programs: /bin/false --version failed"
  "|/nonexistent|1|is not installed"
)
for c in "${cases[@]}"; do
  IFS='|' read -r override loader want_status want_output <<<"$c"
  output=$(HUEVANE_HOST_RUNS_32BIT="$override" HUEVANE_WINE32_LOADER="$loader" "$check")
  status=$?
  lines=$(printf '%s' "$output" | grep -c '')
  ok=1
  [ "$status" -eq "$want_status" ] || ok=0
  if [ -n "$want_output" ]; then
    [ "$lines" -eq 1 ] && grep -q -- "$want_output" <<<"$output" || ok=0
  else
    [ "$lines" -eq 0 ] || ok=0
  fi
  if [ "$ok" -eq 1 ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAILED: override='$override' loader=$loader: status $status, output '$output'"
  fi
done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]

#!/usr/bin/env bash
# Without a reachable X display the program ($1) must exit non-zero with one
# line on stderr that tells the user what to do.
set -euo pipefail
program=$1
fail() { echo "FAIL: $*" >&2; exit 1; }

# expect_refusal EXPECTED_LINE ENV_ARGS...: runs the program without arguments.
expect_refusal() {
  local expected=$1 status=0 errors
  shift
  errors=$(env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY "$@" timeout 20 "$program" 2>&1 >/dev/null) || status=$?
  [ "$status" -ne 0 ] || fail "exit code 0 with $*"
  [ "$status" -ne 124 ] || fail "still running after 20 s with $*"
  [ "$status" -lt 128 ] || fail "killed by signal $((status - 128)) with $*"
  [ "$errors" = "$expected" ] || fail "stderr with $* was: $errors"
}

expect_refusal "ruk-viewer: cannot open the display ':99999'; run it inside a graphical session or set DISPLAY" \
  DISPLAY=:99999
expect_refusal "ruk-viewer: no display (DISPLAY is not set); run it inside a graphical session or set DISPLAY" \
  -u DISPLAY
echo "one clear line and a non-zero exit code without a display"

#!/usr/bin/env bash
# Runs a command as a Wayland client: starts a headless weston of its own
# (pixman renderer, so the windows are really composed), in a private
# runtime folder, waits for its socket, runs the command with Qt's wayland
# platform and Mesa's software OpenGL, and stops weston again. Exits with
# the command's status.
#   tests/under_weston.sh PROGRAM [ARGS...]
# WESTON_BACKEND=x11-backend.so shows the output in a window on the X
# display instead, whose pointer reaches the clients; OUTPUT_DISPLAY names
# that display for the command. WESTON_ARGS adds weston's options.
set -euo pipefail
runtime=$(mktemp -d "${TMPDIR:-/tmp}/weston-XXXXXX") # mode 0700, as the runtime folder must be
weston_pid=
stop() {
  if [ -n "$weston_pid" ]; then
    kill "$weston_pid" 2>/dev/null || true
    wait "$weston_pid" 2>/dev/null || true
  fi
  rm -rf "$runtime"
}
trap stop EXIT

# No panel, so the whole output is free for the windows; the default shell
# places them as a desktop would.
printf '[shell]\npanel-position=none\n' >"$runtime/weston.ini"
XDG_RUNTIME_DIR=$runtime weston --backend=${WESTON_BACKEND:-headless-backend.so} --use-pixman --width=1280 --height=1024 \
  --socket=wayland-test --idle-time=0 --config="$runtime/weston.ini" ${WESTON_ARGS:-} \
  >"$runtime/weston.log" 2>&1 &
weston_pid=$!

for _ in $(seq 200); do
  [ -S "$runtime/wayland-test" ] && break
  if ! kill -0 "$weston_pid" 2>/dev/null; then
    echo "weston did not start:" >&2
    cat "$runtime/weston.log" >&2
    exit 1
  fi
  sleep 0.05
done
if [ ! -S "$runtime/wayland-test" ]; then
  echo "weston opened no socket in 10 s:" >&2
  cat "$runtime/weston.log" >&2
  exit 1
fi

output_display=
if [ "${WESTON_BACKEND:-}" = x11-backend.so ]; then
  output_display=$DISPLAY
fi
status=0
env -u DISPLAY OUTPUT_DISPLAY="$output_display" XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY=wayland-test QT_QPA_PLATFORM=wayland \
  LIBGL_ALWAYS_SOFTWARE=1 "$@" || status=$?
exit "$status"

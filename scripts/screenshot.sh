#!/usr/bin/env bash
# Makes docs/screenshot.png: the viewer on the sample pictures in an 800x600
# virtual X display, grabbed whole with ImageMagick's import.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build}

if [ "${1:-}" != --in-display ]; then
  "$top/scripts/setup.sh"
  "$top/scripts/install_packages.sh" imagemagick
  BUILD_TARGETS="ruk-viewer make_samples" "$top/scripts/build.sh"
  "$top/scripts/make_samples.sh" >/dev/null
  exec xvfb-run -a -s "-screen 0 800x600x24" "$0" --in-display
fi

# Inside the display: the window fills the screen, as no window manager moves it.
QT_QPA_PLATFORM=xcb LIBGL_ALWAYS_SOFTWARE=1 "$build/ruk-viewer" "$build/samples" &
viewer=$!
trap 'kill $viewer 2>/dev/null || true' EXIT
for _ in $(seq 60); do
  xwininfo -root -tree | grep -q '"ruk-viewer"' && break
  sleep 0.5
done
sleep 2 # the first frames
mkdir -p "$top/docs"
import -window root "$top/docs/screenshot.png"
echo "wrote $top/docs/screenshot.png"

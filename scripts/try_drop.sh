#!/usr/bin/env bash
# Drops the given files or folders on a freshly started viewer with a real
# drag between two programs in a virtual display, and saves a screenshot.
# Usage: scripts/try_drop.sh OUT.png PATH...   (needs xvfb, xdotool, imagemagick)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build}
out=$1; shift
display=:57
Xvfb $display -screen 0 1024x700x24 >/dev/null 2>&1 & xvfb=$!
trap 'kill $viewer $source $xvfb 2>/dev/null || true' EXIT
sleep 2
export DISPLAY=$display
"$build/ruk-viewer" >"$out.log" 2>&1 & viewer=$!
sleep 2
"$build/tools/drag_source" "$@" >/dev/null 2>&1 & source=$!
sleep 2
# The source's window sits at the top left; the viewer's 3D view below it.
xdotool mousemove 50 40 mousedown 1
for x in 80 150 250 350 450; do xdotool mousemove $x 250; sleep 0.2; done
xdotool mouseup 1
sleep 2
import -window root "$out"

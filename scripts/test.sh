#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test in a virtual X display.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh"
"$top/scripts/build.sh"
cd "${BUILD_DIR:-$top/build}"
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure -j1 "$@"
"$top/scripts/test_windows.sh"

#!/usr/bin/env bash
# Installs what is needed, builds the viewer (and the sample maker, nothing
# else: the tests wait for scripts/test.sh) and starts it with the given
# paths; with none, on sample pictures generated for the purpose.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh"
BUILD_TARGETS="ruk-viewer make_samples" "$top/scripts/build.sh"
if [ $# -eq 0 ]; then
  samples=$("$top/scripts/make_samples.sh")
  echo "No files or folders given: showing the sample pictures in $samples"
  set -- "$samples"
fi
exec "${BUILD_DIR:-$top/build}/ruk-viewer" "$@"

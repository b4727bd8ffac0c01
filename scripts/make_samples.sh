#!/usr/bin/env bash
# Writes the sample pictures into build/samples (or $BUILD_DIR/samples) unless
# they are there already, and prints that folder. Needs a build (build.sh).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build}
samples=$build/samples
if [ ! -d "$samples" ]; then
  rm -rf "$samples.partial" # what an interrupted run left
  "$build/tools/make_samples" "$samples.partial"
  mv "$samples.partial" "$samples"
fi
echo "$samples"

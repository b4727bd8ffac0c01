#!/usr/bin/env bash
# Configures and builds the viewer, its tests and benchmarks into build/
# (Release); with BUILD_TARGETS set, only the targets it names.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build}
cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-Release} "$@" >/dev/null
targets=()
for target in ${BUILD_TARGETS:-}; do
  targets+=(--target "$target")
done
cmake --build "$build" -j"$(nproc)" "${targets[@]}"

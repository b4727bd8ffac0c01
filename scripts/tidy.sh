#!/usr/bin/env bash
# Runs clang-tidy, with the checks in .clang-tidy, over every source file of
# ours in the compile database of a build folder (made with
# -DCMAKE_EXPORT_COMPILE_COMMANDS=ON); any finding fails.
# Usage: scripts/tidy.sh BUILD_FOLDER
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:?"usage: scripts/tidy.sh BUILD_FOLDER"}
"$top/scripts/install_packages.sh" clang-tidy
# The program's folders, its tools and benchmarks; not the tests (Qt Test's
# macros would need exceptions of their own) nor the build folder's
# generated sources.
run-clang-tidy -quiet -p "$build" -j "$(nproc)" "^$top/(app|carousel|collection|resources|widgets|view3d|image|order|platform|bench|tools|fuzz)/"

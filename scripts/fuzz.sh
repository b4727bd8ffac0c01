#!/usr/bin/env bash
# Builds the fuzz targets (Clang, libFuzzer, ASan and UBSan) into build-fuzz
# and runs each for SECONDS (default 60) from its seeds (made by
# fuzz/make_seeds.py) and its kept corpus (fuzz/corpus/TARGET), with a fixed
# seed. Any crash, sanitizer finding, timeout or memory blow-up fails the
# run; the input that made it is left in build-fuzz/findings/.
# With --keep, inputs that reached new code are merged into fuzz/corpus.
# Usage: scripts/fuzz.sh [--keep] [SECONDS] [TARGET...]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
keep=0
if [ "${1:-}" = --keep ]; then keep=1; shift; fi
seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_jpeg fuzz_png fuzz_bmp fuzz_sort_key)

"$top/scripts/setup.sh"
"$top/scripts/install_packages.sh" clang libclang-rt-14-dev llvm-14 python3-pil
build=$top/build-fuzz
BUILD_DIR=$build BUILD_TYPE=RelWithDebInfo BUILD_TARGETS="${targets[*]}" "$top/scripts/build.sh" \
  -DCMAKE_CXX_COMPILER=clang++ -DFUZZ=ON -DBUILD_TESTING=OFF -DWERROR=ON
rm -rf "$build/seeds" "$build/work" "$build/findings"
/usr/bin/python3 "$top/fuzz/make_seeds.py" "$build/seeds"
mkdir -p "$build/findings"
export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export LSAN_OPTIONS=suppressions=$top/tests/sanitizer/lsan.supp:print_suppressions=0
export ASAN_SYMBOLIZER_PATH=/usr/lib/llvm-14/bin/llvm-symbolizer
export QT_QPA_PLATFORM=offscreen
for target in "${targets[@]}"; do
  work=$build/work/$target
  mkdir -p "$work" "$top/fuzz/corpus/$target"
  cp -r "$build/seeds/$target/." "$top/fuzz/corpus/$target/." "$work/"
  echo "== $target: ${seconds} s"
  # A picture read that takes over 10 s or 2 GB is a finding like a crash.
  status=0
  "$build/fuzz/$target" -seed=1 -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$build/findings/$target-" "$work" >"$build/work/$target.log" 2>&1 || status=$?
  grep -E "DONE|^stat::peak_rss_mb|ERROR|SUMMARY" "$build/work/$target.log" || true
  if [ $status != 0 ] || [ -n "$(ls -A "$build/findings")" ]; then
    echo "$target: a finding (exit $status); see $build/work/$target.log and $build/findings" >&2
    exit 1
  fi
  if [ $keep = 1 ]; then
    "$build/fuzz/$target" -merge=1 "$top/fuzz/corpus/$target" "$work" 2>/dev/null
  fi
done

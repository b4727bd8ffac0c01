#!/usr/bin/env bash
# Installs what is needed and runs every check CI runs:
#  1. a GCC build of everything, warnings as errors, and every test in a
#     virtual X display (the frame tests a second time under a headless
#     Wayland compositor); then the Debian package made from it, checked,
#     installed, started and removed;
#  2. a Clang Debug build of everything (assertions on, optimised at -O1 as
#     the sanitizers advise) with the sanitizers on, warnings as errors, and
#     every test once more;
#  3. clang-tidy over our sources;
#  4. the Windows-only pieces under Wine, then the whole program built for
#     Windows (scripts/windows.sh) and its tests under Wine in a virtual X
#     display, when a Qt for mingw-w64 is at hand (RUK_QT_MINGW_ARCHIVE, or
#     the cache): building one would take longer than CI has;
#  5. every fuzz target for a minute (scripts/fuzz.sh).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh"
"$top/scripts/install_packages.sh" clang clang-tidy libclang-rt-14-dev llvm-14
"$top/scripts/build.sh" -DWERROR=ON
cd "${BUILD_DIR:-$top/build}"
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure -j1 "$@"
"$top/scripts/test_package.sh"

# The Debug build with the sanitizers (AddressSanitizer with its leak
# checker, and UndefinedBehaviorSanitizer): any finding ends the test that
# made it with a failure. Leaks inside third-party libraries are listed in
# tests/sanitizer/lsan.supp. Mesa unloads its driver before the leak check,
# which would show the driver's live allocations as leaks of an unknown
# module; preloading it keeps it mapped (and the runtime's link-order check
# must then look away). The symbolizer names the functions in reports, which
# the suppressions match.
sanitized=$top/build-clang
BUILD_DIR=$sanitized BUILD_TYPE=Debug "$top/scripts/build.sh" -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" -DCMAKE_C_FLAGS_DEBUG="-g -O1" \
  -DSANITIZE=ON -DWERROR=ON -DCMAKE_EXPORT_COMPILE_COMMANDS=ON
sanitizing=(
  ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:strict_init_order=1:verify_asan_link_order=0
  UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
  LSAN_OPTIONS=suppressions=$top/tests/sanitizer/lsan.supp:print_suppressions=0
  LD_PRELOAD=/usr/lib/$(gcc -dumpmachine)/dri/swrast_dri.so
  ASAN_SYMBOLIZER_PATH=/usr/lib/llvm-14/bin/llvm-symbolizer
)
# The Wayland runs (tests/under_weston.sh) are left to the build above: the
# Wayland client library and Mesa's Wayland code leave allocations at exit
# that the leak checker would report as ours.
xvfb-run -a -s "-screen 0 1280x1024x24" env "${sanitizing[@]}" ctest --test-dir "$sanitized" --output-on-failure -j1 -E '_wayland$' "$@"

"$top/scripts/tidy.sh" "$sanitized"
"$top/scripts/test_windows.sh"
windows_status=0
RUK_QT_NO_BUILD=1 "$top/scripts/windows.sh" || windows_status=$?
if [ "$windows_status" -eq 3 ]; then
  echo "SKIPPED: the Windows build's tests under Wine, for want of a Qt for mingw-w64"
elif [ "$windows_status" -ne 0 ]; then
  exit "$windows_status"
else
  xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir "$top/build-windows" --output-on-failure -j1 \
    || { tail -n 30 "$top"/build-windows/tests/*.log; exit 1; }
fi
"$top/scripts/fuzz.sh" 60

#!/usr/bin/env bash
# Cross-compiles the Windows-only pieces (the flick hook, the name order) and
# their test program with MinGW-w64 and runs it under Wine, once in each
# locale whose Windows order tests/data records (Wine takes the user locale
# from LC_ALL, generated or not): the oracle's names, and the generated names
# of tests/data/windows-order-*.txt, which must still be what Windows says
# (the order found now is left in the build folder). Installs the cross compiler and Wine if
# missing. Prints "N passed, M failed".
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${WINDOWS_UNITS_BUILD_DIR:-$top/build-windows-units}

packages=(g++-mingw-w64-x86-64-posix wine64)
"$top/scripts/install_packages.sh" "${packages[@]}"

cmake -S "$top/tests/windows" -B "$build" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_SYSTEM_NAME=Windows -DCMAKE_CXX_COMPILER=x86_64-w64-mingw32-g++-posix >/dev/null
cmake --build "$build" -j"$(nproc)" >/dev/null

# A prefix of our own whose null graphics driver makes windows without a
# display; Wine's output goes to files, since a pipe would stay open while
# the Wine server lingers.
export WINEPREFIX=$build/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
if ! grep -qs '"Graphics"="null"' "$WINEPREFIX/user.reg"; then
  "$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >"$build/wine-setup.log" 2>&1
  /usr/lib/wine/wineserver64 -w
fi

passed=0 failed=0
for locale in en-US ja-JP; do
  log=$build/test-$locale.log
  LC_ALL=${locale/-/_}.UTF-8 "$wine" "$build/test_windows.exe" "Z:$top/tests/data/compare-$locale.txt" \
    "Z:$top/tests/data/windows-order-$locale.txt" "Z:$build/windows-order-$locale.txt" >"$log" 2>&1 || true
  tr -d '\r' <"$log" | grep -v -E '^[0-9]+ passed, [0-9]+ failed$' || true
  count=$(tr -d '\r' <"$log" | grep -E '^[0-9]+ passed, [0-9]+ failed$' | tail -n 1 || true)
  if [ -z "$count" ]; then
    echo "FAIL: the test program did not finish in $locale; see $log"
    failed=$((failed + 1))
    continue
  fi
  read -r ok _ bad _ <<<"$count"
  passed=$((passed + ok)) failed=$((failed + bad))
done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]

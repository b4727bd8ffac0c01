#!/usr/bin/env bash
# Rebuilds order/generated/windows_sort_table.cpp from Windows' own sort keys: builds
# dump_sort_keys with MinGW-w64, runs it under Wine in each locale that has a
# table (Wine takes the user locale from LC_ALL), and hands the keys to
# make_table.py. Run again when Wine's (or Windows') weights change; the
# differential test (scripts/test_windows.sh, test_toolkit_compare) shows
# whether the order still matches.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
here=$top/tools/windows_sort
work=${WINDOWS_SORT_DIR:-$top/build-windows-sort}
mkdir -p "$work"

"$top/scripts/install_packages.sh" g++-mingw-w64-x86-64-win32 wine64
x86_64-w64-mingw32-g++ -O2 -std=c++20 -Wall -Wextra -static -o "$work/dump_sort_keys.exe" "$here/dump_sort_keys.cpp"
python3 "$here/make_table.py" probes "$work"

export WINEPREFIX=$work/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
for locale in en-US ja-JP; do
  LC_ALL=${locale/-/_}.UTF-8 "$wine" "$work/dump_sort_keys.exe" chars "Z:$work/chars-$locale.txt" >"$work/wine.log" 2>&1
  LC_ALL=${locale/-/_}.UTF-8 "$wine" "$work/dump_sort_keys.exe" names "Z:$work/probes.txt" \
    "Z:$work/probes-keys-$locale.txt" >>"$work/wine.log" 2>&1
done
/usr/lib/wine/wineserver64 -w
python3 "$here/make_table.py" table "$work" "$top/order/generated/windows_sort_table.cpp"
echo "wrote order/generated/windows_sort_table.cpp"

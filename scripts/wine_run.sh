#!/usr/bin/env bash
# Runs a Windows program under Wine in a prefix of the build's own, with the
# Qt and mingw DLLs on its path; how the Windows build runs what it made
# (tools at build time, tests under ctest). Wine's own chatter is kept quiet.
set -euo pipefail
exe=$1
shift
build=$(dirname "$(realpath "$exe")")
while [ ! -f "$build/CMakeCache.txt" ] && [ "$build" != / ]; do
  build=$(dirname "$build")
done
export WINEPREFIX=$build/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
qt=$(sed -n 's|^Qt6_DIR:PATH=\(.*\)/lib/cmake/Qt6$|\1|p' "$build/CMakeCache.txt")
runtime=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")
export WINEPATH="Z:$qt/bin;Z:$runtime;Z:/usr/x86_64-w64-mingw32/lib" QT_PLUGIN_PATH="Z:$qt/plugins"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
  /usr/lib/wine/wineserver64 -w
fi
exec /usr/lib/wine/wine64 "$exe" "$@"

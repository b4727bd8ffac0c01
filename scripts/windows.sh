#!/usr/bin/env bash
# Builds the viewer and its Windows test programs for Windows x86-64 with
# mingw-w64 into build-windows/, and assembles the program with every DLL
# and plugin it needs in build-windows/ruk-viewer-windows-x64/, zipped as
# build-windows/ruk-viewer-windows-x64.zip. As root on Debian 12: installs
# what is needed.
#
# Qt for mingw-w64 comes from the archive that RUK_QT_MINGW_ARCHIVE names
# when it is set, else from the cache (RUK_WINDOWS_CACHE, by default
# ~/.cache/ruk-viewer-windows), else it is built there from Debian's source
# (scripts/windows_qt.sh: about 1.5 h on two cores). zlib, libpng and
# libjpeg-turbo are built from Debian's sources into the cache too (a few
# minutes, once). With RUK_QT_NO_BUILD=1 it builds no Qt: without one at
# hand it says so and exits with 3 (CI has no 1.5 h to spare).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${WINDOWS_BUILD_DIR:-$top/build-windows}
cache=${RUK_WINDOWS_CACHE:-$HOME/.cache/ruk-viewer-windows}
qt=$cache/qt-6.4.2-mingw64 deps=$cache/deps

"$top/scripts/install_packages.sh" g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-tools \
  wine64 cmake ninja-build ccache perl qt6-base-dev qt6-base-dev-tools dpkg-dev xz-utils zip
mkdir -p "$cache"

# Prints the first of Qt's DLLs that the toolchain cannot read as a Windows
# image (a damaged copy loads under Wine only to crash); nothing if all read.
unreadable_qt_dll() {
  local dll
  for dll in "$qt"/bin/*.dll "$qt"/plugins/platforms/*.dll; do
    x86_64-w64-mingw32-objdump -p "$dll" >/dev/null 2>&1 || { echo "$dll"; return; }
  done
}

if [ -f "$qt/lib/cmake/Qt6/qt.toolchain.cmake" ] && [ -n "$(unreadable_qt_dll)" ]; then
  echo "The cached Qt in $qt is damaged ($(unreadable_qt_dll) does not read): making it again"
  rm -rf "$qt"
fi
if [ ! -f "$qt/lib/cmake/Qt6/qt.toolchain.cmake" ] && [ -n "${RUK_QT_MINGW_ARCHIVE:-}" ]; then
  echo "Unpacking Qt for mingw-w64 from $RUK_QT_MINGW_ARCHIVE"
  tar xJf "$RUK_QT_MINGW_ARCHIVE" -C "$cache"
  if [ -n "$(unreadable_qt_dll)" ]; then
    echo "Qt in $RUK_QT_MINGW_ARCHIVE is damaged: $(unreadable_qt_dll) does not read as a Windows DLL"
    rm -rf "$qt"
  fi
fi
if [ ! -f "$qt/lib/cmake/Qt6/qt.toolchain.cmake" ] && [ "${RUK_QT_NO_BUILD:-}" = 1 ]; then
  echo "No usable Qt for mingw-w64 at hand, and RUK_QT_NO_BUILD=1: nothing built"
  exit 3
fi
if [ ! -f "$qt/lib/cmake/Qt6/qt.toolchain.cmake" ]; then
  echo "Building Qt for mingw-w64 from Debian's source into $qt: about 1.5 h on two cores"
  bash "$top/scripts/windows_qt.sh" "$qt" "$cache/qt-work"
fi
if [ ! -f "$deps/lib/libjpeg.a" ]; then
  echo "Building zlib, libpng and libjpeg-turbo for mingw-w64 into $deps: a few minutes"
  bash "$top/scripts/windows_deps.sh" "$deps" "$cache/sources"
fi

export CCACHE_BASEDIR=$top
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DWERROR=ON \
  -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DJPEG_LIBRARY="$deps/lib/libjpeg.a" -DJPEG_INCLUDE_DIR="$deps/include" \
  -DPNG_LIBRARY="$deps/lib/libpng16.a" -DPNG_PNG_INCLUDE_DIR="$deps/include" \
  -DZLIB_LIBRARY="$deps/lib/libz.a" -DZLIB_INCLUDE_DIR="$deps/include" \
  -DCMAKE_CROSSCOMPILING_EMULATOR="$top/scripts/wine_run.sh" \
  -DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache >/dev/null
nice cmake --build "$build" -j"$(nproc)"

# The program's folder: the exe, the Qt DLLs and plugin it loads, the mingw
# runtime; stripped, which takes a third off, except what strip cannot read
# (a DLL whose symbol table it refuses still loads).
folder=$build/ruk-viewer-windows-x64
rm -rf "$folder"
mkdir -p "$folder/platforms"
cp "$build/ruk-viewer.exe" "$folder/"
for module in Core Gui Widgets OpenGL OpenGLWidgets; do
  cp "$qt/bin/Qt6$module.dll" "$folder/"
done
cp "$qt/plugins/platforms/qwindows.dll" "$folder/platforms/"
runtime=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")
cp "$runtime/libstdc++-6.dll" "$runtime/libgcc_s_seh-1.dll" /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll "$folder/"
for binary in "$folder"/*.exe "$folder"/*.dll "$folder"/platforms/*.dll; do
  x86_64-w64-mingw32-strip "$binary" 2>/dev/null || echo "Left $(basename "$binary") unstripped: strip cannot read it"
done
name=$(basename "$folder")
rm -f "$build/$name.zip"
(cd "$build" && zip -qr "$name.zip" "$name")
echo "Made $build/$name.zip"

#!/usr/bin/env bash
# Cross-builds Qt 6.4.2 (qtbase: Core, Gui, Widgets, OpenGL, OpenGLWidgets,
# Test and the qwindows platform plugin) for Windows x86-64 with Debian 12's
# mingw-w64 (posix threads), from Debian's source of Qt, with the build
# machine's own Qt 6.4.2 as the host Qt (moc, rcc, uic).
#
#   bash scripts/windows_qt.sh PREFIX WORKDIR
#
# Takes about 1.5 h on two cores; the install is relocatable. Left out to
# keep it small and quick: sql, network, printsupport, xml, dbus, vulkan,
# zstd, icu, and concurrent (QThreadPool and QPromise serve instead);
# tabletevent and direct2d are off because Debian's source lacks
# src/3rdparty/wintab, and DirectWrite with them (fonts go through FreeType
# and GDI). Qt's bundled zlib, pcre2, freetype, harfbuzz, libpng and libjpeg
# are built into it.
set -euo pipefail
prefix=$(realpath -m "$1") work=$(realpath -m "$2")
top=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$work"
source "$top/scripts/deb_source.sh"
tarball=$(deb_source_tarball qt6-base "$work")
src=$work/src/qtbase-everywhere-src-6.4.2 build=$work/build
rm -rf "$work/src" "$build"
mkdir -p "$work/src" "$build"
tar xJf "$tarball" -C "$work/src"
toolchain=$prefix/toolchain-mingw64.cmake
mkdir -p "$prefix"
cp "$top/scripts/toolchain-mingw64.cmake" "$toolchain"
cd "$build"
"$src/configure" \
  -xplatform win32-g++ -device-option CROSS_COMPILE=x86_64-w64-mingw32- \
  -qt-host-path /usr -release -opengl desktop -nomake tests -nomake examples \
  -no-dbus -no-icu -no-pkg-config \
  -qt-zlib -qt-pcre -qt-freetype -qt-harfbuzz -qt-libpng -qt-libjpeg \
  -no-feature-sql -no-feature-network -no-feature-printsupport \
  -no-feature-concurrent -no-feature-xml -no-feature-vulkan \
  -no-feature-zstd -no-feature-direct2d -no-feature-directwrite -no-feature-directwrite3 \
  -no-feature-tabletevent \
  -prefix "$prefix" \
  -- -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
nice cmake --build . --parallel "$(nproc)"
cmake --install .

#!/usr/bin/env bash
# Cross-builds zlib, libpng and libjpeg-turbo for Windows x86-64 as static
# libraries, from Debian's sources of them, into PREFIX.
#
#   bash scripts/windows_deps.sh PREFIX WORKDIR
set -euo pipefail
prefix=$(realpath -m "$1") work=$(realpath -m "$2")
top=$(cd "$(dirname "$0")/.." && pwd)
source "$top/scripts/deb_source.sh"
mkdir -p "$work"
common=(-G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$top/scripts/toolchain-mingw64.cmake"
  -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_FIND_ROOT_PATH="$prefix")

# Unpacks PACKAGE's source into WORKDIR/PACKAGE and configures it with the
# given options in WORKDIR/PACKAGE-build.
configure() {
  local package=$1 tarball src
  shift
  tarball=$(deb_source_tarball "$package" "$work")
  src=$work/$package
  rm -rf "$src" "$src-build"
  mkdir -p "$src"
  tar xf "$tarball" -C "$src" --strip-components=1
  cmake -S "$src" -B "$src-build" "${common[@]}" "$@" -Wno-dev -Wno-deprecated >"$work/$package.log" 2>&1
}

# configure, then builds and installs it.
build() {
  configure "$@"
  nice cmake --build "$work/$1-build" -j"$(nproc)" >>"$work/$1.log"
  cmake --install "$work/$1-build" >>"$work/$1.log"
}

# Debian's zlib source lacks the Windows resources its DLL needs: only the
# static library is built, and installed by hand.
configure zlib
nice cmake --build "$work/zlib-build" -j"$(nproc)" --target zlibstatic >>"$work/zlib.log"
mkdir -p "$prefix/lib" "$prefix/include"
cp "$work/zlib-build/libzlibstatic.a" "$prefix/lib/libz.a"
cp "$work/zlib/zlib.h" "$work/zlib-build/zconf.h" "$prefix/include/"
build libpng1.6 -DPNG_SHARED=OFF -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF -DZLIB_LIBRARY="$prefix/lib/libz.a" \
  -DZLIB_INCLUDE_DIR="$prefix/include"
# Without nasm the SIMD parts are left out; the C code decodes the same.
build libjpeg-turbo -DENABLE_SHARED=OFF -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF

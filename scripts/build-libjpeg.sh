#!/usr/bin/env bash
# Cross-compiles Debian's libjpeg-turbo source package, statically, for the Windows build.
# The result lands in build/deps/libjpeg-mingw (include/, lib/libjpeg.a) and is built once per
# checkout: a later run finds the stamp and does nothing. Native builds use libjpeg-dev instead.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/debian-source.sh"
deps_begin libjpeg || exit 0
cd "$work"
deps_fetch libjpeg-turbo
src=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'libjpeg-turbo-*' | head -n 1)

simd=ON
command -v nasm >/dev/null || simd=OFF
echo "libjpeg: building it with MinGW-w64 (SIMD $simd)" >&2
deps_run "$work/configure.log" cmake -S "$src" -B "$work/build" \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_CROSSCOMPILING_EMULATOR= \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_SIMD="$simd" \
  -DCMAKE_POSITION_INDEPENDENT_CODE=OFF
deps_run "$work/build.log" cmake --build "$work/build" -j "$(nproc)"
cmake --install "$work/build" >/dev/null
deps_end libjpeg

#!/usr/bin/env bash
# Builds Debian's libjpeg-turbo source package as a static library, once per checkout (a later
# run finds the stamp and does nothing):
#   build-libjpeg.sh        cross-compiled with MinGW-w64 for the Windows build, in
#                           build/deps/libjpeg-mingw; native builds use libjpeg-dev instead;
#   build-libjpeg.sh fuzz   with clang's coverage and sanitizers, in build/deps/libjpeg-fuzz, so
#                           that the JPEG fuzz target explores the library's own code too.
set -euo pipefail
flavour=${1:-mingw}
source "$(dirname "${BASH_SOURCE[0]}")/debian-source.sh"
deps_begin libjpeg "$flavour" || exit 0
cd "$work"
deps_fetch libjpeg-turbo
src=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'libjpeg-turbo-*' | head -n 1)

case $flavour in
  mingw)
    simd=ON
    command -v nasm >/dev/null || simd=OFF
    options=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake"
             -DCMAKE_CROSSCOMPILING_EMULATOR= -DCMAKE_BUILD_TYPE=Release -DWITH_SIMD="$simd") ;;
  fuzz)
    # The SIMD routines are assembly that no sanitizer sees: the C paths are what is fuzzed.
    flags="-g -O1 -fno-omit-frame-pointer -fsanitize=fuzzer-no-link,address,undefined"
    options=(-DCMAKE_C_COMPILER=clang -DCMAKE_C_FLAGS="$flags" -DCMAKE_BUILD_TYPE=None
             -DWITH_SIMD=OFF) ;;
  *) echo "build-libjpeg.sh: unknown flavour $flavour (mingw or fuzz)" >&2; exit 2 ;;
esac
echo "libjpeg: building it ($flavour)" >&2
deps_run "$work/configure.log" cmake -S "$src" -B "$work/build" "${options[@]}" \
  -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_INSTALL_LIBDIR=lib \
  -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF \
  -DCMAKE_POSITION_INDEPENDENT_CODE=OFF
deps_run "$work/build.log" cmake --build "$work/build" -j "$(nproc)"
cmake --install "$work/build" >/dev/null
# The source package's install rules leave the static library out of a clang build.
[ -f "$prefix/lib/libjpeg.a" ] || install -D -m 644 "$work/build/libjpeg.a" "$prefix/lib/libjpeg.a"
deps_end libjpeg

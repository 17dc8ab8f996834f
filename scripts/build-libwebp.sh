#!/usr/bin/env bash
# Builds Debian's libwebp source package as static libraries (libwebp, libsharpyuv and
# libwebpdemux), once per checkout (a later run finds the stamp and does nothing), into
# build/deps/libwebp-FLAVOUR:
#   build-libwebp.sh        cross-compiled with MinGW-w64 for the Windows build; native builds
#                           use libwebp-dev instead;
#   build-libwebp.sh fuzz   with clang's coverage and sanitizers, so that the WebP fuzz target
#                           explores the library's own code too.
set -euo pipefail
flavour=${1:-mingw}
source "$(dirname "${BASH_SOURCE[0]}")/debian-source.sh"
deps_begin libwebp "$flavour" || exit 0
cd "$work"
deps_fetch libwebp
src=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'libwebp-*' | head -n 1)

case $flavour in
  mingw)
    options=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake"
             -DCMAKE_CROSSCOMPILING_EMULATOR= -DCMAKE_BUILD_TYPE=Release) ;;
  fuzz)
    # Its SIMD routines are C intrinsics, which the sanitizers see too; turning them off would
    # build the whole library without SSE2, where clang refuses its floating-point code.
    flags="-g -O1 -fno-omit-frame-pointer -fsanitize=fuzzer-no-link,address,undefined"
    options=(-DCMAKE_C_COMPILER=clang -DCMAKE_C_FLAGS="$flags" -DCMAKE_BUILD_TYPE=None) ;;
  *) echo "build-libwebp.sh: unknown flavour $flavour (mingw or fuzz)" >&2; exit 2 ;;
esac
echo "libwebp: building it ($flavour)" >&2
# Only the libraries: none of the package's programs, and no threads of its own (the core
# decodes many pictures at once already).
deps_run "$work/configure.log" cmake -S "$src" -B "$work/build" "${options[@]}" \
  -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_INSTALL_LIBDIR=lib -DBUILD_SHARED_LIBS=OFF \
  -DWEBP_USE_THREAD=OFF -DWEBP_BUILD_ANIM_UTILS=OFF -DWEBP_BUILD_CWEBP=OFF -DWEBP_BUILD_DWEBP=OFF \
  -DWEBP_BUILD_GIF2WEBP=OFF -DWEBP_BUILD_IMG2WEBP=OFF -DWEBP_BUILD_VWEBP=OFF \
  -DWEBP_BUILD_WEBPINFO=OFF -DWEBP_BUILD_WEBPMUX=OFF -DWEBP_BUILD_EXTRAS=OFF \
  -DWEBP_BUILD_LIBWEBPMUX=OFF
deps_run "$work/build.log" cmake --build "$work/build" -j "$(nproc)"
cmake --install "$work/build" >/dev/null
deps_end libwebp

#!/usr/bin/env bash
# Builds Debian's libde265 source package (the HEVC decoder behind HEIC pictures) as a static
# library, once per checkout (a later run finds the stamp and does nothing), into
# build/deps/libde265-FLAVOUR:
#   build-libde265.sh        cross-compiled with MinGW-w64 for the Windows build; native builds
#                            use libde265-dev (through libheif-dev) instead;
#   build-libde265.sh fuzz   with clang's coverage and sanitizers, for the HEIF fuzz target.
# scripts/build-libheif.sh runs it first; only the library is built (no tools, no SDL player).
set -euo pipefail
flavour=${1:-mingw}
source "$(dirname "${BASH_SOURCE[0]}")/debian-source.sh"
deps_begin libde265 "$flavour" || exit 0
cd "$work"
deps_fetch libde265
src=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'libde265-*' | head -n 1)

deps_cmake_flavour "$flavour"
# The fuzz build keeps to the portable C++ paths, which every machine runs.
[ "$flavour" = fuzz ] && cmake_flavour+=(-DDISABLE_SSE=ON)
echo "libde265: building it ($flavour)" >&2
deps_run "$work/configure.log" cmake -S "$src" -B "$work/build" "${cmake_flavour[@]}" \
  -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_INSTALL_LIBDIR=lib \
  -DBUILD_SHARED_LIBS=OFF -DENABLE_SDL=OFF -DENABLE_DECODER=OFF -DENABLE_ENCODER=OFF
deps_run "$work/build.log" cmake --build "$work/build" -j "$(nproc)"
deps_run "$work/install.log" cmake --install "$work/build"
deps_end libde265

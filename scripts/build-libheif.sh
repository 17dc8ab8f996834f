#!/usr/bin/env bash
# Builds Debian's libheif source package as a static library with its decoders built in, once
# per checkout (a later run finds the stamp and does nothing), into build/deps/libheif-FLAVOUR
# (lib/ holds libheif.a and the decoders' libraries beside it):
#   build-libheif.sh        cross-compiled with MinGW-w64 for the Windows build, reading HEIC
#                           through libde265 and AVIF through dav1d (scripts/build-libde265.sh,
#                           scripts/build-dav1d.sh); native builds use libheif-dev instead;
#   build-libheif.sh fuzz   with clang's coverage and sanitizers, for the HEIF fuzz target: HEIC
#                           only, which is where a phone's photos come from.
# Only reading is built: no encoder, no plugin loading, examples or loaders for other toolkits.
set -euo pipefail
flavour=${1:-mingw}
here=$(dirname "${BASH_SOURCE[0]}")
bash "$here/build-libde265.sh" "$flavour"
[ "$flavour" = mingw ] && bash "$here/build-dav1d.sh" "$flavour"
source "$here/debian-source.sh"
deps_begin libheif "$flavour" || exit 0
de265=$root/build/deps/libde265-$flavour
dav1d=$root/build/deps/dav1d-$flavour
cd "$work"
deps_fetch libheif
src=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'libheif-*' | head -n 1)

deps_cmake_flavour "$flavour"
echo "libheif: building it ($flavour)" >&2
# No pkg-config search: every library it uses is named here, none is taken from the machine.
PKG_CONFIG_LIBDIR=$work/none PKG_CONFIG_PATH= \
  deps_run "$work/configure.log" cmake -S "$src" -B "$work/build" "${cmake_flavour[@]}" \
  -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_INSTALL_LIBDIR=lib -DBUILD_SHARED_LIBS=OFF \
  -DENABLE_PLUGIN_LOADING=OFF -DWITH_EXAMPLES=OFF -DWITH_DEFLATE_HEADER_COMPRESSION=OFF \
  -DWITH_LIBDE265=ON -DLIBDE265_INCLUDE_DIR="$de265/include" \
  -DLIBDE265_LIBRARY="$de265/lib/libde265.a" \
  -DWITH_DAV1D="$([ "$flavour" = mingw ] && echo ON || echo OFF)" -DDAV1D_INCLUDE_DIR="$dav1d/include" \
  -DDAV1D_LIBRARY="$dav1d/lib/libdav1d.a" \
  -DWITH_X265=OFF -DWITH_AOM_DECODER=OFF -DWITH_AOM_ENCODER=OFF -DWITH_SvtEnc=OFF -DWITH_RAV1E=OFF
taken_in() {  # taken_in NAME KIND: whether the configure built NAME's decoder into the library
  grep -q "$1 ($2 decoder): found (built-in)" "$work/configure.log" || {
    tail -n 40 "$work/configure.log" >&2
    echo "libheif: $1 was not taken in" >&2
    exit 1
  }
}
taken_in libde265 HEIC
[ "$flavour" = mingw ] && taken_in Dav1d AVIF
deps_run "$work/build.log" cmake --build "$work/build" -j "$(nproc)"
deps_run "$work/install.log" cmake --install "$work/build"
cp "$de265/lib/libde265.a" "$prefix/lib/"
[ "$flavour" = mingw ] && cp "$dav1d/lib/libdav1d.a" "$prefix/lib/"
deps_end libheif

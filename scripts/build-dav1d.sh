#!/usr/bin/env bash
# Builds Debian's dav1d source package (the AV1 decoder behind AVIF pictures) as a static library,
# once per checkout (a later run finds the stamp and does nothing), into build/deps/dav1d-FLAVOUR:
#   build-dav1d.sh        cross-compiled with MinGW-w64 for the Windows build, its assembly
#                         included when nasm is there; native builds use Debian's libheif, which
#                         has its own AV1 decoders;
#   build-dav1d.sh fuzz   with clang's coverage and sanitizers, C only, for the HEIF fuzz target.
# scripts/build-libheif.sh runs it first; only the library is built (no tools, tests or docs).
set -euo pipefail
flavour=${1:-mingw}
source "$(dirname "${BASH_SOURCE[0]}")/debian-source.sh"
deps_begin dav1d "$flavour" || exit 0
cd "$work"
deps_fetch dav1d
src=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'dav1d-*' | head -n 1)

case $flavour in
  mingw)
    asm=true
    command -v nasm >/dev/null || asm=false
    cat >"$work/cross.txt" <<CROSS
[binaries]
c = 'x86_64-w64-mingw32-gcc-posix'
ar = 'x86_64-w64-mingw32-ar'
strip = 'x86_64-w64-mingw32-strip'
windres = 'x86_64-w64-mingw32-windres'
[host_machine]
system = 'windows'
cpu_family = 'x86_64'
cpu = 'x86_64'
endian = 'little'
CROSS
    options=(--cross-file "$work/cross.txt" --buildtype=release -Denable_asm="$asm") ;;
  fuzz)
    export CC=clang
    options=(--buildtype=plain -Denable_asm=false
             "-Dc_args=-g -O1 -fno-omit-frame-pointer -fsanitize=fuzzer-no-link,address,undefined") ;;
  *) echo "build-dav1d.sh: unknown flavour $flavour (mingw or fuzz)" >&2; exit 2 ;;
esac
echo "dav1d: building it ($flavour)" >&2
deps_run "$work/configure.log" meson setup "$work/build" "$src" "${options[@]}" \
  --prefix="$prefix" --libdir=lib -Ddefault_library=static -Dbitdepths=8,16 -Dlogging=false \
  -Denable_tools=false -Denable_tests=false -Denable_examples=false -Denable_docs=false
deps_run "$work/build.log" ninja -C "$work/build" -j "$(nproc)"
deps_run "$work/install.log" meson install -C "$work/build"
deps_end dav1d

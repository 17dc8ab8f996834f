#!/usr/bin/env bash
# Builds Debian's zlib and libspng source packages as static libraries, once per checkout (a
# later run finds the stamp and does nothing), into build/deps/libspng-FLAVOUR (include/,
# lib/libz.a, lib/libspng.a):
#   build-libspng.sh        cross-compiled with MinGW-w64 for the Windows build; native builds
#                           use zlib1g-dev and libspng-dev instead;
#   build-libspng.sh fuzz   with clang's coverage and sanitizers, so that the PNG fuzz target
#                           explores the libraries' own code too.
# Both libraries are a handful of C files, compiled here directly.
set -euo pipefail
flavour=${1:-mingw}
source "$(dirname "${BASH_SOURCE[0]}")/debian-source.sh"
deps_compiler "$flavour" build-libspng.sh
deps_begin libspng "$flavour" || exit 0
cd "$work"
deps_fetch zlib
deps_fetch libspng
zlib=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'zlib-*' | head -n 1)
spng=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'libspng-*' | head -n 1)

echo "libspng: building zlib and libspng ($flavour)" >&2
mkdir -p "$work/obj" "$prefix/include" "$prefix/lib"
for f in adler32 compress crc32 deflate infback inffast inflate inftrees trees uncompr zutil; do
  deps_run "$work/zlib-$f.log" "$cc" "${flags[@]}" -c "$zlib/$f.c" -o "$work/obj/z-$f.o"
done
deps_run "$work/ar-z.log" "$ar" rcs "$prefix/lib/libz.a" "$work"/obj/z-*.o
deps_run "$work/spng.log" "$cc" "${flags[@]}" -DSPNG_STATIC -I"$zlib" -c "$spng/spng/spng.c" -o "$work/obj/spng.o"
deps_run "$work/ar-spng.log" "$ar" rcs "$prefix/lib/libspng.a" "$work/obj/spng.o"
cp "$zlib/zlib.h" "$zlib/zconf.h" "$spng/spng/spng.h" "$prefix/include/"
deps_end libspng

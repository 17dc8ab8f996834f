#!/usr/bin/env bash
# Cross-compiles Debian's zlib and libspng source packages, statically, for the Windows build.
# The result lands in build/deps/libspng-mingw (include/, lib/libz.a, lib/libspng.a) and is built
# once per checkout: a later run finds the stamp and does nothing. Native builds use zlib1g-dev
# and libspng-dev instead. Both libraries are a handful of C files, compiled here directly.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/debian-source.sh"
deps_begin libspng || exit 0
cd "$work"
deps_fetch zlib
deps_fetch libspng
zlib=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'zlib-*' | head -n 1)
spng=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'libspng-*' | head -n 1)

cc=x86_64-w64-mingw32-gcc-posix
flags=(-O2 -DNDEBUG)
echo "libspng: building zlib and libspng with MinGW-w64" >&2
mkdir -p "$work/obj" "$prefix/include" "$prefix/lib"
for f in adler32 compress crc32 deflate infback inffast inflate inftrees trees uncompr zutil; do
  deps_run "$work/zlib-$f.log" "$cc" "${flags[@]}" -c "$zlib/$f.c" -o "$work/obj/z-$f.o"
done
deps_run "$work/ar-z.log" x86_64-w64-mingw32-ar rcs "$prefix/lib/libz.a" "$work"/obj/z-*.o
deps_run "$work/spng.log" "$cc" "${flags[@]}" -DSPNG_STATIC -I"$zlib" -c "$spng/spng/spng.c" -o "$work/obj/spng.o"
deps_run "$work/ar-spng.log" x86_64-w64-mingw32-ar rcs "$prefix/lib/libspng.a" "$work/obj/spng.o"
cp "$zlib/zlib.h" "$zlib/zconf.h" "$spng/spng/spng.h" "$prefix/include/"
deps_end libspng

#!/usr/bin/env bash
# Cross-compiles Debian's libjpeg-turbo source package, statically, for the Windows build.
# The result lands in build/deps/libjpeg-mingw (include/, lib/libjpeg.a) and is built once per
# checkout: a later run finds the stamp and does nothing. Native builds use libjpeg-dev instead.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
deps=$root/build/deps
prefix=$deps/libjpeg-mingw
stamp=$prefix/.built

if [ -f "$stamp" ]; then
  exit 0
fi

# Serialise concurrent builds in the same checkout (test-all and a configure may race).
mkdir -p "$deps"
exec 9>"$deps/libjpeg.lock"
flock 9
[ -f "$stamp" ] && exit 0

work=$deps/libjpeg-work
rm -rf "$work" "$prefix"
mkdir -p "$work"
cd "$work"
echo "libjpeg: fetching Debian's libjpeg-turbo source package" >&2
apt-get source -qq libjpeg-turbo >/dev/null 2>"$work/source.log" || {
  cat "$work/source.log" >&2
  echo "libjpeg: apt-get source failed (is there a deb-src entry? run scripts/install-deps.sh)" >&2
  exit 1
}
src=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'libjpeg-turbo-*' | head -n 1)

simd=ON
command -v nasm >/dev/null || simd=OFF
echo "libjpeg: building it with MinGW-w64 (SIMD $simd)" >&2
cmake -S "$src" -B "$work/build" \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_CROSSCOMPILING_EMULATOR= \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_SIMD="$simd" \
  -DCMAKE_POSITION_INDEPENDENT_CODE=OFF >"$work/configure.log" 2>&1 || {
  tail -n 40 "$work/configure.log" >&2
  exit 1
}
cmake --build "$work/build" -j "$(nproc)" >"$work/build.log" 2>&1 || {
  tail -n 40 "$work/build.log" >&2
  exit 1
}
cmake --install "$work/build" >/dev/null
rm -rf "$work"
touch "$stamp"
echo "libjpeg: ready in $prefix" >&2

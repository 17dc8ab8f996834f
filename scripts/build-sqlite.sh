#!/usr/bin/env bash
# Builds Debian's sqlite3 source package as a static library for the tile library, once per
# checkout (a later run finds the stamp and does nothing), into build/deps/sqlite-FLAVOUR
# (include/sqlite3.h, lib/libsqlite3.a):
#   build-sqlite.sh        cross-compiled with MinGW-w64 for the Windows build; native builds
#                          use libsqlite3-dev instead;
#   build-sqlite.sh fuzz   with clang's coverage and sanitizers, for the fuzz build.
# The source package's own build makes the amalgamation (one C file, with tclsh and two small
# native generators), which is then compiled here directly.
set -euo pipefail
flavour=${1:-mingw}
source "$(dirname "${BASH_SOURCE[0]}")/debian-source.sh"
deps_compiler "$flavour" build-sqlite.sh
deps_begin sqlite "$flavour" || exit 0
cd "$work"
deps_fetch sqlite3
src=$work/amalgamation
top=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'sqlite3-*' | head -n 1)
mkdir -p "$src"
echo "sqlite: making the amalgamation" >&2
(cd "$src" && deps_run "$work/configure.log" "$top/configure" --disable-tcl &&
  deps_run "$work/amalgamation.log" make sqlite3.c)

echo "sqlite: building the amalgamation ($flavour)" >&2
mkdir -p "$prefix/include" "$prefix/lib"
# Threads as the program uses them (a connection per thread at most); no extension loading.
deps_run "$work/sqlite.log" "$cc" "${flags[@]}" -DSQLITE_THREADSAFE=1 -DSQLITE_OMIT_LOAD_EXTENSION \
  -DSQLITE_DEFAULT_FOREIGN_KEYS=1 -c "$src/sqlite3.c" -o "$work/sqlite3.o"
deps_run "$work/ar.log" "$ar" rcs "$prefix/lib/libsqlite3.a" "$work/sqlite3.o"
cp "$src/sqlite3.h" "$prefix/include/"
deps_end sqlite

# Sourced by the scripts that build Debian source packages for the Windows build
# (build-libjpeg.sh, build-libspng.sh, build-libde265.sh, build-dav1d.sh, build-libheif.sh) and
# for the fuzzers. Each result lands in build/deps/NAME-FLAVOUR and is built once per checkout: a
# stamp file marks it done.

# deps_begin NAME [FLAVOUR]: sets root, prefix and work for NAME built as FLAVOUR (mingw unless
# given) and takes its lock, so that concurrent builds in one checkout (test-all and a configure)
# do not race. Returns 1 when it is built.
deps_begin() {
  root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  local deps=$root/build/deps flavour=${2:-mingw}
  prefix=$deps/$1-$flavour
  work=$deps/$1-$flavour-work
  [ -f "$prefix/.built" ] && return 1
  mkdir -p "$deps"
  exec 9>"$deps/$1-$flavour.lock"
  flock 9
  [ -f "$prefix/.built" ] && return 1
  rm -rf "$work" "$prefix"
  mkdir -p "$work" "$prefix"
}

# deps_fetch PACKAGE: unpacks the package's source in the current folder. The newest version
# first; when the archive no longer serves it, the older ones the package lists know of.
deps_fetch() {
  local log=$work/source-$1.log version
  echo "$1: fetching Debian's source package" >&2
  apt-get source -qq "$1" >/dev/null 2>"$log" && return 0
  for version in $(apt-cache showsrc "$1" 2>/dev/null | sed -n 's/^Version: //p' | sort -u); do
    apt-get source -qq "$1=$version" >/dev/null 2>>"$log" && return 0
  done
  cat "$log" >&2
  echo "$1: apt-get source failed (is there a deb-src entry? run scripts/install-deps.sh)" >&2
  return 1
}

# deps_compiler FLAVOUR SCRIPT: sets cc, ar and flags for compiling a package's C files directly:
# MinGW-w64 for the Windows build, clang with the fuzzers' instrumentation for the fuzz build.
deps_compiler() {
  case $1 in
    mingw) cc=x86_64-w64-mingw32-gcc-posix ar=x86_64-w64-mingw32-ar flags=(-O2 -DNDEBUG) ;;
    fuzz) cc=clang ar=ar flags=(-g -O1 -fno-omit-frame-pointer -fsanitize=fuzzer-no-link,address,undefined) ;;
    *) echo "$2: unknown flavour $1 (mingw or fuzz)" >&2; exit 2 ;;
  esac
}

# deps_run LOG COMMAND...: runs a build step with its output in LOG, shown when it fails.
deps_run() {
  local log=$1
  shift
  "$@" >"$log" 2>&1 || {
    tail -n 40 "$log" >&2
    return 1
  }
}

# deps_end NAME: marks NAME built and removes its work folder.
deps_end() {
  rm -rf "$work"
  touch "$prefix/.built"
  echo "$1: ready in $prefix" >&2
}

# deps_cmake_flavour FLAVOUR: sets the array cmake_flavour to a CMake source package's settings
# for FLAVOUR: mingw cross-compiles for the Windows build, fuzz instruments for the fuzzers.
deps_cmake_flavour() {
  local flags="-g -O1 -fno-omit-frame-pointer -fsanitize=fuzzer-no-link,address,undefined"
  case $1 in
    mingw) cmake_flavour=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake"
                          -DCMAKE_CROSSCOMPILING_EMULATOR= -DCMAKE_BUILD_TYPE=Release) ;;
    fuzz) cmake_flavour=(-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_FLAGS="$flags"
                         -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_BUILD_TYPE=None) ;;
    *) echo "unknown flavour $1 (mingw or fuzz)" >&2; return 2 ;;
  esac
}

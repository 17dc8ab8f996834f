#!/usr/bin/env bash
# Installs what is missing, builds the native and the Windows targets, and runs every test:
# the core's tests natively, under sanitizers and under Wine, the program's tests under Wine,
# the round trips against an independent BMP reader, and a bounded fuzzing run.
# Exits non-zero on any failure.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
jobs=$(nproc)
fuzz_seconds=${TILVANE_FUZZ_SECONDS:-30}
failures=()

step() { printf '\n=== %s ===\n' "$*"; }
run() {  # run NAME COMMAND...: records a failure instead of stopping, so every runner reports
  local name=$1; shift
  if ! "$@"; then failures+=("$name"); fi
}

step "Installing what is missing"
bash scripts/install-deps.sh

step "Native build"
cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/native -j "$jobs"
step "Native tests"
run native-tests ctest --test-dir build/native --output-on-failure -j "$jobs"

step "Native tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build/sanitize -DCMAKE_BUILD_TYPE=Debug -DTILVANE_SANITIZE=ON -DTILVANE_BENCHMARKS=OFF >/dev/null
cmake --build build/sanitize -j "$jobs"
run sanitizer-tests ctest --test-dir build/sanitize --output-on-failure -j "$jobs"

step "Round trips against an independent BMP reader"
run reference-round-trips /usr/bin/python3 tests/reference/bmp_reference.py build/native/tilvane-cli

step "Fuzzing the BMP, JPEG, PNG, WebP and HEIF decoders for ${fuzz_seconds} s each"
run fuzz bash scripts/fuzz.sh "$fuzz_seconds"

step "Windows build (MinGW-w64)"
bash scripts/build-libjpeg.sh  # once per checkout each; the configure below would otherwise do it
bash scripts/build-libspng.sh
bash scripts/build-libwebp.sh
bash scripts/build-sqlite.sh
bash scripts/build-libheif.sh  # with libde265 and dav1d (build-libde265.sh, build-dav1d.sh)
# A fresh headless Wine prefix for this run; the build already uses it to lay out the demo files.
bash scripts/wine-prefix.sh null
cmake -S . -B build/mingw -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/mingw -j "$jobs"

step "Tests under Wine"
# Wine's services and its desktop process start with the first program and the first window,
# and would inherit ctest's pipes, so ctest would wait for them to close. Start them here with
# their output thrown away, and keep a Wine process alive so that they stay up.
bash scripts/wine-run.sh cmd /c exit >/dev/null 2>&1
bash scripts/wine-run.sh cmd /c "ping -n 3600 127.0.0.1 >nul" >/dev/null 2>&1 &
keep_alive=$!
bash scripts/wine-run.sh build/mingw/tests/tilvane_app_tests.exe --gtest_filter='SpinEdit.*' >/dev/null 2>&1 || true
run wine-tests ctest --test-dir build/mingw --output-on-failure
kill "$keep_alive" 2>/dev/null || true
WINEPREFIX="$root/build/wineprefix" wineserver -k 2>/dev/null || true

if ((${#failures[@]})); then
  printf '\nFAILED: %s\n' "${failures[*]}"
  exit 1
fi
printf '\nAll test runners passed.\n'

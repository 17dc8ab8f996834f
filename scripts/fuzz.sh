#!/usr/bin/env bash
# Fuzzes the BMP, JPEG, PNG, WebP and HEIF decoders and the Exif orientation reader with libFuzzer
# (clang, AddressSanitizer, UndefinedBehaviorSanitizer), each for the given number of seconds,
# starting from their seed files. New inputs collect in build/fuzz/corpus-*, so the seeds in the
# repository stay as they are. The configure builds libjpeg, zlib, libspng, libwebp, libde265 and
# libheif from Debian's source packages with the same instrumentation (scripts/build-libjpeg.sh
# fuzz, scripts/build-libspng.sh fuzz, scripts/build-libwebp.sh fuzz, scripts/build-libheif.sh
# fuzz), so the targets explore the libraries' code too; the HEIF target's files are HEIC, the
# AVIF ones are refused.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
seconds=${1:-60}

CC=clang CXX=clang++ cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTILVANE_FUZZ=ON -DTILVANE_TESTS=OFF -DTILVANE_BENCHMARKS=OFF >/dev/null
cmake --build build/fuzz -j "$(nproc)" --target bmp_decode_fuzz jpeg_decode_fuzz png_decode_fuzz webp_decode_fuzz heif_decode_fuzz exif_decode_fuzz >/dev/null
mkdir -p build/fuzz/findings

failed=0
fuzz() {  # fuzz NAME SEEDS...: one target, its log in build/fuzz/last-NAME.log
  local name=$1 log=build/fuzz/last-$1.log
  shift
  mkdir -p "build/fuzz/corpus-$name"
  if ! "build/fuzz/fuzz/${name}_decode_fuzz" "build/fuzz/corpus-$name" "$@" \
    -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
    -artifact_prefix="build/fuzz/findings/$name-" -print_final_stats=1 2>"$log"; then
    tail -n 60 "$log"
    echo "fuzz $name: finding in build/fuzz/findings"
    failed=$((failed + 1))
    return
  fi
  local runs
  runs=$(grep -oE 'stat::number_of_executed_units: *[0-9]+' "$log" | grep -oE '[0-9]+$' || echo '?')
  echo "fuzz $name: ${runs} inputs in ${seconds} s, no finding"
}
fuzz bmp fuzz/corpus/bmp
fuzz jpeg tests/data/jpeg
fuzz png fuzz/corpus/png tests/data/png
fuzz webp tests/data/webp
fuzz heif tests/data/heif
fuzz exif fuzz/corpus/exif
echo "fuzz: $((6 - failed)) passed, ${failed} failed"
((failed == 0))

#!/usr/bin/env bash
# Fuzzes the BMP loader with libFuzzer (clang, AddressSanitizer, UndefinedBehaviorSanitizer)
# for the given number of seconds, starting from the seed corpus. New inputs collect in
# build/fuzz/corpus, so the seeds in the repository stay as they are.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
seconds=${1:-60}

CC=clang CXX=clang++ cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTILVANE_FUZZ=ON -DTILVANE_TESTS=OFF -DTILVANE_BENCHMARKS=OFF >/dev/null
cmake --build build/fuzz -j "$(nproc)" --target bmp_decode_fuzz >/dev/null
mkdir -p build/fuzz/corpus build/fuzz/findings
build/fuzz/fuzz/bmp_decode_fuzz build/fuzz/corpus fuzz/corpus/bmp \
  -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
  -artifact_prefix=build/fuzz/findings/ -print_final_stats=1 2>build/fuzz/last-run.log || {
  tail -n 60 build/fuzz/last-run.log
  echo "fuzz: 0 passed, 1 failed (finding in build/fuzz/findings)"
  exit 1
}
runs=$(grep -oE 'stat::number_of_executed_units: *[0-9]+' build/fuzz/last-run.log | grep -oE '[0-9]+$' || echo '?')
echo "fuzz: ${runs} inputs in ${seconds} s, no finding"
echo "fuzz: 1 passed, 0 failed"

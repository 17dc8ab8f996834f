#!/usr/bin/env bash
# Speed as ratios measured in one run, since absolute times drift on shared machines:
#  - load+save of a 6000x4000 24-bit BMP by tilvane-cli against ImageMagick's convert;
#  - mean, shift and stretch over all 20x20 cells of that picture against a memcpy of it.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
runs=${TILVANE_BENCH_RUNS:-7}

cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DTILVANE_BENCHMARKS=ON -DTILVANE_TESTS=OFF >/dev/null
cmake --build build/bench -j "$(nproc)" --target tilvane-cli tilvane_benchmarks tilvane_bench_data >/dev/null
data=build/bench-data
mkdir -p "$data"
[ -f "$data/photo.bmp" ] || build/bench/bench/tilvane_bench_data "$data/photo.bmp" 6000 4000

/usr/bin/python3 scripts/ab_ratio.py "$runs" \
  "tilvane-cli convert" "build/bench/tilvane-cli convert $data/photo.bmp $data/out-tilvane.bmp" \
  "ImageMagick convert" "convert $data/photo.bmp $data/out-magick.bmp"

build/bench/bench/tilvane_benchmarks --benchmark_repetitions=3 --benchmark_format=json \
  --benchmark_out="$data/cells.json" --benchmark_out_format=json >/dev/null
/usr/bin/python3 - "$data/cells.json" <<'PY'
import json, statistics, sys
runs = json.load(open(sys.argv[1]))["benchmarks"]
def median(name):
    return statistics.median(b["real_time"] for b in runs if b["run_name"].endswith(name) and b["run_type"] == "iteration")
base, cells = median("BM_MemcpyBaseline"), median("BM_CellAverageAlignStretch")
print(f"cells (mean+shift+stretch+copy, 60000 cells of 20x20): {cells:.1f} ms; memcpy of the same bytes: {base:.1f} ms; ratio {cells / base:.1f}")
PY

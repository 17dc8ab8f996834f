#!/usr/bin/env bash
# Speed and memory as ratios measured in one run, since absolute times drift on shared machines:
#  - load+save of a 6000x4000 24-bit BMP by tilvane-cli against ImageMagick's convert;
#  - mean, shift and stretch over all 20x20 cells of that picture against a memcpy of it;
#  - mosaics of that picture in 20x20 cells against load+save alone, the floor of any build;
#  - mosaics of its 8-, 4- and 1-bit palette versions against the 24-bit one;
#  - the same mosaic against metapixel, a peer photomosaic tool, and under Wine (less Wine's own
#    start of a process, timed as tilvane-cli.exe --help) against native;
#  - the mosaic's peak memory beyond the picture's own pixels;
#  - posters of that picture, --scale 6 as BMP against dd and --scale 8 as PNG beside vips, in time
#    and peak memory;
#  - saving that picture and a mosaic of it as PNG, against the same by the tool as it was before
#    PNG output deflated bands on every processor (built once from that commit), in time and size;
#  - cutting that picture into 60,000 tiles of 20x20 against creating as many files of the same
#    size with one open, write and close each (the floor of any extraction) natively; the same on
#    a 2000x1500 cut under Wine, the floor built for Windows; its peak memory beyond the pixels,
#    and ImageMagick's -crop on the 2000x1500 cut;
#  - "Make Mosaic" in the window under Wine, with 2,000 JPEG photographs as tiles, against
#    tilvane-cli.exe on the same job; the window's tile list loading 100,000 and 10,000 lines;
#  - best with the smallest cap that fits against best without, over 60,000 to 3,840,000 cells,
#    in time, time per cell and peak memory;
#  - the tile library with 10,000 JPEG photographs of 2048x1536: adding them against making BMP
#    tiles of them, its size per photo, a mosaic from it warm against cold and against BMP tiles,
#    and the best choice from 100,000 entries in time and peak memory;
#  - cutting a 36000x24000 BMP poster (the tool's mosaic of that picture at --scale 6) into
#    240,000 tiles of 60x60 against creating as many files of the same size, and its peak memory.
# metapixel and GNU time are installed here when missing: the benchmark needs them, the product does not.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
runs=${TILVANE_BENCH_RUNS:-7}
slow_runs=${TILVANE_BENCH_SLOW_RUNS:-3}  # for metapixel, whose runs take many seconds each

data=build/bench-data
tiles=$data/tiles
cli=build/bench/tilvane-cli
windows_cli=build/mingw/tilvane-cli.exe
windows_baseline=build/mingw/bench/tilvane_file_creation_baseline.exe
pixel_bytes=$((6000 * 4000 * 3))
mosaic_args="mosaic $data/photo.bmp $data/mosaic.bmp --tiles $tiles --size 20x20 --seed 1 --quiet"
cut=$data/cut  # emptied, and the disk's backlog written, before every timed extraction
fresh_cut="rm -rf $cut && mkdir -p $cut && sync"
tile_bytes=$((54 + 20 * 20 * 3))  # a 20x20 24-bit BMP file

ab_ratio() {
  /usr/bin/python3 scripts/ab_ratio.py "$@"
}

install_if_missing() {  # COMMAND PACKAGE
  command -v "$1" >/dev/null && return
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "$2" >/dev/null
}

launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi

build_native() {
  cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DTILVANE_BENCHMARKS=ON -DTILVANE_TESTS=OFF "${launcher[@]}" >/dev/null
  cmake --build build/bench -j "$(nproc)" --target tilvane-cli tilvane_benchmarks tilvane_bench_data \
    tilvane_file_creation_baseline >/dev/null
}

build_windows() {
  [ -f build/mingw/CMakeCache.txt ] || cmake -S . -B build/mingw \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release "${launcher[@]}" >/dev/null
  cmake --build build/mingw -j "$(nproc)" --target tilvane-cli tilvane_file_creation_baseline >/dev/null
  [ -d build/wineprefix ] || bash scripts/wine-prefix.sh null
  keep_wine_up
}

# Wine's server starts with the first Windows process (seconds) and ends soon after the last, so
# without a process kept alive some timed runs would pay that start and others not, whatever is
# taken off for a process's own start. One is kept alive while the benchmark runs, as the tests do.
keep_wine_up() {
  bash scripts/wine-run.sh cmd /c exit >/dev/null 2>&1
  bash scripts/wine-run.sh cmd /c "ping -n 3600 127.0.0.1 >nul" >/dev/null 2>&1 &
  local keep_alive=$!
  trap 'kill '"$keep_alive"' 2>/dev/null || true; WINEPREFIX="$root/build/wineprefix" wineserver -k 2>/dev/null || true' EXIT
}

# 150 tiles from 96x64 to 200x150: the strides are coprime to the ranges, so every width and
# height in them turns up.
make_data() {
  mkdir -p "$tiles"
  [ -f "$data/photo.bmp" ] || build/bench/bench/tilvane_bench_data "$data/photo.bmp" 6000 4000
  [ -f "$data/photo-2000.bmp" ] || build/bench/bench/tilvane_bench_data "$data/photo-2000.bmp" 2000 1500
  local i
  for i in $(seq 150); do
    [ -f "$tiles/tile$i.bmp" ] ||
      build/bench/bench/tilvane_bench_data "$tiles/tile$i.bmp" $((96 + i * 37 % 105)) $((64 + i * 53 % 87)) "$i"
  done
  local bits
  for bits in 8 4 1; do
    [ -f "$data/photo$bits.bmp" ] || $cli convert "$data/photo.bmp" "$data/photo$bits.bmp" --bits $bits
  done
}

# metapixel reads no BMP, and works from a library of tiles scaled beforehand; made once, not timed.
prepare_metapixel() {
  install_if_missing metapixel metapixel
  local dir=$data/metapixel tile
  mkdir -p "$dir/tiles" "$dir/library"
  [ -f "$data/photo.png" ] || convert "$data/photo.bmp" "$data/photo.png"
  [ -f "$dir/library/tables.mxt" ] && return
  for tile in "$tiles"/*.bmp; do
    convert "$tile" "$dir/tiles/$(basename "$tile" .bmp).png"
  done
  metapixel-prepare --width=20 --height=20 "$dir/tiles" "$dir/library" >/dev/null
}

bench_convert() {
  ab_ratio "$runs" \
    "tilvane-cli convert" "$cli convert $data/photo.bmp $data/out-tilvane.bmp" \
    "ImageMagick convert" "convert $data/photo.bmp $data/out-magick.bmp"
}

bench_cells() {
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
}

bench_mosaic_over_copy() {
  echo "Mosaic of 60000 cells / load+save alone (goal: at most 1.25):"
  local mode
  for mode in "" "--crop" "--gap 2x2"; do
    ab_ratio "$runs" \
      "mosaic ${mode:-expand/shrink}" "$cli $mosaic_args $mode" \
      "load+save" "$cli convert $data/photo.bmp $data/copy.bmp"
  done
}

bench_palette() {
  echo "Mosaic of a palette original / of the 24-bit one (goal: at most 2):"
  local bits
  for bits in 8 4 1; do
    ab_ratio "$runs" \
      "$bits-bit mosaic" "$cli ${mosaic_args/photo.bmp/photo$bits.bmp}" \
      "24-bit mosaic" "$cli $mosaic_args"
  done
}

bench_metapixel() {
  echo "metapixel / tilvane-cli on the same mosaic (goal: at least 8):"
  ab_ratio "$slow_runs" \
    "metapixel" "metapixel --library $data/metapixel/library --width=20 --height=20 --metapixel $data/photo.png $data/metapixel/mosaic.png" \
    "tilvane-cli mosaic" "$cli $mosaic_args"
}

# The tool as it was before PNG output went parallel (the commit before the PNG writer came):
# one thread through libspng at zlib's default level. Built once into build/bench-before.
build_png_before() {
  local source=build/bench-before/source png_before
  if [ ! -x build/bench-before/tilvane-cli ]; then
    png_before=$(git log --diff-filter=A --format=%H -- core/codecs/png_writer.cpp | tail -1)^
    rm -rf "$source" && mkdir -p "$source"
    git archive "$png_before" | tar -x -C "$source"
    cmake -S "$source" -B build/bench-before -DCMAKE_BUILD_TYPE=Release -DTILVANE_BENCHMARKS=OFF -DTILVANE_TESTS=OFF \
      "${launcher[@]}" >/dev/null
    cmake --build build/bench-before -j "$(nproc)" --target tilvane-cli >/dev/null
  fi
}

bench_png() {
  build_png_before
  [ -f "$data/mosaic.bmp" ] || $cli $mosaic_args
  echo "PNG save, now / before (goal: time at most 0.5, size at most 1.1):"
  local picture before_bytes now_bytes
  for picture in photo mosaic; do
    ab_ratio "$runs" \
      "$picture.png now" "$cli convert $data/$picture.bmp $data/now.png" \
      "before" "build/bench-before/tilvane-cli convert $data/$picture.bmp $data/before.png"
    now_bytes=$(stat -c %s "$data/now.png")
    before_bytes=$(stat -c %s "$data/before.png")
    awk -v now="$now_bytes" -v before="$before_bytes" -v name="$picture" 'BEGIN {
      printf "%s.png: %d bytes now, %d before; ratio %.3f\n", name, now, before, now / before }'
  done
}

peak_kib() {  # COMMAND...
  /usr/bin/time -o "$data/peak.txt" -f %M "$@" >/dev/null
  cat "$data/peak.txt"
}

bench_memory() {
  install_if_missing /usr/bin/time time
  local mosaic copy
  # shellcheck disable=SC2086  # the argument strings split into words on purpose
  mosaic=$(peak_kib $cli $mosaic_args)
  copy=$(peak_kib "$cli" convert "$data/photo.bmp" "$data/copy.bmp")
  awk -v mosaic="$mosaic" -v copy="$copy" -v pixels="$pixel_bytes" 'BEGIN {
    mb = 1024 / 1e6
    printf "peak memory: mosaic %.1f MB, load+save %.1f MB; mosaic beyond the %.1f MB of pixels: %.1f MB (goal: at most 64)\n",
      mosaic * mb, copy * mb, pixels / 1e6, mosaic * mb - pixels / 1e6 }'
}

bench_wine() {
  echo "Wine / native on the same mosaic, less Wine's start of a process (goal: at most 1.3):"
  ab_ratio "$runs" \
    "tilvane-cli.exe under Wine" "bash scripts/wine-run.sh $windows_cli $mosaic_args" \
    "native" "$cli $mosaic_args" \
    --less "tilvane-cli.exe --help" "bash scripts/wine-run.sh $windows_cli --help"
}

bench_extract() {
  echo "Extraction of 60000 tiles / creating 60000 files of $tile_bytes bytes (goal: at most 1.3):"
  ab_ratio "$runs" \
    "tilvane-cli extract" "$cli extract $data/photo.bmp $cut --size 20x20 --quiet" \
    "open+write+close" "build/bench/bench/tilvane_file_creation_baseline $cut 60000 $tile_bytes 300" \
    "$fresh_cut"
  # On the 2000x1500 cut: Wine creates a file in several milliseconds, so 60,000 would take a
  # quarter of an hour a run.
  echo "Under Wine: extraction / creating as many files, both built for Windows, 7500 tiles (goal: at most 1.3):"
  ab_ratio "$slow_runs" \
    "tilvane-cli.exe extract" "bash scripts/wine-run.sh $windows_cli extract $data/photo-2000.bmp $cut --size 20x20 --quiet" \
    "open+write+close" "bash scripts/wine-run.sh $windows_baseline $cut 7500 $tile_bytes 100" \
    "$fresh_cut"
  echo "ImageMagick -crop / tilvane-cli extract on a 2000x1500 cut into 7500 tiles:"
  ab_ratio "$slow_runs" \
    "convert -crop" "convert $data/photo-2000.bmp -crop 20x20 +repage $cut/tile_%d.bmp" \
    "tilvane-cli extract" "$cli extract $data/photo-2000.bmp $cut --size 20x20 --quiet" \
    "$fresh_cut"
  local peak
  eval "$fresh_cut"
  peak=$(peak_kib "$cli" extract "$data/photo.bmp" "$cut" --size 20x20 --quiet)
  awk -v peak="$peak" -v pixels="$pixel_bytes" 'BEGIN {
    mb = 1024 / 1e6
    printf "peak memory: extraction %.1f MB; beyond the %.1f MB of pixels: %.1f MB (goal: at most 32)\n",
      peak * mb, pixels / 1e6, peak * mb - pixels / 1e6 }'
}


# Choosing tiles, on real photographs: Debian's MATE backgrounds (installed here for the
# benchmark only). The original is Garden.jpg; the tiles are 96x72 crops of the other nature
# photographs at three sizes, 18,560 in all, of which the first 1,000 or 10,000 are used.
photos=/usr/share/backgrounds/mate/nature
choose_data=$data/choose

install_backgrounds() {
  [ -d "$photos" ] || { apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq mate-backgrounds >/dev/null; }
}

prepare_photos() {
  install_backgrounds
  mkdir -p "$choose_data/pool" "$choose_data/tiles-1000" "$choose_data/tiles-10000" "$choose_data/metapixel/tiles"
  [ -f "$choose_data/garden.bmp" ] ||
    convert "$photos/Garden.jpg" -resize 2400x1350^ -gravity center -extent 2400x1350 -type TrueColor "BMP3:$choose_data/garden.bmp"
  [ -f "$choose_data/garden-6000.bmp" ] ||
    convert "$photos/Garden.jpg" -resize 6000x4000^ -gravity center -extent 6000x4000 -type TrueColor "BMP3:$choose_data/garden-6000.bmp"
  [ -f "$choose_data/garden-1500.bmp" ] ||
    convert "$photos/Garden.jpg" -resize 1500x1000^ -gravity center -extent 1500x1000 -type TrueColor "BMP3:$choose_data/garden-1500.bmp"
  [ -f "$choose_data/garden.png" ] || convert "$choose_data/garden.bmp" -type TrueColor -define png:color-type=2 "$choose_data/garden.png"
  if [ ! -f "$choose_data/pool/.made" ]; then
    local photo size name
    for photo in "$photos"/*.jpg; do
      name=$(basename "$photo" .jpg)
      [ "$name" = Garden ] && continue
      for size in 1536x1152 2304x1728 3072x2304; do
        convert "$photo" -resize "$size^" -gravity center -extent "$size" +repage -crop 96x72 +repage \
          -type TrueColor "BMP3:$choose_data/pool/${size}_${name}_%04d.bmp"
      done
    done
    touch "$choose_data/pool/.made"
  fi
  # Every photograph in both sets: the pool's crops dealt out in turn.
  local count
  for count in 1000 10000; do
    [ "$(ls "$choose_data/tiles-$count" | wc -l)" -eq "$count" ] && continue
    rm -f "$choose_data/tiles-$count"/*
    ls "$choose_data/pool" | grep '\.bmp$' | awk -F_ '{ print $3 " " $0 }' | sort -k1,1 -s | cut -d' ' -f2 |
      awk -v n="$count" 'NR <= n' | while read -r name; do ln "$choose_data/pool/$name" "$choose_data/tiles-$count/$name"; done
  done
  if [ ! -f "$choose_data/metapixel/library/tables.mxt" ]; then
    install_if_missing metapixel metapixel
    # metapixel reads 8-bit RGB PNG files only.
    mogrify -path "$choose_data/metapixel/tiles" -format png -type TrueColor -define png:color-type=2 \
      "$choose_data/tiles-1000"/*.bmp
    mkdir -p "$choose_data/metapixel/library"
    metapixel-prepare --width=24 --height=24 "$choose_data/metapixel/tiles" "$choose_data/metapixel/library" >/dev/null
  fi
}

fidelity() {  # ORIGINAL MOSAIC: the mean absolute difference of 6x6 block means
  $cli compare "$1" "$2" --block 6x6 | awk 'NR == 1 { print $4 }' | tr -d ,
}

bench_choose() {
  install_if_missing /usr/bin/time time
  local peak
  local speed_args="mosaic $choose_data/garden-6000.bmp $data/choose.bmp --size 20x20 --seed 1 --quiet"
  echo "best / random over 60000 cells of a 6000x4000 photograph (goal: at most 3 with 1000 tiles, 5 with 10000):"
  local count
  for count in 1000 10000; do
    ab_ratio "$slow_runs" \
      "best, $count tiles" "$cli $speed_args --tiles $choose_data/tiles-$count --choose best" \
      "random" "$cli $speed_args --tiles $choose_data/tiles-$count"
  done

  echo "Fidelity: mean absolute difference of 6x6 block means, 2400x1350 photograph, 1000 photo tiles of 96x72 in 24x24 cells"
  echo "(goal: best at most 0.8 of random, and below metapixel):"
  local job="mosaic $choose_data/garden.bmp $choose_data/fidelity.bmp --tiles $choose_data/tiles-1000 --size 24x24 --seed 1 --quiet"
  local choice start end
  for choice in random shuffle best; do
    start=$(date +%s%N)
    $cli $job --choose $choice
    end=$(date +%s%N)
    printf '  %-9s %6s  in %d ms\n' "$choice" "$(fidelity "$choose_data/garden.bmp" "$choose_data/fidelity.bmp")" $(((end - start) / 1000000))
    [ "$choice" = random ] && random_error=$(fidelity "$choose_data/garden.bmp" "$choose_data/fidelity.bmp")
  done
  best_error=$(fidelity "$choose_data/garden.bmp" "$choose_data/fidelity.bmp")
  start=$(date +%s%N)
  metapixel --library "$choose_data/metapixel/library" --width=24 --height=24 \
    --metapixel "$choose_data/garden.png" "$choose_data/metapixel/mosaic.png" >/dev/null
  end=$(date +%s%N)
  convert "$choose_data/metapixel/mosaic.png" -type TrueColor "BMP3:$choose_data/metapixel/mosaic.bmp"
  printf '  %-9s %6s  in %d ms\n' metapixel "$(fidelity "$choose_data/garden.bmp" "$choose_data/metapixel/mosaic.bmp")" $(((end - start) / 1000000))
  awk -v best="$best_error" -v random="$random_error" 'BEGIN { printf "  best / random: %.2f\n", best / random }'

  bench_cap "$job" "$best_error"

  echo "Mosaic at --scale 4 (1500x1000 to 6000x4000) / load+save of a 6000x4000 original (goal: at most 1.3):"
  ab_ratio "$runs" \
    "--scale 4" "$cli mosaic $choose_data/garden-1500.bmp $data/scaled.bmp --tiles $tiles --size 20x20 --scale 4 --seed 1 --quiet" \
    "load+save" "$cli convert $choose_data/garden-6000.bmp $data/copy.bmp"
  peak=$(peak_kib "$cli" mosaic "$choose_data/garden-1500.bmp" "$data/scaled.bmp" --tiles "$tiles" --size 20x20 --scale 4 --seed 1 --quiet)
  awk -v peak="$peak" -v pixels="$pixel_bytes" 'BEGIN {
    mb = 1024 / 1e6
    printf "peak memory: --scale 4 %.1f MB; beyond the %.1f MB of the output'"'"'s pixels: %.1f MB (goal: at most 64)\n",
      peak * mb, pixels / 1e6, peak * mb - pixels / 1e6 }'
}

# A cap on uses and mirrored tiles: JOB is the 1000-tile fidelity job, BEST_ERROR its plain best's E6.
bench_cap() {  # JOB BEST_ERROR
  install_if_missing /usr/bin/time time
  local job=$1 best_error=$2 peak
  local speed_args="mosaic $choose_data/garden-6000.bmp $data/choose.bmp --size 20x20 --seed 1 --quiet"
  echo "A cap on uses at twice the fair share, and mirrored tiles, on the same job (goal: E6 at most 1.15 of best's,"
  echo "time at most 6 of random's; 10000 tiles over 60000 cells: at most 10, with at most 256 MB beyond the original):"
  local options variety
  for options in "" "--max-uses 12" "--max-uses 12 --mirror" "--mirror"; do
    # random draws its own file, since it runs last and the figures are of the option's.
    ab_ratio "$slow_runs" "best $options" "$cli $job --choose best $options --placements $data/placements.csv" \
      "random" "$cli ${job/fidelity.bmp/random.bmp}"
    variety=$(tail -n +2 "$data/placements.csv" | awk -F, '{ uses[$7]++ } END { for (t in uses) { n++; if (uses[t] > most) most = uses[t] }
      printf "%d distinct tiles, most uses %d (fair share 5.7)", n, most }')
    awk -v e="$(fidelity "$choose_data/garden.bmp" "$choose_data/fidelity.bmp")" -v best="$best_error" -v v="$variety" \
      'BEGIN { printf "  E6 / best'"'"'s: %.2f; %s\n", e / best, v }'
  done
  ab_ratio "$slow_runs" \
    "best --max-uses 12, 10000 tiles" "$cli $speed_args --tiles $choose_data/tiles-10000 --choose best --max-uses 12" \
    "random" "$cli $speed_args --tiles $choose_data/tiles-10000"
  peak=$(peak_kib "$cli" $speed_args --tiles "$choose_data/tiles-10000" --choose best --max-uses 12)
  awk -v peak="$peak" 'BEGIN { printf "peak memory, 10000 tiles with a cap: %.1f MB beyond the original'"'"'s 72 MB\n", peak * 1024 / 1e6 - 72 }'
}

# Photo collections: 2,000 JPEG photographs of 1024x768, cut and re-encoded here from the same
# MATE backgrounds at five sizes, mirrored too. vipsthumbnail (installed here for the benchmark
# only) shrinks on load as the tool does, which makes it the yardstick for making tiles.
photo_jpegs=$data/photo-jpegs

prepare_photo_jpegs() {
  install_backgrounds
  [ "$(find "$photo_jpegs" -name '*.jpg' 2>/dev/null | wc -l)" -eq 2000 ] && return
  rm -rf "$photo_jpegs"
  # Each photograph at 2048x1536 and 3072x2304, plain and mirrored, cut into 1024x768 windows
  # a quarter of their size apart, until there are 2,000; ten subfolders, as a library has.
  /usr/bin/python3 - "$photos" "$photo_jpegs" <<'PY'
import pathlib, sys
from PIL import Image, ImageOps
source, target = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
made = 0
for width in (2048, 3072):
    for photo in sorted(source.glob("*.jpg")):
        for mirrored in (False, True):
            with Image.open(photo) as im:
                picture = ImageOps.fit(im.convert("RGB"), (width, width * 3 // 4))
            if mirrored:
                picture = ImageOps.mirror(picture)
            for top in range(0, width * 3 // 4 - 768 + 1, 192):
                for left in range(0, width - 1024 + 1, 256):
                    if made == 2000:
                        sys.exit(0)
                    folder = target / str(made % 10)
                    folder.mkdir(parents=True, exist_ok=True)
                    picture.crop((left, top, left + 1024, top + 768)).save(folder / f"{photo.stem}_{width}_{made:04d}.jpg", quality=90)
                    made += 1
PY
}

bench_photos() {
  install_if_missing vipsthumbnail libvips-tools
  install_if_missing /usr/bin/time time
  local made=$data/photo-tiles thumbs=$data/photo-thumbs
  echo "tilvane-cli tiles / vipsthumbnail, 2000 JPEGs of 1024x768 to 40x40 (goal: at most 1):"
  ab_ratio "$slow_runs" \
    "tilvane-cli tiles" "rm -rf $made && $cli tiles $photo_jpegs $made --size 40x40 --quiet" \
    "vipsthumbnail" "rm -rf $thumbs && mkdir -p $thumbs && find $photo_jpegs -name '*.jpg' -print0 | xargs -0 vipsthumbnail -s '40x40!' -o $root/$thumbs/%s.jpg"
  local straight="$cli mosaic $data/photo.bmp $data/photo-mosaic.bmp --size 40x40 --seed 1 --quiet"
  echo "mosaic straight from the JPEG folder / tiles, then a mosaic of the BMP tiles (goal: at most 1.2):"
  ab_ratio "$slow_runs" \
    "from the folder" "$straight --tiles $photo_jpegs" \
    "tiles + mosaic" "rm -rf $made && $cli tiles $photo_jpegs $made --size 40x40 --quiet && $straight --tiles $made"
  local peak
  peak=$(peak_kib $straight --tiles "$photo_jpegs")
  awk -v peak="$peak" -v pixels="$pixel_bytes" 'BEGIN {
    mb = 1024 / 1e6
    printf "peak memory: mosaic from 2000 JPEGs %.1f MB; beyond the %.1f MB of the original'"'"'s pixels: %.1f MB (goal: at most 64)\n",
      peak * mb, pixels / 1e6, peak * mb - pixels / 1e6 }'
}

# How the options look, on real photographs: a 2400x1350 cut of Garden.jpg in 24x24 cells, from
# about 1,000 tiles of 96x72 made by tilvane-cli itself (each other nature photograph at two sizes
# cut into 192x144 pieces, then shrunk). scripts/look_scores.py scores each mosaic against the
# original (numpy and Pillow from Debian, installed here for the benchmark only).
looks_data=$data/looks

prepare_looks() {
  install_backgrounds
  install_if_missing /usr/bin/time time
  /usr/bin/python3 -c 'import numpy, PIL' 2>/dev/null || {
    apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq python3-numpy python3-pil >/dev/null; }
  mkdir -p "$looks_data/pieces"
  [ -f "$looks_data/garden.bmp" ] ||
    convert "$photos/Garden.jpg" -resize 2400x1350^ -gravity center -extent 2400x1350 -type TrueColor "BMP3:$looks_data/garden.bmp"
  [ -f "$looks_data/tiles/Mosaic_Tiles.lst" ] && return
  local photo size name
  for photo in "$photos"/*.jpg; do
    name=$(basename "$photo" .jpg)
    [ "$name" = Garden ] && continue
    for size in 1152x864 1536x1152; do
      convert "$photo" -resize "$size^" -gravity center -extent "$size" -type TrueColor "BMP3:$looks_data/whole.bmp"
      $cli extract "$looks_data/whole.bmp" "$looks_data/pieces/${name}_$size" --size 192x144 --quiet
    done
  done
  $cli tiles "$looks_data/pieces" "$looks_data/tiles" --size 96x72 --quiet
}

bench_looks() {
  local original=$looks_data/garden.bmp out=$looks_data/mosaic.bmp csv=$looks_data/placements.csv
  local job="mosaic $original $out --tiles $looks_data/tiles/Mosaic_Tiles.lst --size 24x24 --seed 1 --quiet --placements $csv"
  local tiles cells fair
  tiles=$(grep -c . "$looks_data/tiles/Mosaic_Tiles.lst")
  cells=$(((2400 + 23) / 24 * ((1350 + 23) / 24)))  # the last row cut
  fair=$(((cells + tiles - 1) / tiles))
  echo "Looks: $tiles photo tiles of 96x72, 2400x1350 original, $cells cells of 24x24 (fair share $fair):"
  local -a names=(best random transfer "blend 20" "best, cap $((2 * fair)), mirror, transfer" "best, cap $((2 * fair))"
    "best, mirror" "best, cap $((2 * fair)), mirror")
  local -a options=("--choose best" "--choose random" "--choose best --colour transfer" "--choose best --blend 20"
    "--choose best --max-uses $((2 * fair)) --mirror --colour transfer" "--choose best --max-uses $((2 * fair))"
    "--choose best --mirror" "--choose best --max-uses $((2 * fair)) --mirror")
  local help i start end
  help=$($cli mosaic --help)
  for i in "${!names[@]}"; do
    local word missing=
    # shellcheck disable=SC2086  # the option strings split into words on purpose
    for word in ${options[$i]}; do
      [[ $word == --* ]] && ! grep -q -- "$word" <<<"$help" && missing=$word
    done
    if [ -n "$missing" ]; then
      echo "  ${names[$i]}: skipped (this build has no $missing)"
      continue
    fi
    start=$(date +%s%N)
    # shellcheck disable=SC2086  # the option strings split into words on purpose
    $cli $job ${options[$i]}
    end=$(date +%s%N)
    printf '  %-28s %s  in %d ms\n' "${names[$i]}" \
      "$(/usr/bin/python3 scripts/look_scores.py "$original" "$out" --cell 24 --placements "$csv")" $(((end - start) / 1000000))
    cp "$out" "$looks_data/mosaic-${names[$i]//[ ,]/_}.bmp"
  done
  echo "  (goals: transfer's chroma at most 0.7 of best's and E24 at most 0.6; blend 20's E6 at most 0.85 of best's;"
  echo "   mirror's E6 no worse than best's; all together E6 at most 10.5 and SSIM at least 0.60, most uses at most $((2 * fair)))"
}

# Posters from the 6000x4000 picture, made and written in bands: --scale 6 to a 36000x24000 BMP
# beside dd writing as many bytes to the same folder (both waiting for the disk; their ratio is
# the median of pairs, since one write's time varies with the one before), --scale 8 to a
# 48000x32000 PNG and JPEG beside vips enlarging the picture 8 times into a PNG (a yardstick
# only). The JPEG poster took 4.6 GB while its Huffman tables were made for its own
# coefficients; with the standard tables beyond 256 MB of them, about 110 MB. Each output is
# deleted once measured, and the disk's backlog written before the next: they take gigabytes.
poster() {  # NAME OUTPUT COMMAND...: its time, peak memory and output bytes
  local name=$1 out=$2 seconds kib
  shift 2
  sync
  /usr/bin/time -o "$data/poster-time.txt" -f "%e %M" "$@" >/dev/null
  read -r seconds kib <"$data/poster-time.txt"
  printf '  %-34s %7.1f s %7.1f MB peak %14d bytes\n' "$name" "$seconds" "$(awk -v kib="$kib" 'BEGIN { print kib * 1024 / 1e6 }')" \
    "$(stat -c %s "$out")"
  rm -f "$out"
}

bench_poster() {
  install_if_missing /usr/bin/time time
  install_if_missing vips libvips-tools
  [ -f "$data/photo.jpg" ] || convert "$data/photo.bmp" -quality 92 "$data/photo.jpg"
  local job="mosaic $data/photo.bmp" bytes=$((36000 * 24000 * 3 + 54))
  local bmp="$cli $job $data/poster.bmp --tiles $tiles --size 120x120 --scale 6 --seed 1 --quiet"
  local dd="dd if=/dev/zero of=$data/dd.bin bs=1M count=$((bytes >> 20)) conv=fsync status=none"
  echo "Posters of the 6000x4000 picture (goals: under 400 MB; the BMP in at most 1.5x dd's time):"
  # shellcheck disable=SC2086  # the argument strings split into words on purpose
  poster "BMP 36000x24000 (--scale 6)" "$data/poster.bmp" $bmp
  # shellcheck disable=SC2086
  poster "dd of as many bytes" "$data/dd.bin" $dd
  ab_ratio "$slow_runs" "  BMP 36000x24000" "$bmp" "dd" "$dd" "rm -f $data/poster.bmp $data/dd.bin && sync"
  rm -f "$data/poster.bmp" "$data/dd.bin"
  # shellcheck disable=SC2086
  poster "PNG 48000x32000 (--scale 8)" "$data/poster.png" $cli $job "$data/poster.png" --tiles "$tiles" --size 160x160 --scale 8 --seed 1 --quiet
  # shellcheck disable=SC2086
  poster "JPEG 48000x32000 (--scale 8)" "$data/poster.jpg" $cli $job "$data/poster.jpg" --tiles "$tiles" --size 160x160 --scale 8 --seed 1 --quiet
  poster "vips resize 8x to PNG" "$data/vips.png" vips resize "$data/photo.jpg" "$data/vips.png" 8 --kernel nearest
}

# The cap at poster scale: best with the smallest cap that fits against best without one, 200 tiles
# in 20x20 cells of the 6000x4000 picture at --scale 1, 4 and 8 (60,000, 960,000 and 3,840,000
# cells), one run each (the large ones take minutes): time, time per cell and peak memory.
bench_cap_posters() {
  install_if_missing /usr/bin/time time
  local many=$data/tiles-200 i scale cells
  mkdir -p "$many"
  for i in $(seq 200); do
    [ -f "$many/tile$i.bmp" ] ||
      build/bench/bench/tilvane_bench_data "$many/tile$i.bmp" $((96 + i * 37 % 105)) $((64 + i * 53 % 87)) "$i"
  done
  echo "best with the smallest cap that fits / best without, 200 tiles in 20x20 cells (goals at 3,840,000 cells:"
  echo "time at most 3, at most 256 MB more; the capped time per cell not growing with the grid):"
  for scale in 1 4 8; do
    cells=$((300 * scale * 200 * scale))
    local job="$cli mosaic $data/photo.bmp $data/poster-cap.jpg --tiles $many --size 20x20 --scale $scale --seed 1 --quiet --choose best"
    # shellcheck disable=SC2086  # the job splits into words on purpose
    /usr/bin/time -o "$data/cap-time.txt" -f "%e %M" $job --max-uses $(((cells + 199) / 200)) >/dev/null
    # shellcheck disable=SC2086
    /usr/bin/time -o "$data/best-time.txt" -f "%e %M" $job >/dev/null
    rm -f "$data/poster-cap.jpg"
    paste "$data/cap-time.txt" "$data/best-time.txt" | awk -v cells="$cells" '{
      printf "  %8d cells: capped %7.1f s %7.1f MB, uncapped %7.1f s %7.1f MB; time %.2f, memory +%.1f MB;",
        cells, $1, $2 * 1024 / 1e6, $3, $4 * 1024 / 1e6, $1 / $3, ($2 - $4) * 1024 / 1e6
      printf " per cell %.1f us capped, %.1f us uncapped\n", $1 * 1e6 / cells, $3 * 1e6 / cells }'
  done
}

# A poster the tool wrote is cut back into tiles a band of tile rows at a time: its peak memory
# (creating the 240,000 files dominates the time, which the extraction benchmark above measures).
bench_poster_extraction() {
  local poster=$data/poster.bmp peak
  $cli mosaic "$data/photo.bmp" "$poster" --tiles "$tiles" --size 60x60 --scale 6 --seed 1 --quiet
  peak=$(peak_kib "$cli" extract "$poster" "$cut" --size 60x60 --quiet)
  awk -v peak="$peak" 'BEGIN { printf "peak memory: extraction of a 36000x24000 poster into 60x60 tiles %.1f MB (goal: at most 400)\n", peak * 1024 / 1e6 }'
  rm -rf "$cut" "$poster"
}

# The window's own code paths under Wine: "Make Mosaic" with the 2,000 JPEG photographs above as
# tiles on a 2400x1350 JPEG cut of Garden.jpg, in 40x40 cells, photo formats on, against
# tilvane-cli.exe on the same job (goal: at most 1.5); then the tile list's big operations.
bench_window() {
  cmake --build build/mingw -j "$(nproc)" --target tilvane-cli tilvane_mosaic_bench tilvane_tile_list_bench >/dev/null
  local original=$data/window-original.jpg
  [ -f "$original" ] ||
    convert "$photos/Garden.jpg" -resize 2400x1350^ -gravity center -extent 2400x1350 -quality 92 "$original"
  bash scripts/wine-run.sh build/mingw/app/tilvane_mosaic_bench.exe "$original" "$photo_jpegs" "$windows_cli" 40x40 "$slow_runs"
  bash scripts/wine-run.sh build/mingw/app/tilvane_tile_list_bench.exe
}

# TILVANE_BENCH=window runs only the window's measurements (no native build needed).
if [ "${TILVANE_BENCH:-all}" = window ]; then
  build_windows
  mkdir -p "$data"
  prepare_photo_jpegs
  bench_window
  exit 0
fi
build_native
case "${TILVANE_BENCH:-all}" in choose | cap | cap-posters | photos | library | looks | png | poster) ;; *) build_windows ;; esac
# TILVANE_BENCH=looks runs only the scores of how the options look.
if [ "${TILVANE_BENCH:-all}" = looks ]; then
  prepare_looks
  bench_looks
  exit 0
fi
make_data
# TILVANE_BENCH=extract runs only the extraction's measurements, TILVANE_BENCH=poster only the
# poster's.
if [ "${TILVANE_BENCH:-all}" = extract ]; then
  install_if_missing /usr/bin/time time
  bench_extract
  exit 0
fi
# TILVANE_BENCH=poster runs only the posters' measurements.
if [ "${TILVANE_BENCH:-all}" = poster ]; then
  bench_poster
  bench_poster_extraction
  exit 0
fi
# TILVANE_BENCH=cap-posters runs only the cap's measurements at poster scale.
if [ "${TILVANE_BENCH:-all}" = cap-posters ]; then
  bench_cap_posters
  exit 0
fi
# TILVANE_BENCH=png runs only the PNG output's measurements.
if [ "${TILVANE_BENCH:-all}" = png ]; then
  bench_png
  exit 0
fi
# The tile library, on real photographs: 2048x1536 JPEG crops of the MATE backgrounds (500
# different ones, copied up to TILVANE_BENCH_LIBRARY_PHOTOS, 10,000 by default, in 20
# subfolders; copies, since a folder takes a file behind two links once), a 2400x1600 original
# in 20x20 cells.
library_photos=$data/library-photos
library_data=$data/library

prepare_library_photos() {
  install_backgrounds
  local count=${TILVANE_BENCH_LIBRARY_PHOTOS:-10000} unique=$data/library-unique
  mkdir -p "$unique" "$library_data"
  [ -f "$library_data/garden.bmp" ] ||
    convert "$photos/Garden.jpg" -resize 2400x1600^ -gravity center -extent 2400x1600 -type TrueColor "BMP3:$library_data/garden.bmp"
  if [ "$(find "$unique" -name '*.jpg' | wc -l)" -lt 500 ]; then
    local photo name size flop x y made=0 crops
    for size in 3072x2304 4096x3072; do
      for photo in "$photos"/*.jpg; do
        name=$(basename "$photo" .jpg)
        [ "$name" = Garden ] && continue
        for flop in "" -flop; do
          crops=()
          for x in 0 256 512 768 1024; do
            for y in 0 256 512 768; do
              crops+=(\( +clone -crop "2048x1536+$x+$y" +repage -quality 90 -write "$unique/${name}_${size}${flop}_${x}_$y.jpg" +delete \))
            done
          done
          convert "$photo" -resize "$size^" -gravity center -extent "$size" +gravity $flop "${crops[@]}" null:
          made=$((made + 20))
          [ "$made" -ge 500 ] && break 3
        done
      done
    done
  fi
  [ "$(find "$library_photos" -name '*.jpg' 2>/dev/null | wc -l)" -eq "$count" ] && return
  rm -rf "$library_photos"
  local -a names
  mapfile -t names < <(ls "$unique" | sort)
  local i
  for ((i = 0; i < count; i++)); do
    mkdir -p "$library_photos/$((i % 20))"
    cp "$unique/${names[i % ${#names[@]}]}" "$library_photos/$((i % 20))/photo_$i.jpg"
  done
}

bench_library() {
  install_if_missing /usr/bin/time time
  local count=${TILVANE_BENCH_LIBRARY_PHOTOS:-10000} lib=$library_data/photos.db bmps=$library_data/tiles-20
  local job="$cli mosaic $library_data/garden.bmp $library_data/mosaic.bmp --size 20x20 --seed 1 --quiet"
  echo "library add / tiles --size 20x20, $count JPEGs of 2048x1536 (goal: at most 1.1):"
  ab_ratio "$slow_runs" \
    "library add" "rm -f $lib && $cli library $lib add $library_photos --quiet" \
    "tiles" "rm -rf $bmps && $cli tiles $library_photos $bmps --size 20x20 --quiet"
  rm -f "$lib" && $cli library "$lib" add "$library_photos" --quiet >/dev/null
  awk -v bytes="$(stat -c %s "$lib")" -v n="$count" \
    'BEGIN { printf "library file: %.1f MB, %.1f KB per photo (goal: at most 50)\n", bytes / 1e6, bytes / n / 1e3 }'
  [ -f "$bmps/Mosaic_Tiles.lst" ] || $cli tiles "$library_photos" "$bmps" --size 20x20 --quiet
  echo "warm / cold: a mosaic from the library filled, against filling it and building (goal: at most 0.1):"
  ab_ratio "$slow_runs" \
    "warm" "$job --tiles $lib" \
    "cold" "rm -f $library_data/cold.db && $cli library $library_data/cold.db add $library_photos --quiet && $job --tiles $library_data/cold.db"
  echo "warm / $count BMP tiles of 20x20 (goal: at most 1.3):"
  ab_ratio "$runs" "warm" "$job --tiles $lib" "BMP tiles" "$job --tiles $bmps"
  echo "best from the library / best from the BMP tiles:"
  ab_ratio "$runs" "library" "$job --tiles $lib --choose best" "BMP tiles" "$job --tiles $bmps --choose best"
  # 100,000 entries: the library's rows copied under new names (Python's own sqlite3), their large
  # pictures replaced by the small ones, which are all a build in 20x20 cells reads, to keep the
  # file to about 700 MB.
  local big=$library_data/entries-100000.db
  if [ ! -f "$big" ]; then
    cp "$lib" "$big.part"
    /usr/bin/python3 - "$big.part" "$count" <<'PY'
import sqlite3, sys
db = sqlite3.connect(sys.argv[1])
count = int(sys.argv[2])
copies = (100000 + count - 1) // count
columns = "file_size, modified, width, height, picture_width, picture_height, small_width, small_height, mean, structure"
with db:
    for n in range(1, copies):
        db.execute(f"INSERT INTO photo(path, {columns}) SELECT path || '#{n}', {columns} FROM photo WHERE path NOT LIKE '%#%' LIMIT ?", (100000 - n * count,))
    db.execute("INSERT INTO picture(id, jpeg, small) SELECT p.id, q.small, q.small FROM photo p JOIN photo o ON o.path = substr(p.path, 1, instr(p.path, '#') - 1) JOIN picture q ON q.id = o.id WHERE p.path LIKE '%#%'")
print(db.execute("SELECT count(*) FROM photo").fetchone()[0], "entries")
PY
    mv "$big.part" "$big"
  fi
  local start end peak
  start=$(date +%s.%N)
  peak=$(peak_kib $job --tiles "$big" --choose best)
  end=$(date +%s.%N)
  awk -v s="$start" -v e="$end" -v peak="$peak" 'BEGIN {
    printf "best from 100000 library entries: %.1f s (goal: at most 5), peak memory %.0f MB (goal: at most 512)\n", e - s, peak * 1024 / 1e6 }'
}

# TILVANE_BENCH=library runs only the measurements of the tile library.
if [ "${TILVANE_BENCH:-all}" = library ]; then
  prepare_library_photos
  bench_library
  exit 0
fi
# TILVANE_BENCH=photos runs only the measurements of photo collections.
if [ "${TILVANE_BENCH:-all}" = photos ]; then
  prepare_photo_jpegs
  bench_photos
  exit 0
fi
# TILVANE_BENCH=cap runs only the measurements of the cap on uses and of mirrored tiles.
if [ "${TILVANE_BENCH:-all}" = cap ]; then
  prepare_photos
  job="mosaic $choose_data/garden.bmp $choose_data/fidelity.bmp --tiles $choose_data/tiles-1000 --size 24x24 --seed 1 --quiet"
  $cli $job --choose best
  bench_cap "$job" "$(fidelity "$choose_data/garden.bmp" "$choose_data/fidelity.bmp")"
  exit 0
fi
# TILVANE_BENCH=choose runs only the measurements of choosing tiles and of scaled mosaics.
if [ "${TILVANE_BENCH:-all}" = choose ]; then
  prepare_photos
  bench_choose
  exit 0
fi
prepare_photos
prepare_metapixel
bench_convert
bench_png
bench_cells
bench_mosaic_over_copy
bench_palette
bench_metapixel
bench_memory
bench_poster
bench_poster_extraction
bench_cap_posters
bench_wine
bench_extract
bench_choose
prepare_looks
bench_looks
prepare_photo_jpegs
bench_photos
prepare_library_photos
bench_library
bench_window

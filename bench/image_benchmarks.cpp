// The colour engine's per-cell work over a 6000x4000 picture, against a memcpy of the same
// bytes: the ratio of the two is what to watch, since absolute times drift on shared machines.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "image/colour_operations.h"
#include "image/raster_drawing.h"
#include "mosaic/tile_preparation.h"
#include "demo_pictures.h"

namespace {

using namespace tilvane;

constexpr int kWidth = 6000;
constexpr int kHeight = 4000;
constexpr int kCell = 20;

const Raster_Image& photo() {
    static const Raster_Image image = demo::Synthetic_Photo(kWidth, kHeight, 7);
    return image;
}

void BM_MemcpyBaseline(benchmark::State& state) {
    const Raster_Image& source = photo();
    std::vector<std::uint8_t> target(source.Row_Bytes() * kHeight);
    for (auto _ : state) {
        std::memcpy(target.data(), source.Row(0), target.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(target.size()));
}
BENCHMARK(BM_MemcpyBaseline)->Unit(benchmark::kMillisecond);

// Per cell: the cell's mean colour, a 150x100 tile stretched to the cell, its own mean, the
// shift onto the cell's mean and the copy into the picture.
void BM_CellAverageAlignStretch(benchmark::State& state) {
    Raster_Image picture = photo();
    const Raster_Image tile = demo::Synthetic_Photo(150, 100, 3);
    Raster_Image working(kCell, kCell);
    const Rect cell_rect = Rect::At(0, 0, kCell, kCell);
    for (auto _ : state) {
        for (int y = 0; y < kHeight; y += kCell) {
            for (int x = 0; x < kWidth; x += kCell) {
                const Rect cell = Rect::At(x, y, kCell, kCell);
                const Colour target = Average_Colour(picture, cell);
                Stretch_Draw(working, cell_rect, tile);
                Align_Average_Colour(working, cell_rect, Average_Colour(working, cell_rect), target);
                Copy_Rect(picture, cell, working, cell_rect);
            }
        }
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(picture.Row_Bytes()) * kHeight);
}
BENCHMARK(BM_CellAverageAlignStretch)->Unit(benchmark::kMillisecond);

}  // namespace

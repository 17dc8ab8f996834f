#include "mosaic_build.h"

#include <memory>
#include <stdexcept>

#include "image/colour_operations.h"
#include "image/raster_drawing.h"
#include "mosaic/fitted_tile_cache.h"
#include "support/work_crew.h"
#include "tiles/tile_list.h"

namespace tilvane {
namespace {

// Fitted tiles are small (one cell each); this keeps a library of a few thousand of them, or a
// few dozen at the largest tile size, within a bounded share of memory.
constexpr std::size_t kFittedTileBudget = std::size_t{48} << 20;

struct Planned_Cell {
    int x;
    std::shared_ptr<const Fitted_Tile> fitted;
};

// Draws one row of cells. The tiles of a row are chosen, and the abort flag read, in the order
// of the cells on the calling thread; the drawing itself is shared out among the crew when the
// cells do not depend on each other, which holds unless a cropped tile smaller than the tile
// size leaves the previous cell's pixels in the working tile.
class Row_Painter {
public:
    Row_Painter(RasterImage& mosaic, const Mosaic_Settings& settings, unsigned processors)
        : mosaic_(mosaic), settings_(settings), crew_(processors), preparers_(crew_.Size()) {}

    // Cells never overlap, so each cell's target, the original's mean under it, can be taken
    // for a stretch of the row in one pass before any of it is drawn.
    void Paint(int y, const std::vector<Planned_Cell>& cells) {
        if (cells.empty()) return;
        lefts_.resize(cells.size());
        targets_.resize(cells.size());
        for (std::size_t i = 0; i < cells.size(); ++i) lefts_[i] = cells[i].x;
        if (crew_.Size() == 1 || Carries_Pixels_Over(cells)) {
            Take_Targets(y, 0, cells.size());
            for (std::size_t i = 0; i < cells.size(); ++i) Paint_Cell(carried_, y, cells[i], targets_[i]);
            return;
        }
        const std::size_t share = (cells.size() + crew_.Size() - 1) / crew_.Size();
        crew_.Run([&](unsigned part) {
            const std::size_t first = std::min(cells.size(), part * share);
            const std::size_t end = std::min(cells.size(), first + share);
            Take_Targets(y, first, end);
            for (std::size_t i = first; i < end; ++i) Paint_Independent_Cell(preparers_[part], y, cells[i], targets_[i]);
        });
        // A later row may carry this row's last tile over, so the working tile it leaves is kept.
        if (settings_.mode == FittingMode::TruncateCrop)
            carried_.prepare_fitted(*cells.back().fitted, settings_.tile_width, settings_.tile_height, targets_.back());
    }

private:
    Rect Cell(int x, int y) const { return Rect::at(x, y, settings_.tile_width, settings_.tile_height); }

    bool Carries_Pixels_Over(const std::vector<Planned_Cell>& cells) const {
        if (settings_.mode == FittingMode::ExpandShrink) return false;
        for (const Planned_Cell& cell : cells)
            if (cell.fitted->block.width() < settings_.tile_width || cell.fitted->block.height() < settings_.tile_height)
                return true;
        return false;
    }

    void Take_Targets(int y, std::size_t first, std::size_t end) {
        if (first == end) return;
        Average_Colours(mosaic_, y, settings_.tile_height, std::span(lefts_).subspan(first, end - first), settings_.tile_width,
                        std::span(targets_).subspan(first, end - first));
    }

    void Paint_Cell(TilePreparer& preparer, int y, const Planned_Cell& cell, Colour target) {
        preparer.prepare_fitted(*cell.fitted, settings_.tile_width, settings_.tile_height, target);
        copy_rect(mosaic_, Cell(cell.x, y), preparer.working_tile(), Rect::at(0, 0, settings_.tile_width, settings_.tile_height));
    }

    // A cell whose working tile no later cell sees: when the tile holds full 24-bit colours,
    // the working tile would round nothing, and the shifted tile can go straight into the mosaic,
    // reduced only to what the mosaic holds.
    void Paint_Independent_Cell(TilePreparer& preparer, int y, const Planned_Cell& cell, Colour target) {
        const Fitted_Tile& fitted = *cell.fitted;
        if (!fitted.block.stores_every_colour()) {
            Paint_Cell(preparer, y, cell, target);
            return;
        }
        Shift_Colours(mosaic_, Cell(cell.x, y), fitted.block, 0, 0, fitted.mean, target);
    }

    RasterImage& mosaic_;
    const Mosaic_Settings& settings_;
    Work_Crew crew_;
    std::vector<TilePreparer> preparers_;
    TilePreparer carried_;
    std::vector<int> lefts_;       // of the row's cells
    std::vector<Colour> targets_;  // the original's mean under each of the row's cells
};

}  // namespace

void Build_Mosaic(const std::string& original_path, const std::string& output_path,
                  const std::vector<std::string>& tiles, const Mosaic_Settings& settings,
                  Random_Source& random, Mosaic_Progress& progress, unsigned processors) {
    if (tiles.empty() || settings.Step_X() <= 0 || settings.Step_Y() <= 0) throw std::invalid_argument("Build_Mosaic: nothing to build with");

    RasterImage mosaic;
    mosaic.load_from_file(original_path);
    Fitted_Tile_Cache fitted_tiles(settings.tile_width, settings.tile_height, settings.mode, kFittedTileBudget);
    Row_Painter painter(mosaic, settings, processors);
    std::vector<Planned_Cell> cells;

    progress.Initialise_Processing(0, 0, mosaic.height() + settings.tile_height + settings.gap_vertical);
    progress.Let_Messages_Run();
    for (int y = 0; y < mosaic.height() && !progress.Abort_Requested();) {
        cells.clear();
        for (int x = 0; x < mosaic.width() && !progress.Abort_Requested(); x += settings.Step_X()) {
            cells.push_back({x, fitted_tiles.Fitted(tiles::Random_Tile(tiles, random))});
        }
        painter.Paint(y, cells);
        y += settings.Step_Y();
        const std::string reached = std::to_string(y);
        progress.Update_Processing("Processing Column at Pixel : " + reached, reached, y);
    }
    progress.End_Processing();
    progress.Let_Messages_Run();
    mosaic.save_to_file(output_path);
}

}  // namespace tilvane

#include "mosaic_build.h"

#include <stdexcept>

#include "mosaic/fitted_tile_cache.h"

namespace tilvane {
namespace {

// Fitted tiles are small (one cell each); this keeps a library of a few thousand of them, or a
// few dozen at the largest tile size, within a bounded share of memory.
constexpr std::size_t kFittedTileBudget = std::size_t{48} << 20;

}  // namespace

std::optional<std::string> Grid_Problem(const Mosaic_Settings& settings) {
    if (settings.Step_X() <= 0)
        return "Error: The Tile Width cannot be 0 unless a horizontal Gap between the Mosaic Tiles is set.";
    if (settings.Step_Y() <= 0)
        return "Error: The Tile Height cannot be 0 unless a vertical Gap between the Mosaic Tiles is set.";
    return std::nullopt;
}

void Build_Mosaic(const std::string& original_path, const std::string& output_path,
                  const std::vector<std::string>& tiles, const Mosaic_Settings& settings,
                  shell::Random_Source& random, Mosaic_Progress& progress) {
    if (tiles.empty() || Grid_Problem(settings)) throw std::invalid_argument("Build_Mosaic: nothing to build with");
    const int width = settings.tile_width;
    const int height = settings.tile_height;
    const int step_x = settings.Step_X();
    const int step_y = settings.Step_Y();

    RasterImage mosaic;
    mosaic.load_from_file(original_path);
    TilePreparer preparer;
    Fitted_Tile_Cache fitted_tiles(width, height, settings.mode, kFittedTileBudget);
    const Rect tile_rect = Rect::at(0, 0, width, height);

    progress.Initialise_Processing(0, 0, mosaic.height() + height + settings.gap_vertical);
    progress.Let_Messages_Run();
    for (int y = 0; y < mosaic.height() && !progress.Abort_Requested();) {
        for (int x = 0; x < mosaic.width() && !progress.Abort_Requested(); x += step_x) {
            const std::string& tile = tiles[static_cast<std::size_t>(random.Uniform_Below(static_cast<int>(tiles.size())))];
            const Rect cell = Rect::at(x, y, width, height);
            const Colour target = Average_Colour(mosaic, cell);
            preparer.prepare_fitted(fitted_tiles.Fitted(tile), width, height, target);
            copy_rect(mosaic, cell, preparer.working_tile(), tile_rect);
        }
        y += step_y;
        const std::string reached = std::to_string(y);
        progress.Update_Processing("Processing Column at Pixel : " + reached, reached, y);
    }
    progress.End_Processing();
    progress.Let_Messages_Run();
    mosaic.save_to_file(output_path);
}

}  // namespace tilvane

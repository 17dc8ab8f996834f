#include "mosaic_build.h"

#include <cmath>
#include <memory>
#include <numeric>
#include <optional>

#include "codecs/picture_writer.h"
#include "image/colour_operations.h"
#include "image/raster_drawing.h"
#include "mosaic/fitted_tile_cache.h"
#include "mosaic/placements_file.h"
#include "mosaic/perceptual_structure.h"
#include "mosaic/scaled_original.h"
#include "support/error.h"
#include "support/file_io.h"
#include "support/work_crew.h"

namespace tilvane {
namespace {

// Fitted tiles are small (one cell each); this keeps a library of 100,000 of them at 20x20, or a
// few dozen at the largest tile size, within a bounded share of memory.
constexpr std::size_t kFitted_Tile_Budget = std::size_t{192} << 20;
// A band of the mosaic holds about this much, or one row of cells when that is more.
constexpr std::size_t kBand_Bytes = std::size_t{8} << 20;

struct Planned_Cell {
    int x;
    std::shared_ptr<const Fitted_Tile> fitted;
    Colour target;  // the original's mean under the cell
};

// Draws one row of cells into a band of the mosaic. The tiles of a row are chosen, and the abort flag read, in the order
// of the cells on the calling thread; the drawing itself is shared out among the crew when the
// cells do not depend on each other, which holds unless a cropped tile smaller than the tile
// size leaves the previous cell's pixels in the working tile.
class Row_Painter {
public:
    Row_Painter(const Raster_Image& original, const Mosaic_Settings& settings, Work_Crew& crew)
        : original_(original), settings_(settings), crew_(crew), preparers_(crew_.Size()) {}

    // The row of cells at y of the mosaic, into band, whose row 0 is the mosaic's row band_top.
    void Paint(Raster_Image& band, int band_top, int y, const std::vector<Planned_Cell>& cells) {
        if (cells.empty()) return;
        band_ = &band;
        band_top_ = band_top;
        if (crew_.Size() == 1 || Carries_Pixels_Over(cells)) {
            for (const Planned_Cell& cell : cells) Paint_Cell(carried_, y, cell);
            return;
        }
        Share_Out(crew_, cells.size(), [&](unsigned part, std::size_t first, std::size_t end) {
            for (std::size_t i = first; i < end; ++i) Paint_Independent_Cell(preparers_[part], y, cells[i]);
        });
        // A later row may carry this row's last tile over, so the working tile it leaves is kept.
        if (settings_.mode == Fitting_Mode::Truncate_Crop)
            carried_.Prepare_Fitted(*cells.back().fitted, settings_.tile_width, settings_.tile_height, cells.back().target);
    }

private:
    Rect Cell(int x, int y) const { return Rect::At(x, y - band_top_, settings_.tile_width, settings_.tile_height); }

    bool Carries_Pixels_Over(const std::vector<Planned_Cell>& cells) const {
        if (settings_.mode == Fitting_Mode::Expand_Shrink) return false;
        for (const Planned_Cell& cell : cells)
            if (cell.fitted->block.Width() < settings_.tile_width || cell.fitted->block.Height() < settings_.tile_height)
                return true;
        return false;
    }

    void Paint_Cell(Tile_Preparer& preparer, int y, const Planned_Cell& cell) {
        preparer.Prepare_Fitted(*cell.fitted, settings_.tile_width, settings_.tile_height, cell.target);
        if (Shifted_Only())
            Copy_Rect(*band_, Cell(cell.x, y), preparer.Working_Tile(), Rect::At(0, 0, settings_.tile_width, settings_.tile_height));
        else
            Colour_Cell(*band_, Cell(cell.x, y), preparer.Working_Tile(), original_, settings_.scale, settings_.colour,
                        settings_.blend, band_top_);
    }

    bool Shifted_Only() const { return settings_.colour == Tile_Colour::Shift && settings_.blend == 0; }

    // A cell whose working tile no later cell sees: when the tile holds full 24-bit colours,
    // the working tile would round nothing, and the shifted tile can go straight into the mosaic,
    // reduced only to what the mosaic holds.
    void Paint_Independent_Cell(Tile_Preparer& preparer, int y, const Planned_Cell& cell) {
        const Fitted_Tile& fitted = *cell.fitted;
        if (!Shifted_Only()) {
            Colour_Cell(*band_, Cell(cell.x, y), fitted.block, original_, settings_.scale, settings_.colour, settings_.blend,
                        band_top_);
            return;
        }
        if (!fitted.block.Stores_Every_Colour()) {
            Paint_Cell(preparer, y, cell);
            return;
        }
        Shift_Colours(*band_, Cell(cell.x, y), fitted.block, 0, 0, fitted.mean, cell.target);
    }

    Raster_Image* band_ = nullptr;
    int band_top_ = 0;
    const Raster_Image& original_;
    const Mosaic_Settings& settings_;
    Work_Crew& crew_;
    std::vector<Tile_Preparer> preparers_;
    Tile_Preparer carried_;
};

// The tiles a build draws from, as indexes into its list, and their structures when the best
// choice matches them.
struct Tile_Stock {
    std::vector<std::size_t> drawn;
    std::vector<Structure> structures;
};

// Reading shared among P processors goes at most this times P as fast as on one: files are
// opened one at a time (under Wine through its one server), and processors are shared. Measured
// on two busy processors under Wine, reading first was no faster at about one cell per tile.
constexpr double kParallel_Reading_Share = 0.75;

// Whether reading every tile first, shared among the processors, takes less time than reading
// each when a cell first draws it, one by one: cells drawn at random take about
// 1 - (1 - 1/tiles)^cells of the list.
bool Reading_First_Is_Faster(std::size_t tiles, std::size_t cells, unsigned processors) {
    const double drawn_share = -std::expm1(static_cast<double>(cells) * std::log1p(-1.0 / static_cast<double>(tiles)));
    return drawn_share * processors * kParallel_Reading_Share > 1;
}

// Reads and fits every tile first when the best choice needs their structures or the reading
// asks for it, leaving out the unreadable ones found in folders (or, read Fastest, leaving every
// unreadable one for its cell to find); otherwise every tile is drawn from and read when first
// drawn. An abort meanwhile gives nothing.
std::optional<Tile_Stock> Stock_Tiles(const std::vector<std::string>& tiles, const Mosaic_Settings& settings, bool best,
                                      const Build_Context& context, std::size_t cells, Fitted_Tile_Cache& fitted_tiles,
                                      Work_Crew& crew, Run_Progress& progress) {
    Tile_Stock stock;
    const bool read_first = best || context.reading == Tile_Reading::First ||
                            (context.reading == Tile_Reading::Fastest && Reading_First_Is_Faster(tiles.size(), cells, crew.Size()));
    const bool errors_when_drawn = !best && context.reading == Tile_Reading::Fastest;
    if (!read_first || errors_when_drawn) {
        stock.drawn.resize(tiles.size());
        std::iota(stock.drawn.begin(), stock.drawn.end(), std::size_t{0});
    }
    if (!read_first) return stock;
    const int count = static_cast<int>(tiles.size());
    std::vector<Structure> structures(best ? tiles.size() : 0);
    bool aborted = false;
    std::size_t reported = 0;
    const std::vector<std::exception_ptr> failures = fitted_tiles.Fit_All(
        tiles, crew,
        [&](std::size_t i, const Fitted_Tile& fitted) {
            if (best)
                structures[i] = Structure_Of(fitted.block, Rect::At(0, 0, fitted.block.Width(), fitted.block.Height()), fitted.mean);
            if (best && settings.colour == Tile_Colour::Transfer) structures[i] = Perceptual_Structure(structures[i], fitted.mean);
        },
        [&](std::size_t done) {
            progress.Update_Reading(static_cast<int>(done), count);
            reported = done;
            aborted = progress.Abort_Requested();
            return !aborted;
        });
    if (aborted) return std::nullopt;
    // The last tile may have been read on another processor than the one that reports.
    if (reported < tiles.size()) progress.Update_Reading(count, count);
    if (errors_when_drawn) return stock;  // a tile that could not be read is read again when drawn
    const auto searched = [&](std::size_t i) { return i < context.found_in_folder.size() && context.found_in_folder[i]; };
    for (std::size_t i = 0; i < tiles.size(); ++i)
        if (failures[i] && !searched(i)) std::rethrow_exception(failures[i]);
    for (std::size_t i = 0; i < tiles.size(); ++i) {
        if (!failures[i]) {
            stock.drawn.push_back(i);
            if (best) stock.structures.push_back(std::move(structures[i]));
            continue;
        }
        try {
            std::rethrow_exception(failures[i]);
        } catch (const std::exception& error) {
            if (context.passed_over) context.passed_over(i, error);
        }
    }
    if (stock.drawn.empty()) throw Error::Of_Kind(Error_Kind::No_Readable_Tile);
    return stock;
}

// The given tile of every cell of the grid, row by row: its index in the list, or -1 where the
// record names none, and whether it is mirrored.
std::vector<std::pair<int, bool>> Given_Grid(const Given_Placements& given, int columns, int rows) {
    std::vector<std::pair<int, bool>> grid(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows), {-1, false});
    for (const Given_Placements::Cell& cell : given.cells) {
        if (cell.column > columns || cell.row > rows)
            throw Error::Placement(Error_Kind::Placement_Cell_Outside, given.path, cell.line);
        auto& place = grid[static_cast<std::size_t>(cell.row - 1) * static_cast<std::size_t>(columns) + static_cast<std::size_t>(cell.column - 1)];
        if (place.first >= 0) throw Error::Placement(Error_Kind::Placement_Cell_Repeated, given.path, cell.line);
        place = {cell.tile, cell.mirrored};
    }
    return grid;
}

}  // namespace

void Build_Mosaic(const Mosaic_Job& job, Random_Source& random, Run_Progress& progress, const Build_Context& context) {
    const std::vector<std::string>& tiles = job.tiles;
    const Mosaic_Settings& settings = job.settings;
    const Given_Placements* given = context.given;
    std::vector<Tile_Placement> record;
    std::vector<Tile_Placement>* placements = context.placements ? context.placements
                                              : settings.placements.empty() ? nullptr : &record;
    if (tiles.empty()) throw Error::Of_Kind(Error_Kind::No_Tiles);
    if (!settings.Advances()) throw Error::Of_Kind(Error_Kind::Grid_Never_Advances);
    if (settings.scale < 1 || settings.scale > Mosaic_Settings::kLargest_Scale)
        throw Error::Of_Kind(Error_Kind::Scale_Out_Of_Range);
    if (settings.min_distance < 0) throw Error::Of_Kind(Error_Kind::Negative_Distance);
    if (settings.blend < 0 || settings.blend > kLargest_Blend) throw Error::Of_Kind(Error_Kind::Blend_Out_Of_Range);

    const Raster_Image original = Load_Picture(job.original, settings.formats);
    const std::uint64_t wide = std::uint64_t(original.Width()) * std::uint64_t(settings.scale);
    const std::uint64_t high = std::uint64_t(original.Height()) * std::uint64_t(settings.scale);
    const Picture_Format* format = Output_Format(job.output, settings.formats);
    if (!format) throw Error::Unknown_Extension(job.output);
    Check_Picture_Fits(job.output, *format, wide, high, original);
    const int width = static_cast<int>(wide), height = static_cast<int>(high);
    const Scaled_Original source(original, settings.scale);
    // Without gaps a row's cells cover its band of the mosaic, and the enlarged original need
    // not be drawn under them first.
    const bool rows_covered = settings.Step_X() == settings.tile_width && settings.Step_Y() == settings.tile_height;

    Work_Crew crew(context.processors);
    Picture_Writer output(job.output, *format, width, height, original, {settings.quality, settings.lossless}, crew);
    Fitted_Tile_Cache fitted_tiles(settings.tile_width, settings.tile_height, settings.mode, kFitted_Tile_Budget,
                                   std::chrono::steady_clock::now, settings.formats);
    Row_Painter painter(original, settings, crew);
    std::vector<int> lefts;
    for (int x = 0; x < width; x += settings.Step_X()) lefts.push_back(x);
    std::vector<Colour> targets(lefts.size());
    std::vector<Cell_Look> looks;
    std::vector<Planned_Cell> cells;

    const int columns = static_cast<int>(lefts.size());
    const int rows = (height + settings.Step_Y() - 1) / settings.Step_Y();
    const std::size_t cell_count = static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows);
    progress.Initialise_Processing(0, 0, settings.Progress_Maximum(height));
    progress.Let_Messages_Run();
    std::optional<Tile_Stock> stock = Stock_Tiles(tiles, settings, settings.choice == Tile_Choice::Best && !given, context,
                                                  cell_count, fitted_tiles, crew, progress);
    const std::vector<std::pair<int, bool>> given_grid = given ? Given_Grid(*given, columns, rows) : decltype(given_grid){};
    const std::size_t readable = stock ? stock->drawn.size() : 0;
    if (stock && !given && settings.max_uses > 0 && static_cast<std::size_t>(settings.max_uses) * readable < cell_count)
        throw Error::Uses_Too_Few(static_cast<int>((cell_count + readable - 1) / readable));
    const int ways = settings.mirror ? 2 : 1;
    const std::unique_ptr<Tile_Chooser> chooser =
        stock && !given ? Make_Tile_Chooser(settings.choice, {settings.min_distance, settings.max_uses, settings.mirror},
                                            static_cast<int>(readable), random, std::move(stock->structures))
                        : nullptr;
    if (chooser && chooser->Needs_Looks()) looks.resize(lefts.size());
    // A cell as the chooser compares it with the tiles: in the perceptual measure when the colour
    // transfer draws it, as the tiles' structures then are.
    const auto look_at_cell = [&](int left, int top, Colour target, Cell_Look& look) {
        source.Look_At(Rect::At(left, top, settings.tile_width, settings.tile_height), target, look);
        if (settings.colour == Tile_Colour::Transfer) Make_Perceptual(look);
        chooser->Find_Nearest(look);
    };
    if (chooser && chooser->Needs_Whole_Grid()) {
        // Every cell's look first, row by row as the drawing below takes them.
        std::vector<Cell_Look> grid(cell_count);
        for (int row = 0, top = 0; row < rows && !progress.Abort_Requested(); ++row, top += settings.Step_Y())
            Share_Out(crew, lefts.size(), [&](unsigned, std::size_t first, std::size_t end) {
                source.Targets(top, settings.tile_height, std::span(lefts).subspan(first, end - first), settings.tile_width,
                               std::span(targets).subspan(first, end - first));
                for (std::size_t i = first; i < end; ++i) {
                    look_at_cell(lefts[i], top, targets[i], grid[static_cast<std::size_t>(row) * lefts.size() + i]);
                }
            });
        chooser->Plan(std::move(grid), columns);
        looks.clear();
    }
    const std::size_t cell_row_bytes = static_cast<std::size_t>(settings.Step_Y()) * static_cast<std::size_t>(width) * 3;
    const int band_rows = context.band_rows > 0 ? context.band_rows : static_cast<int>(std::max<std::size_t>(1, kBand_Bytes / cell_row_bytes));
    const int band_height = static_cast<int>(std::min<std::int64_t>(std::int64_t{band_rows} * settings.Step_Y(), height));
    Raster_Image band = original.Blank_With_Layout(width, band_height);
    bool stopped = !stock;
    int y = 0, row = 0;
    for (int band_top = 0; band_top < height; band_top += band_height) {
        const int band_bottom = std::min(height, band_top + band_height);
        if (band.Height() != band_bottom - band_top) band = original.Blank_With_Layout(width, band_bottom - band_top);
        for (; !stopped && y < band_bottom; ++row) {
            if (progress.Abort_Requested()) {
                stopped = true;
                break;
            }
            // Cells never overlap, so each cell's target, the original's mean under it, can be
            // taken for the whole row before any of it is drawn.
            Share_Out(crew, lefts.size(), [&](unsigned, std::size_t first, std::size_t end) {
                source.Targets(y, settings.tile_height, std::span(lefts).subspan(first, end - first), settings.tile_width,
                               std::span(targets).subspan(first, end - first));
                for (std::size_t i = first; i < end && !looks.empty(); ++i) {
                    look_at_cell(lefts[i], y, targets[i], looks[i]);
                }
            });
            cells.clear();
            for (std::size_t i = 0; i < lefts.size() && !progress.Abort_Requested(); ++i) {
                std::pair<int, bool> tile;
                if (given) {
                    tile = given_grid[static_cast<std::size_t>(row) * lefts.size() + i];
                    if (tile.first < 0) continue;
                } else {
                    const int choice = chooser->Choose(static_cast<int>(i), row, looks.empty() ? nullptr : &looks[i]);
                    tile = {static_cast<int>(stock->drawn[static_cast<std::size_t>(choice / ways)]), choice % ways == 1};
                }
                std::shared_ptr<const Fitted_Tile> fitted = fitted_tiles.Fitted(tiles[static_cast<std::size_t>(tile.first)]);
                if (tile.second) fitted = std::make_shared<const Fitted_Tile>(Mirrored(*fitted));
                cells.push_back({lefts[i], std::move(fitted), targets[i]});
                if (placements)
                    placements->push_back({static_cast<int>(i) + 1, row + 1,
                                           Clip_To(Rect::At(lefts[i], y, settings.tile_width, settings.tile_height), width, height),
                                           tile.first, tile.second});
            }
            if (!rows_covered || cells.size() < lefts.size()) source.Enlarge_Into(band, y, y + settings.Step_Y(), band_top);
            painter.Paint(band, band_top, y, cells);
            y += settings.Step_Y();
            progress.Update_Processing(y);
        }
        source.Enlarge_Into(band, y, band_bottom, band_top);  // the rows an abort left
        output.Write_Band(band);
    }
    progress.End_Processing();
    progress.Let_Messages_Run();
    output.Commit();
    if (!settings.placements.empty()) {
        const std::string csv = Placements_Csv(*placements, tiles, settings.mirror);
        Write_File_Atomically(settings.placements, std::vector<std::uint8_t>(csv.begin(), csv.end()));
    }
}

}  // namespace tilvane

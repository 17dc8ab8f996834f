#include "mosaic_build.h"

#include <cmath>
#include <memory>
#include <numeric>
#include <optional>

#include "codecs/picture_writer.h"
#include "image/colour_operations.h"
#include "image/raster_drawing.h"
#include "mosaic/fitted_tile_cache.h"
#include "mosaic/mosaic_option_table.h"
#include "mosaic/placements_file.h"
#include "mosaic/perceptual_structure.h"
#include "mosaic/scaled_original.h"
#include "support/error.h"
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

// A cap on each tile's uses that `tiles` tiles cannot cover the grid's cells with is refused,
// naming the fewest uses that can.
void Refuse_Too_Few_Uses(int max_uses, std::size_t tiles, std::size_t cells) {
    if (max_uses > 0 && static_cast<std::size_t>(max_uses) * tiles < cells)
        throw Error::Uses_Too_Few(static_cast<int>((cells + tiles - 1) / tiles));
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
    std::vector<Structure> structures(best ? tiles.size() : 0);
    const auto structure_of = [&](const Structure& bgr, Colour mean) {
        return settings.colour == Tile_Colour::Transfer ? Perceptual_Structure(bgr, mean) : bgr;
    };
    // A stored tile's look is known without its picture; its picture is read first only when
    // that is faster than reading the tiles the cells draw.
    const bool read_stored = !best && Reading_First_Is_Faster(tiles.size(), cells, crew.Size());
    std::vector<std::size_t> to_read;
    for (std::size_t i = 0; i < tiles.size(); ++i) {
        const std::optional<Stored_Look> look =
            context.stored ? context.stored->Look(tiles[i], settings.tile_width, settings.tile_height, settings.mode) : std::nullopt;
        if (!look || read_stored) to_read.push_back(i);
        if (look && best) structures[i] = structure_of(look->structure, look->mean);
    }
    std::vector<std::string> paths;
    for (const std::size_t i : to_read) paths.push_back(tiles[i]);
    const int count = static_cast<int>(paths.size());
    bool aborted = false;
    std::size_t reported = 0;
    const std::vector<std::exception_ptr> read_failures = fitted_tiles.Fit_All(
        paths, crew,
        [&](std::size_t k, const Fitted_Tile& fitted) {
            if (best)
                structures[to_read[k]] = structure_of(
                    Structure_Of(fitted.block, Rect::At(0, 0, fitted.block.Width(), fitted.block.Height()), fitted.mean), fitted.mean);
        },
        [&](std::size_t done) {
            progress.Update_Reading(static_cast<int>(done), count);
            reported = done;
            aborted = progress.Abort_Requested();
            return !aborted;
        });
    if (aborted) return std::nullopt;
    // The last tile may have been read on another processor than the one that reports.
    if (reported < paths.size()) progress.Update_Reading(count, count);
    if (errors_when_drawn) return stock;  // a tile that could not be read is read again when drawn
    std::vector<std::exception_ptr> failures(tiles.size());
    for (std::size_t k = 0; k < to_read.size(); ++k) failures[to_read[k]] = read_failures[k];
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
// record names none, and whether it is mirrored. Each cell the record names must lie in the grid,
// once, at the place the grid gives it (the part of the width x height mosaic it covers), and use
// its tile no more often than the settings' cap allows.
std::vector<std::pair<int, bool>> Given_Grid(const Given_Placements& given, const std::vector<int>& lefts, int rows,
                                             int width, int height, const Mosaic_Settings& settings,
                                             const std::vector<std::string>& tiles) {
    const std::size_t columns = lefts.size();
    std::vector<std::pair<int, bool>> grid(columns * static_cast<std::size_t>(rows), {-1, false});
    std::vector<int> uses(settings.max_uses > 0 ? tiles.size() : 0);
    for (const Given_Placements::Cell& cell : given.cells) {
        const auto refuse = [&](Error_Kind kind) { return Error::Placement(kind, given.path, cell.line); };
        if (static_cast<std::size_t>(cell.column) > columns || cell.row > rows) throw refuse(Error_Kind::Placement_Cell_Outside);
        const std::size_t column = static_cast<std::size_t>(cell.column - 1);
        auto& place = grid[static_cast<std::size_t>(cell.row - 1) * columns + column];
        if (place.first >= 0) throw refuse(Error_Kind::Placement_Cell_Repeated);
        const Rect area = Clip_To(Rect::At(lefts[column], (cell.row - 1) * settings.Step_Y(), settings.tile_width,
                                           settings.tile_height), width, height);
        if (cell.place && *cell.place != std::array{area.left, area.top, area.Width(), area.Height()})
            throw refuse(Error_Kind::Placement_Place_Wrong);
        if (!uses.empty() && ++uses[static_cast<std::size_t>(cell.tile)] > settings.max_uses)
            throw Error::Placement_Over_Cap(given.path, cell.line, tiles[static_cast<std::size_t>(cell.tile)], settings.max_uses);
        place = {cell.tile, cell.mirrored};
    }
    return grid;
}

// Where the record of placements goes; empty when none is asked for.
std::string Placements_Path(const Mosaic_Job& job) {
    const Mosaic_Options& options = job.settings;
    if (!options.write_placements) return {};
    return options.placements.empty() ? Placements_File_Beside(job.output) : options.placements;
}

// What the job's checks establish before anything is written or read: the original, the
// mosaic's format and size, the grid's columns (their left edges) and rows, and a given record's
// tile for each cell (Given_Grid).
struct Mosaic_Frame {
    Raster_Image original;
    const Picture_Format* format;
    int width, height;
    std::vector<int> lefts;
    int rows;
    std::vector<std::pair<int, bool>> given_grid;

    std::size_t Cell_Count() const { return lefts.size() * static_cast<std::size_t>(rows); }
};

// The checks that need no tile, in the order their errors take precedence: the list and the grid,
// the options, the original, the output's format and size, and a given record's cells or else a
// cap that even every tile of the list could not cover the grid with.
Mosaic_Frame Check_Job(const Mosaic_Job& job, const Given_Placements* given) {
    const Mosaic_Settings& settings = job.settings;
    if (job.tiles.empty()) throw Error::Of_Kind(Error_Kind::No_Tiles);
    if (!settings.Advances()) throw Error::Of_Kind(Error_Kind::Grid_Never_Advances);
    Check_Mosaic_Options(settings);
    Raster_Image original = Load_Picture(job.original, settings.formats);
    const std::uint64_t wide = std::uint64_t(original.Width()) * std::uint64_t(settings.scale);
    const std::uint64_t high = std::uint64_t(original.Height()) * std::uint64_t(settings.scale);
    const Picture_Format* format = Output_Format(job.output, settings.formats);
    if (!format) throw Error::Unknown_Extension(job.output);
    Check_Picture_Fits(job.output, *format, wide, high, original);
    Mosaic_Frame frame{std::move(original), format, static_cast<int>(wide), static_cast<int>(high), {}, 0, {}};
    for (int x = 0; x < frame.width; x += settings.Step_X()) frame.lefts.push_back(x);
    frame.rows = (frame.height + settings.Step_Y() - 1) / settings.Step_Y();
    if (given)
        frame.given_grid = Given_Grid(*given, frame.lefts, frame.rows, frame.width, frame.height, settings, job.tiles);
    else
        Refuse_Too_Few_Uses(settings.max_uses, job.tiles.size(), frame.Cell_Count());
    return frame;
}

// One build, in the order it runs (Run): the tiles stocked and the chooser told the grid, then the
// mosaic drawn and written a band of cell rows at a time, and the mosaic and its record committed.
class Mosaic_Builder {
public:
    Mosaic_Builder(const Mosaic_Job& job, Mosaic_Frame frame, Random_Source& random, Run_Progress& progress,
                   const Build_Context& context)
        : job_(job), settings_(job.settings), frame_(std::move(frame)), random_(random), progress_(progress),
          context_(context), source_(frame_.original, settings_.scale), crew_(context.processors),
          output_(job.output, *frame_.format, frame_.width, frame_.height, frame_.original, {settings_.quality, settings_.lossless}, crew_),
          fitted_tiles_(settings_.tile_width, settings_.tile_height, settings_.mode, kFitted_Tile_Budget,
                        std::chrono::steady_clock::now, settings_.formats, context.stored),
          painter_(frame_.original, settings_, crew_), targets_(frame_.lefts.size()) {
        if (const std::string path = Placements_Path(job); !path.empty()) record_.emplace(path, job.tiles, settings_.mirror);
    }

    void Run() {
        progress_.Initialise_Processing(0, 0, settings_.Progress_Maximum(frame_.height));
        progress_.Let_Messages_Run();
        const bool stocked = Stock_And_Choose();
        Draw_Bands(stocked);
        Commit();
    }

private:
    // Reads the tiles the choice needs first and makes the chooser, or takes the given grid; false
    // when an abort stopped the reading.
    bool Stock_And_Choose() {
        const Given_Placements* given = context_.given;
        stock_ = Stock_Tiles(job_.tiles, settings_, settings_.choice == Tile_Choice::Best && !given, context_,
                             frame_.Cell_Count(), fitted_tiles_, crew_, progress_);
        if (given || !stock_) return stock_.has_value();
        const std::size_t readable = stock_->drawn.size();
        Refuse_Too_Few_Uses(settings_.max_uses, readable, frame_.Cell_Count());
        chooser_ = Make_Tile_Chooser(settings_.choice, {settings_.min_distance, settings_.max_uses, settings_.mirror},
                                     static_cast<int>(readable), random_, std::move(stock_->structures));
        if (chooser_->Needs_Looks()) looks_.resize(frame_.lefts.size());
        // The chooser may look at rows ahead of the drawing, into targets of its own.
        chooser_->Plan(
            [this, row_targets = std::vector<Colour>(frame_.lefts.size())](int row, std::vector<Cell_Look>& looks) mutable {
                looks.resize(frame_.lefts.size());
                Look_At_Row(row * settings_.Step_Y(), row_targets, &looks);
                return !progress_.Abort_Requested();
            },
            static_cast<int>(frame_.lefts.size()), frame_.rows);
        if (chooser_->Plans_Ahead()) looks_.clear();
        return true;
    }

    // Each cell's target, the original's mean under it, for the row of cells at top, and with
    // looks each cell's look as the chooser compares it with the tiles: in the perceptual measure
    // when the colour transfer draws it, as the tiles' structures then are. Cells never overlap,
    // so the row's cells are shared out among the crew.
    void Look_At_Row(int top, std::span<Colour> targets, std::vector<Cell_Look>* looks) {
        const std::span<const int> lefts(frame_.lefts);
        Share_Out(crew_, lefts.size(), [&](unsigned, std::size_t first, std::size_t end) {
            source_.Targets(top, settings_.tile_height, lefts.subspan(first, end - first), settings_.tile_width,
                            targets.subspan(first, end - first));
            for (std::size_t i = first; i < end && looks; ++i) {
                Cell_Look& look = (*looks)[i];
                source_.Look_At(Rect::At(lefts[i], top, settings_.tile_width, settings_.tile_height), targets[i], look);
                if (settings_.colour == Tile_Colour::Transfer) Make_Perceptual(look);
                chooser_->Find_Nearest(look);
            }
        });
    }

    // The mosaic's bands, each drawn as far as the build got and written; after an abort (or one
    // while the tiles were read) the rest of each band is the original's.
    void Draw_Bands(bool go_on) {
        const int width = frame_.width, height = frame_.height, step = settings_.Step_Y();
        const std::size_t cell_row_bytes = static_cast<std::size_t>(step) * static_cast<std::size_t>(width) * 3;
        const int band_rows = context_.band_rows > 0 ? context_.band_rows
                                                     : static_cast<int>(std::max<std::size_t>(1, kBand_Bytes / cell_row_bytes));
        const int band_height = static_cast<int>(std::min<std::int64_t>(std::int64_t{band_rows} * step, height));
        Raster_Image band = frame_.original.Blank_With_Layout(width, band_height);
        int y = 0, row = 0;
        for (int band_top = 0; band_top < height; band_top += band_height) {
            const int band_bottom = std::min(height, band_top + band_height);
            if (band.Height() != band_bottom - band_top) band = frame_.original.Blank_With_Layout(width, band_bottom - band_top);
            for (; go_on && y < band_bottom; ++row, y += step) {
                go_on = !progress_.Abort_Requested();
                if (!go_on) break;
                Draw_Row(band, band_top, y, row);
                progress_.Update_Processing(y + step);
            }
            source_.Enlarge_Into(band, y, band_bottom, band_top);  // the rows an abort left
            output_.Write_Band(band);
        }
    }

    // The row of cells at y: each cell's tile chosen (or given) in the order of the cells on this
    // thread, recorded, then painted.
    void Draw_Row(Raster_Image& band, int band_top, int y, int row) {
        Look_At_Row(y, targets_, looks_.empty() ? nullptr : &looks_);
        cells_.clear();
        for (std::size_t i = 0; i < frame_.lefts.size() && !progress_.Abort_Requested(); ++i) {
            const std::optional<std::pair<int, bool>> tile = Tile_For(i, row);
            if (!tile) continue;
            std::shared_ptr<const Fitted_Tile> fitted = fitted_tiles_.Fitted(job_.tiles[static_cast<std::size_t>(tile->first)]);
            if (tile->second) fitted = std::make_shared<const Fitted_Tile>(Mirrored(*fitted));
            cells_.push_back({frame_.lefts[i], std::move(fitted), targets_[i]});
            const Tile_Placement placed{static_cast<int>(i) + 1, row + 1,
                                        Clip_To(Rect::At(frame_.lefts[i], y, settings_.tile_width, settings_.tile_height),
                                                frame_.width, frame_.height),
                                        tile->first, tile->second};
            if (context_.placements) context_.placements->push_back(placed);
            if (record_) record_->Add(placed);
        }
        // Without gaps a row's cells cover its band of the mosaic, and the enlarged original need
        // not be drawn under them first.
        const bool covered = settings_.Step_X() == settings_.tile_width && settings_.Step_Y() == settings_.tile_height &&
                             cells_.size() == frame_.lefts.size();
        if (!covered) source_.Enlarge_Into(band, y, y + settings_.Step_Y(), band_top);
        painter_.Paint(band, band_top, y, cells_);
    }

    // The tile of the cell in column and row, as its index in the list and whether it is mirrored;
    // nothing where a given record names none.
    std::optional<std::pair<int, bool>> Tile_For(std::size_t column, int row) {
        if (context_.given) {
            const std::pair<int, bool> tile = frame_.given_grid[static_cast<std::size_t>(row) * frame_.lefts.size() + column];
            if (tile.first < 0) return std::nullopt;
            return tile;
        }
        const int ways = settings_.mirror ? 2 : 1;
        const int choice = chooser_->Choose(static_cast<int>(column), row, looks_.empty() ? nullptr : &looks_[column]);
        return std::pair{static_cast<int>(stock_->drawn[static_cast<std::size_t>(choice / ways)]), choice % ways == 1};
    }

    // The mosaic and its record are one result: both are written whole, where a full disk shows,
    // before either takes its place. The record goes first, as the one a spreadsheet may hold
    // open: refused, it leaves the old mosaic too.
    void Commit() {
        progress_.End_Processing();
        progress_.Let_Messages_Run();
        output_.Finish();
        if (record_) {
            record_->Finish();
            record_->Commit();
        }
        output_.Commit();
    }

    const Mosaic_Job& job_;
    const Mosaic_Settings& settings_;
    const Mosaic_Frame frame_;
    Random_Source& random_;
    Run_Progress& progress_;
    const Build_Context& context_;
    const Scaled_Original source_;
    Work_Crew crew_;
    Picture_Writer output_;
    Fitted_Tile_Cache fitted_tiles_;
    std::optional<Placements_Writer> record_;
    Row_Painter painter_;
    std::optional<Tile_Stock> stock_;
    std::unique_ptr<Tile_Chooser> chooser_;
    std::vector<Colour> targets_;
    std::vector<Cell_Look> looks_;
    std::vector<Planned_Cell> cells_;
};

}  // namespace

void Build_Mosaic(const Mosaic_Job& job, Random_Source& random, Run_Progress& progress, const Build_Context& context) {
    Mosaic_Builder(job, Check_Job(job, context.given), random, progress, context).Run();
}

}  // namespace tilvane

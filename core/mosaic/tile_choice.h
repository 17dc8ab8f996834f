#pragma once
// How a mosaic build picks each cell's tile from the list.
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "mosaic/tile_structure.h"
#include "support/random_source.h"

namespace tilvane {

enum class Tile_Choice {
    Random,   // each cell draws from the whole list, independently
    Shuffle,  // every tile once, in a shuffled order, before any tile a second time
    Best,     // the tile whose structure best matches the cell's, near-ties drawn at random
};

// Every choice, in Tile_Choice's order (which the settings file keeps), with the word the command
// line takes for it, and the caption and name of its radio item in the window's Options menu.
struct Tile_Choice_Name {
    Tile_Choice choice;
    const char* word;
    const char* caption;
    const char* item_name;
};
inline constexpr std::array<Tile_Choice_Name, 3> kTile_Choice_Names{{
    {Tile_Choice::Random, "random", "Draw Tiles at &Random", "Draw_Tiles_at_Random_Option"},
    {Tile_Choice::Shuffle, "shuffle", "Use Every Tile &Before Repeating", "Use_Every_Tile_Before_Repeating_Option"},
    {Tile_Choice::Best, "best", "Choose the Best-&Matching Tile", "Choose_Best_Matching_Tile_Option"},
}};

const char* Choice_Word(Tile_Choice choice);
std::optional<Tile_Choice> Choice_Of_Word(const std::string& word);
// "random, shuffle or best", for the command line's words.
std::string Choice_Words_Text();

// What a cell looks like to a chooser that matches structures.
struct Cell_Look {
    Colour target;                                         // the mean colour the tile is shifted onto
    Structure structure;                                   // less target
    std::array<bool, kStructure_Grid * kStructure_Grid> visible;  // the grid parts inside the mosaic
    std::vector<int> nearest;                              // tiles nearest in the index
    std::vector<float> errors{};  // their match errors, where the chooser measures them as it finds them
    bool clipped = true;  // the measure holds the shifted tile within 0..255, as the shift does
};

// How often, how near and which way round a tile may come.
struct Tile_Rules {
    int min_distance = 0;  // in cells
    int max_uses = 0;      // 0: no limit
    bool mirror = false;   // each tile is offered as it is and mirrored left to right
};

// Chooses the tiles of a build's cells, row by row and left to right, always in that order on one
// thread, so a build is the same for the same seed whatever the number of threads. A choice is
// the tile's index, or with the rules' mirror twice that, plus 1 for the mirrored tile. No tile
// (mirrored or not) is chosen more than max_uses times; the build makes sure that the tiles can
// cover the grid so. With a minimum distance D above 0, no tile comes twice within D cells (columns and rows, whichever is
// more) while the list has a tile that can go there (a list of 2D(D + 1) + 1 tiles always has:
// that many cells come before a cell within the distance); otherwise the cell takes the tile whose
// nearest use is farthest, and random, shuffle and best with a cap, told the grid (Plan), then try
// to swap it with an earlier cell of its row for which both keep the distance.
class Tile_Chooser {
public:
    virtual ~Tile_Chooser() = default;
    // The index of the tile for the cell at (column, row) of the grid, counted from 0. look is
    // the cell's Cell_Look for a chooser that Needs_Looks, null otherwise.
    virtual int Choose(int column, int row, const Cell_Look* look) = 0;
    virtual bool Needs_Looks() const { return false; }
    // For a chooser that Needs_Looks: fills look->nearest, and may fill look->errors (safe to call
    // on several threads, as the build does, so work done here is shared by its crew).
    virtual void Find_Nearest(Cell_Look&) const {}
    // Before the first Choose a chooser is told the grid's size, with a way to see the looks of
    // any row of cells (after Find_Nearest), which it may also use while choosing. The way fills
    // one look per column and says whether the build goes on (false: it is being stopped). A
    // chooser that Plans_Ahead takes its looks so, and Choose is then given none.
    using Row_Looks = std::function<bool(int row, std::vector<Cell_Look>& looks)>;
    virtual void Plan(Row_Looks, int /*columns*/, int /*rows*/) {}
    virtual bool Plans_Ahead() const { return false; }
};

// random draws one number per cell from `random`, as the plain build always has; the draws of
// shuffle and best come from it too. tile_structures (each tile's own, less its mean) are
// needed for Best only. Best with a cap on uses plans ahead, a band of rows at a time (see Plan).
std::unique_ptr<Tile_Chooser> Make_Tile_Chooser(Tile_Choice choice, Tile_Rules rules, int tile_count,
                                                Random_Source& random, std::vector<Structure> tile_structures = {});

}  // namespace tilvane

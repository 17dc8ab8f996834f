#pragma once
#include <chrono>
#include <cstddef>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "codecs/picture_file.h"
#include "mosaic/stored_tiles.h"
#include "mosaic/tile_preparation.h"
#include "support/file_io.h"
#include "support/work_crew.h"

namespace tilvane {

// Decoding a tile file for every cell would cost tens of thousands of file reads in one build,
// so each tile is read and fitted once and kept as its small fitted block. What a user can see
// stays as if every cell read its file: a tile file that has gone or cannot be opened any more
// stops the build with the same error, and a changed file is read again. Files are looked at
// again at most every quarter second, the rate at which the build's progress is shown, and the
// looking takes at most a tenth of the time: under Wine every look costs several calls to its
// server, and with thousands of tiles, or a busy machine, it would otherwise outweigh the build.
class Fitted_Tile_Cache {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    // Tiles are read as formats allows (Load_Picture), a stretched JPEG at the smallest scale
    // that covers the tile size.
    // Tiles beyond byte_budget (their pixels and what holding them costs) are not kept, and are
    // read again whenever they are wanted. A tile that stored holds is fitted from its stored
    // picture, and its file is not looked at.
    Fitted_Tile_Cache(int width, int height, Fitting_Mode mode, std::size_t byte_budget,
                      Clock clock = std::chrono::steady_clock::now, Picture_Formats formats = Picture_Formats::Bmp_Only,
                      const Stored_Tiles* stored = nullptr);

    // The tile's fitted block (see Fit_Tile). Image-layer errors propagate.
    std::shared_ptr<const Fitted_Tile> Fitted(const std::string& path);

    // Reads and fits every tile of paths on the crew's threads, each picture decoded once, and
    // keeps them as Fitted would. each(i, fitted) runs on the crew's threads for every tile read.
    // After each tile it reads, the calling thread asks go_on(tiles done so far); once that says
    // no, the tiles not yet begun are left unread. Returns each tile's error, null where the
    // tile was read or left.
    std::vector<std::exception_ptr> Fit_All(const std::vector<std::string>& paths, Work_Crew& crew,
                                            const std::function<void(std::size_t index, const Fitted_Tile&)>& each,
                                            const std::function<bool(std::size_t done)>& go_on);

    static constexpr std::chrono::milliseconds kRecheck_Interval{250};
    static constexpr int kLooking_Share = 10;  // looking at files again takes at most 1/10 of the time

private:
    struct Entry {
        std::shared_ptr<const Fitted_Tile> fitted;
        File_Stamp stamp;
        std::chrono::steady_clock::time_point checked;
        bool stored = false;  // fitted from the stored picture: no file to look at again
    };
    Entry Read(const std::string& path) const;
    // Holds entry when the budget has room for it; returns its fitted block either way.
    std::shared_ptr<const Fitted_Tile> Keep(const std::string& path, Entry entry);

    int width_;
    int height_;
    Fitting_Mode mode_;
    std::size_t byte_budget_;
    Picture_Formats formats_;
    const Stored_Tiles* stored_;
    std::size_t bytes_held_ = 0;
    Clock clock_;
    std::chrono::steady_clock::time_point started_;
    std::chrono::steady_clock::duration looking_{};  // spent looking at held tiles' files again
    std::unordered_map<std::string, Entry> entries_;
};

}  // namespace tilvane

#include "fitted_tile_cache.h"

#include "codecs/picture_file.h"

namespace tilvane {

Fitted_Tile_Cache::Fitted_Tile_Cache(int width, int height, Fitting_Mode mode, std::size_t byte_budget, Clock clock,
                                     bool any_format)
    : width_(width), height_(height), mode_(mode), byte_budget_(byte_budget), any_format_(any_format), clock_(std::move(clock)) {}

Fitted_Tile_Cache::Entry Fitted_Tile_Cache::Read(const std::string& path,
                                                 std::chrono::steady_clock::time_point now) const {
    Entry entry;
    entry.stamp = stamp_of_readable_file(path);
    RasterImage tile;
    if (!any_format_)
        tile.load_from_file(path);
    else if (mode_ == Fitting_Mode::Expand_Shrink)
        tile = Load_Picture(path, {width_, height_});
    else
        tile = Load_Picture(path);  // cropping keeps the tile's own scale
    entry.fitted = std::make_shared<const Fitted_Tile>(Fit_Tile(tile, width_, height_, mode_));
    entry.checked = now;
    return entry;
}

std::shared_ptr<const Fitted_Tile> Fitted_Tile_Cache::Fitted(const std::string& path) {
    const auto now = clock_();
    if (auto found = entries_.find(path); found != entries_.end()) {
        Entry& entry = found->second;
        if (now - entry.checked >= kRecheckInterval) {
            if (stamp_of_readable_file(path) != entry.stamp) entry = Read(path, now);
            entry.checked = now;
        }
        return entry.fitted;
    }
    Entry entry = Read(path, now);
    const std::size_t bytes = entry.fitted->block.row_bytes() * static_cast<std::size_t>(entry.fitted->block.height()) + path.size();
    if (bytes_held_ + bytes > byte_budget_) return entry.fitted;  // used once, read again next time
    bytes_held_ += bytes;
    return entries_.emplace(path, std::move(entry)).first->second.fitted;
}

}  // namespace tilvane

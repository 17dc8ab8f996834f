#include "fitted_tile_cache.h"

#include <mutex>

#include "codecs/picture_file.h"

namespace tilvane {
namespace {

// What holding a tile costs beside its pixels and its path: the map's node, the entry, the
// shared block and its image's own fields.
constexpr std::size_t kHolding_Cost = 256;

}  // namespace

Fitted_Tile_Cache::Fitted_Tile_Cache(int width, int height, Fitting_Mode mode, std::size_t byte_budget, Clock clock,
                                     Picture_Formats formats, const Stored_Tiles* stored)
    : width_(width), height_(height), mode_(mode), byte_budget_(byte_budget), formats_(formats), stored_(stored),
      clock_(std::move(clock)), started_(clock_()) {}

Fitted_Tile_Cache::Entry Fitted_Tile_Cache::Read(const std::string& path) const {
    Entry entry;
    entry.checked = clock_();
    if (stored_) {
        if (std::optional<Raster_Image> picture = stored_->Picture(path, width_, height_, mode_)) {
            entry.stored = true;
            entry.fitted = std::make_shared<const Fitted_Tile>(Fit_Tile(*picture, width_, height_, mode_));
            return entry;
        }
    }
    entry.stamp = Stamp_Of_Readable_File(path);
    // Cropping keeps the tile's own scale.
    const Load_Hint hint = mode_ == Fitting_Mode::Expand_Shrink ? Load_Hint{width_, height_} : Load_Hint{};
    entry.fitted = std::make_shared<const Fitted_Tile>(Fit_Tile(Load_Picture(path, formats_, hint), width_, height_, mode_));
    return entry;
}

std::shared_ptr<const Fitted_Tile> Fitted_Tile_Cache::Keep(const std::string& path, Entry entry) {
    const std::size_t bytes =
        entry.fitted->block.Row_Bytes() * static_cast<std::size_t>(entry.fitted->block.Height()) + path.size() + kHolding_Cost;
    if (bytes_held_ + bytes > byte_budget_) return entry.fitted;  // used once, read again next time
    const auto [kept, added] = entries_.try_emplace(path, std::move(entry));
    if (added) bytes_held_ += bytes;
    return kept->second.fitted;
}

std::shared_ptr<const Fitted_Tile> Fitted_Tile_Cache::Fitted(const std::string& path) {
    if (auto found = entries_.find(path); found != entries_.end()) {
        Entry& entry = found->second;
        const auto now = clock_();
        if (!entry.stored && now - entry.checked >= kRecheck_Interval && looking_ * kLooking_Share <= now - started_) {
            if (Stamp_Of_Readable_File(path) != entry.stamp) entry = Read(path);
            entry.checked = clock_();
            looking_ += entry.checked - now;
        }
        return entry.fitted;
    }
    return Keep(path, Read(path));
}

std::vector<std::exception_ptr> Fitted_Tile_Cache::Fit_All(const std::vector<std::string>& paths, Work_Crew& crew,
                                                           const std::function<void(std::size_t, const Fitted_Tile&)>& each,
                                                           const std::function<bool(std::size_t)>& go_on) {
    std::vector<std::exception_ptr> failures(paths.size());
    std::mutex keeping;
    Share_Each(
        crew, paths.size(),
        [&](std::size_t i) {
            try {
                Entry entry = Read(paths[i]);
                each(i, *entry.fitted);
                const std::lock_guard lock(keeping);
                Keep(paths[i], std::move(entry));
            } catch (...) {
                failures[i] = std::current_exception();
            }
        },
        go_on);
    return failures;
}

}  // namespace tilvane

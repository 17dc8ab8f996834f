#include "library_tiles.h"

#include "codecs/jpeg/jpeg_codec.h"
#include "support/error.h"

namespace tilvane::library {

std::vector<std::string> Library_Tiles::Add_Library(const std::string& path) {
    files_.push_back(std::make_unique<Library_File>(path, Library_File::Access::Read));
    const Library_File* file = files_.back().get();
    std::vector<std::string> paths;
    for (Library_Entry& entry : file->Entries()) {
        paths.push_back(entry.path);
        std::string key = entry.path;
        photos_.try_emplace(std::move(key), Held{file, std::move(entry)});
    }
    return paths;
}

const Library_Tiles::Held* Library_Tiles::Serving(const std::string& path, int width, int height, Fitting_Mode mode) const {
    const auto found = photos_.find(path);
    if (found == photos_.end() || mode != Fitting_Mode::Expand_Shrink) return nullptr;
    const Photo_Summary& summary = found->second.entry.summary;
    if (width > summary.picture_width || height > summary.picture_height) return nullptr;
    return &found->second;
}

std::optional<Raster_Image> Library_Tiles::Picture(const std::string& path, int width, int height, Fitting_Mode mode) const {
    const Held* held = Serving(path, width, height, mode);
    if (!held) return std::nullopt;
    const Photo_Summary& summary = held->entry.summary;
    const bool small = width <= summary.small_width && height <= summary.small_height;
    const std::vector<std::uint8_t> bytes =
        held->file->Picture_Bytes(held->entry.id, small ? Library_File::Size::Small : Library_File::Size::Large);
    try {
        Raster_Image picture = Decode_Jpeg(std::span<const std::uint8_t>(bytes), {std::max(width, 1), std::max(height, 1)});
        // A picture of another size than the library lists is as damaged as one that does not decode.
        if (picture.Width() < width || picture.Height() < height) throw Error::Library_Not_Valid(held->file->Path());
        return picture;
    } catch (const Error& error) {
        if (error.Kind() == Error_Kind::Picture_Not_Valid) throw Error::Library_Not_Valid(held->file->Path());
        throw;
    }
}

std::optional<Stored_Look> Library_Tiles::Look(const std::string& path, int width, int height, Fitting_Mode mode) const {
    const Held* held = Serving(path, width, height, mode);
    if (!held) return std::nullopt;
    return held->entry.summary.look;
}

}  // namespace tilvane::library

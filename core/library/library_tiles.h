#pragma once
// The tile libraries a build draws from, as the build asks for stored tiles: each photo by its
// path, its picture decoded from the library at the smallest scale that covers the tile.
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "library/library_file.h"
#include "mosaic/stored_tiles.h"

namespace tilvane::library {

class Library_Tiles final : public Stored_Tiles {
public:
    // Opens the library at path for reading and adds its photos; returns their paths, in the
    // library's order. A photo already added from another library keeps its first.
    std::vector<std::string> Add_Library(const std::string& path);

    // A stored picture serves a stretched tile no larger than itself, the small one where it is
    // large enough; a cropped tile keeps the
    // photo's own scale, and a larger one needs the photo's own pixels: both read the photo.
    std::optional<Raster_Image> Picture(const std::string& path, int width, int height, Fitting_Mode mode) const override;
    std::optional<Stored_Look> Look(const std::string& path, int width, int height, Fitting_Mode mode) const override;

private:
    struct Held {
        const Library_File* file;
        Library_Entry entry;
    };
    const Held* Serving(const std::string& path, int width, int height, Fitting_Mode mode) const;

    std::vector<std::unique_ptr<Library_File>> files_;
    std::unordered_map<std::string, Held> photos_;
};

}  // namespace tilvane::library

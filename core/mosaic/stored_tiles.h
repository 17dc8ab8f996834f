#pragma once
// Tiles kept ready outside their own files (the tile library): a build asks here before it reads
// a tile's file, so that a large collection is neither decoded again for every build nor, for
// the best choice, decoded at all where a tile is not drawn.
#include <optional>
#include <string>

#include "image/colour.h"
#include "image/raster_image.h"
#include "mosaic/tile_preparation.h"
#include "mosaic/tile_structure.h"

namespace tilvane {

// What the best choice compares a stored tile by: its structure less its mean, and that mean.
struct Stored_Look {
    Colour mean;
    Structure structure;
};

class Stored_Tiles {
public:
    virtual ~Stored_Tiles() = default;
    // The picture to fit into a width x height tile when this holds one large enough for it, as
    // mode fits it; nothing where the tile's own file is to be read instead. Safe to call on
    // several threads at once. Throws Error::Library_Not_Valid for a stored picture that is damaged.
    [[nodiscard]] virtual std::optional<Raster_Image> Picture(const std::string& path, int width, int height,
                                                              Fitting_Mode mode) const = 0;
    // The look of the picture that Picture gives for the same arguments; nothing where it gives none.
    [[nodiscard]] virtual std::optional<Stored_Look> Look(const std::string& path, int width, int height,
                                                          Fitting_Mode mode) const = 0;
};

}  // namespace tilvane

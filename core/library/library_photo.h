#pragma once
// A photo as the tile library keeps it: a reduced picture, stored as a JPEG, large enough for
// the tile sizes people use, and its look, so that a build neither decodes the photo again nor,
// choosing the best tiles, decodes the pictures it does not draw.
#include <cstdint>
#include <string>
#include <vector>

#include "image/raster_image.h"
#include "codecs/jpeg/jpeg_codec.h"
#include "mosaic/stored_tiles.h"
#include "support/file_io.h"

namespace tilvane::library {

// The stored picture's long side at most: a photo of 4:3 keeps 512 x 384, which serves tiles up
// to that size and stores in about 30 to 50 KB as a JPEG of kPicture_Quality. A JPEG photo
// decodes at the smallest of its scales that covers kDecode_Side on both sides (a quarter of
// 2048 x 1536), the cheapest way there, and is then averaged down to kPicture_Side.
inline constexpr int kPicture_Side = 512;
inline constexpr int kDecode_Side = 384;
inline constexpr int kPicture_Quality = 90;
// A second, small picture of at most kSmall_Side on the long side (96 x 72 for 4:3, about 3 KB)
// serves the small cells most mosaics use: a build decodes every tile it draws one after another,
// and the small picture decodes in a fraction of the large one's time.
inline constexpr int kSmall_Side = 96;

struct Photo_Summary {
    int width = 0, height = 0;                  // the photo, upright
    int picture_width = 0, picture_height = 0;  // the stored picture
    int small_width = 0, small_height = 0;      // the stored small picture
    Stored_Look look;                           // of the reduced picture as it was stored
};

// A photo read for the library: its file's stamp as it was before it was read, what the
// library lists of it, and its stored pictures' bytes.
struct Read_Photo {
    std::string path;
    File_Stamp stamp;
    Photo_Summary summary;
    std::vector<std::uint8_t> picture;
    std::vector<std::uint8_t> small;
};

// Reads the photo at path (any format Load_Picture reads by its extension). Errors as
// Load_Picture's, naming path.
[[nodiscard]] Read_Photo Read_For_Library(const std::string& path);

// The picture reduced, each of its pixels the mean of the block of the picture's pixels it
// covers, so that its long side is at most side; unchanged when it is already no larger.
[[nodiscard]] Raster_Image Reduce_To_Side(const Raster_Image& picture, int side);

// The look of a picture as the best choice compares it (its structure less its mean).
[[nodiscard]] Stored_Look Look_Of(const Raster_Image& picture);

}  // namespace tilvane::library

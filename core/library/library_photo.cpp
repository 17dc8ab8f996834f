#include "library_photo.h"

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

#include "codecs/exif_orientation.h"
#include "codecs/picture_file.h"
#include "image/colour_operations.h"
#include "support/error.h"

namespace tilvane::library {
namespace {

std::vector<std::uint8_t> Encode_Picture(const Raster_Image& picture) {
    std::vector<std::uint8_t> bytes;
    Encode_Jpeg(picture, kPicture_Quality, [&](std::span<const std::uint8_t> chunk) { bytes.insert(bytes.end(), chunk.begin(), chunk.end()); });
    return bytes;
}

}  // namespace

Raster_Image Reduce_To_Side(const Raster_Image& picture, int side) {
    const int w = picture.Width(), h = picture.Height();
    const int longest = std::max(w, h);
    if (longest <= side) return picture;
    const int out_w = std::max(1, static_cast<int>(std::int64_t{w} * side / longest));
    const int out_h = std::max(1, static_cast<int>(std::int64_t{h} * side / longest));
    Raster_Image out(out_w, out_h);
    std::vector<std::uint32_t> columns(static_cast<std::size_t>(w) * 3);
    for (int y = 0; y < out_h; ++y) {
        const int top = static_cast<int>(std::int64_t{y} * h / out_h), bottom = static_cast<int>(std::int64_t{y + 1} * h / out_h);
        std::fill(columns.begin(), columns.end(), 0);
        for (int row = top; row < bottom; ++row) {
            const std::uint8_t* p = picture.Row(row);
            for (std::size_t i = 0; i < columns.size(); ++i) columns[i] += p[i];
        }
        std::uint8_t* q = out.Row(y);
        for (int x = 0; x < out_w; ++x) {
            const int left = static_cast<int>(std::int64_t{x} * w / out_w), right = static_cast<int>(std::int64_t{x + 1} * w / out_w);
            const std::uint64_t area = std::uint64_t(right - left) * std::uint64_t(bottom - top);
            for (int ch = 0; ch < 3; ++ch) {
                std::uint64_t sum = 0;
                for (int i = left; i < right; ++i) sum += columns[static_cast<std::size_t>(i) * 3 + static_cast<std::size_t>(ch)];
                q[x * 3 + ch] = static_cast<std::uint8_t>((sum + area / 2) / area);
            }
        }
    }
    return out;
}

Stored_Look Look_Of(const Raster_Image& picture) {
    const Rect whole = Rect::At(0, 0, picture.Width(), picture.Height());
    Stored_Look look;
    look.mean = Average_Colour(picture, whole);
    look.structure = Structure_Of(picture, whole, look.mean);
    return look;
}

Read_Photo Read_For_Library(const std::string& path) {
    Read_Photo photo;
    photo.path = path;
    photo.stamp = Stamp_Of_Readable_File(path);
    const Raster_Image decoded = Load_Picture(path, Picture_Formats::By_Extension, {kDecode_Side, kDecode_Side});
    std::pair<int, int> size{decoded.Width(), decoded.Height()};
    // A JPEG may have been decoded smaller: its headers tell its own size.
    if (const Picture_Format* format = Format_For_Path(path); format && format->read_size) {
        try {
            const Picture_Size upright = format->read_size(Input_File(path));
            size = {upright.width, upright.height};
        } catch (...) {
            Rethrow_Naming_File(path);
        }
    }
    const Raster_Image reduced = Reduce_To_Side(decoded, kPicture_Side);
    photo.picture = Encode_Picture(reduced);
    const Raster_Image small = Reduce_To_Side(reduced, kSmall_Side);
    photo.small = Encode_Picture(small);
    // The look of the reduced picture before its JPEG's loss: a build compares it whichever
    // stored picture it draws from, and decoding one again for it would cost a fifth of the reading.
    photo.summary = {size.first, size.second, reduced.Width(), reduced.Height(), small.Width(), small.Height(), Look_Of(reduced)};
    return photo;
}

}  // namespace tilvane::library

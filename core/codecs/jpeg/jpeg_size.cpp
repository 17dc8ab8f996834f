#include <array>
#include <cstdint>
#include <vector>

#include "codecs/exif_orientation.h"
#include "codecs/jpeg/jpeg_codec.h"
#include "support/error.h"

namespace tilvane {

// The upright size a JPEG file's headers give: the frame's size, its sides swapped where the
// Exif orientation turns the picture a quarter round.
Picture_Size Jpeg_Upright_Size(const Byte_Source& file) {
    std::array<std::uint8_t, 4> head{};
    if (!file.Read(0, std::span(head).first(2)) || head[0] != 0xFF || head[1] != 0xD8) throw Error::Picture_Not_Valid(kJpeg_Name);
    int orientation = 1;
    for (std::uint64_t at = 2; file.Read(at, head);) {
        if (head[0] != 0xFF) throw Error::Picture_Not_Valid(kJpeg_Name);
        const std::uint8_t marker = head[1];
        if (marker == 0xFF) {  // a fill byte
            ++at;
            continue;
        }
        const std::size_t length = std::size_t{head[2]} << 8 | head[3];
        if (length < 2) throw Error::Picture_Not_Valid(kJpeg_Name);
        std::vector<std::uint8_t> payload(length - 2);
        if (!file.Read(at + 4, payload)) throw Error::Picture_Not_Valid(kJpeg_Name);
        if (marker == 0xE1 && orientation == 1) orientation = Exif_Orientation(payload);
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (payload.size() < 5) throw Error::Picture_Not_Valid(kJpeg_Name);
            const int height = payload[1] << 8 | payload[2], width = payload[3] << 8 | payload[4];
            return orientation >= 5 ? Picture_Size{height, width} : Picture_Size{width, height};
        }
        at += 2 + length;
    }
    throw Error::Picture_Not_Valid(kJpeg_Name);
}

}  // namespace tilvane

#include "bmp_rle.h"

#include <algorithm>
#include <cstring>

#include "support/error.h"

namespace tilvane {
namespace {

// Writes pixel i of a byte sequence of packed 4- or 8-bit indexes or of 24-bit triples.
void Copy_Pixel(const std::uint8_t* bytes, int bits, int i, std::uint8_t* out) {
    if (bits == 24) {
        std::memcpy(out, bytes + static_cast<std::size_t>(i) * 3, 3);
    } else if (bits == 8) {
        *out = bytes[i];
    } else {
        const std::uint8_t b = bytes[i / 2];
        *out = (i & 1) ? (b & 0x0F) : static_cast<std::uint8_t>(b >> 4);
    }
}

}  // namespace

std::vector<std::uint8_t> Expand_Rle(std::span<const std::uint8_t> data, int bits, int width, int height) {
    const std::size_t pixel_bytes = bits == 24 ? 3 : 1;
    const std::size_t row_bytes = static_cast<std::size_t>(width) * pixel_bytes;
    std::vector<std::uint8_t> pixels(row_bytes * static_cast<std::size_t>(height));
    std::size_t pos = 0;
    int x = 0;
    int y = 0;  // counted from the bottom row, as stored
    const auto take = [&](std::size_t n) {
        if (data.size() - pos < n) throw Error::Not_Valid(Bitmap_Fault::Run_Length_Cut_Short);
        const std::uint8_t* p = data.data() + pos;
        pos += n;
        return p;
    };
    // Writes count pixels from x on, pixel i taken from source at index index_of(i), dropping
    // those past the row end. x is held at width so that long chains of runs cannot overflow it.
    const auto put = [&](int count, const std::uint8_t* source, auto index_of) {
        std::uint8_t* row = pixels.data() + static_cast<std::size_t>(height - 1 - y) * row_bytes;
        const int end = std::min(width - x, count);
        for (int i = 0; i < end; ++i) Copy_Pixel(source, bits, index_of(i), row + static_cast<std::size_t>(x + i) * pixel_bytes);
        x = std::min(width, x + count);
    };

    while (y < height && pos < data.size()) {
        const int count = *take(1);
        const std::uint8_t code = *take(1);
        if (count > 0) {
            // A run repeats its value; a 4-bit run alternates the two halves of its byte.
            if (bits == 24) {
                const std::uint8_t* rest = take(2);
                const std::uint8_t triple[3] = {code, rest[0], rest[1]};
                put(count, triple, [](int) { return 0; });
            } else {
                put(count, &code, [bits](int i) { return bits == 4 ? i & 1 : 0; });
            }
        } else if (code == 0) {
            x = 0;
            ++y;
        } else if (code == 1) {
            break;
        } else if (code == 2) {
            const std::uint8_t* delta = take(2);
            x = std::min(width, x + delta[0]);
            y += delta[1];
        } else {
            const std::size_t bytes = bits == 4 ? static_cast<std::size_t>(code + 1) / 2 : code * pixel_bytes;
            const std::uint8_t* literal = take(bytes);
            // Literal runs are padded to 16 bits; tolerate the pad missing at the very end.
            if (bytes % 2 != 0 && pos < data.size()) ++pos;
            put(code, literal, [](int i) { return i; });
        }
    }
    return pixels;
}

}  // namespace tilvane

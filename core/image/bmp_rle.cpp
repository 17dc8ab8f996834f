#include "bmp_rle.h"

#include <algorithm>
#include <cstring>

#include "image_error.h"

namespace tilvane {
namespace {

// The index of pixel i in a byte sequence of packed 4- or 8-bit indexes.
std::uint8_t packed_index(const std::uint8_t* bytes, int bits, int i) {
    if (bits == 8) return bytes[i];
    const std::uint8_t b = bytes[i / 2];
    return (i & 1) ? (b & 0x0F) : static_cast<std::uint8_t>(b >> 4);
}

}  // namespace

std::vector<std::uint8_t> expand_rle(std::span<const std::uint8_t> data, int bits, int width, int height) {
    std::vector<std::uint8_t> indices(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    std::size_t pos = 0;
    int x = 0;
    int y = 0;  // counted from the bottom row, as stored
    const auto take = [&](std::size_t n) {
        if (data.size() - pos < n) throw ImageError::not_valid();
        const std::uint8_t* p = data.data() + pos;
        pos += n;
        return p;
    };
    // Writes count pixels from x on, dropping those past the row end. x is held at width so
    // that long chains of runs cannot overflow it.
    const auto put = [&](int count, auto index_at) {
        std::uint8_t* row = indices.data() + static_cast<std::size_t>(height - 1 - y) * static_cast<std::size_t>(width);
        const int end = std::min(width - x, count);
        for (int i = 0; i < end; ++i) row[x + i] = index_at(i);
        x = std::min(width, x + count);
    };

    while (y < height && pos < data.size()) {
        const std::uint8_t* code = take(2);
        if (code[0] > 0) {
            // A run repeats its byte, so it reads as a literal of that byte over and over.
            const std::uint8_t pair[2] = {code[1], code[1]};
            put(code[0], [&](int i) { return packed_index(pair, bits, i & 1); });
        } else if (code[1] == 0) {
            x = 0;
            ++y;
        } else if (code[1] == 1) {
            break;
        } else if (code[1] == 2) {
            const std::uint8_t* delta = take(2);
            x = std::min(width, x + delta[0]);
            y += delta[1];
        } else {
            const int count = code[1];
            const std::size_t bytes = bits == 8 ? static_cast<std::size_t>(count) : static_cast<std::size_t>(count + 1) / 2;
            const std::uint8_t* literal = take(bytes);
            // Literal runs are padded to 16 bits; tolerate the pad missing at the very end.
            if (bytes % 2 != 0 && pos < data.size()) ++pos;
            put(count, [&](int i) { return packed_index(literal, bits, i); });
        }
    }
    return indices;
}

}  // namespace tilvane

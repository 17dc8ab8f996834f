#pragma once
#include <cstddef>
#include <cstdint>
#include <span>

#include "support/error.h"

namespace tilvane {

// Unaligned little-endian loads and stores; byte by byte so that they are right on any host.
inline std::uint16_t Load_U16_Le(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}
inline std::uint32_t Load_U32_Le(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
           std::uint32_t{p[3]} << 24;
}
inline void Store_U16_Le(std::uint8_t* p, std::uint16_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
inline void Store_U32_Le(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// Bounds-checked reads at offsets of a file held in memory: a read that does not fit throws
// a Not_Valid error, so header parsing needs no checks of its own.
class Little_Endian_View {
public:
    explicit Little_Endian_View(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::size_t size() const { return bytes_.size(); }
    bool Holds(std::uint64_t offset, std::uint64_t length) const {
        return offset <= bytes_.size() && length <= bytes_.size() - offset;
    }
    std::span<const std::uint8_t> Slice(std::uint64_t offset, std::uint64_t length) const {
        if (!Holds(offset, length)) throw Error::Not_Valid(Bitmap_Fault::Truncated_Headers);
        return bytes_.subspan(static_cast<std::size_t>(offset), static_cast<std::size_t>(length));
    }
    std::uint16_t U16(std::uint64_t offset) const { return Load_U16_Le(Slice(offset, 2).data()); }
    std::uint32_t U32(std::uint64_t offset) const { return Load_U32_Le(Slice(offset, 4).data()); }
    std::int32_t I32(std::uint64_t offset) const { return static_cast<std::int32_t>(U32(offset)); }

private:
    std::span<const std::uint8_t> bytes_;
};

}  // namespace tilvane

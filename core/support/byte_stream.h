#pragma once
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <span>

namespace tilvane {

// Bytes a decoder reads by offset: a file on disk or a buffer in memory. Reading a picture from
// its file this way keeps only the decoded pixels in memory, not the file's bytes as well.
class Byte_Source {
public:
    virtual ~Byte_Source() = default;
    virtual std::uint64_t size() const = 0;
    // Fills out from offset on; false when those bytes are not all there or cannot be read.
    [[nodiscard]] virtual bool Read(std::uint64_t offset, std::span<std::uint8_t> out) const = 0;
};

class Memory_Source final : public Byte_Source {
public:
    explicit Memory_Source(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::uint64_t size() const override { return bytes_.size(); }
    bool Read(std::uint64_t offset, std::span<std::uint8_t> out) const override {
        if (offset > bytes_.size() || out.size() > bytes_.size() - offset) return false;
        if (!out.empty()) std::memcpy(out.data(), bytes_.data() + offset, out.size());
        return true;
    }

private:
    std::span<const std::uint8_t> bytes_;
};

// The bytes of another source from an offset on, such as the pixel data after a file's headers.
class Slice_Source final : public Byte_Source {
public:
    Slice_Source(const Byte_Source& source, std::uint64_t offset)
        : source_(source), offset_(std::min(offset, source.size())) {}
    std::uint64_t size() const override { return source_.size() - offset_; }
    bool Read(std::uint64_t offset, std::span<std::uint8_t> out) const override {
        return offset <= size() && source_.Read(offset_ + offset, out);
    }

private:
    const Byte_Source& source_;
    std::uint64_t offset_;
};

// Where an encoder writes its bytes, in order, chunk by chunk.
using Byte_Sink = std::function<void(std::span<const std::uint8_t>)>;

}  // namespace tilvane

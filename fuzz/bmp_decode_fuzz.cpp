// Feeds arbitrary bytes to the BMP decoder: anything but a clean refusal is a bug.
#include <cstddef>
#include <cstdint>

#include "codecs/bmp/bmp_codec.h"
#include "support/error.h"

namespace {
constexpr std::uint64_t kReencoded_Pixels = std::uint64_t{1} << 20;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        tilvane::Bmp_Description description;
        const tilvane::Raster_Image image = tilvane::Decode_Bmp({data, size}, &description);
        // Re-encoding walks every pixel, so a decoded image with bad contents shows up here too.
        // Large pictures (a few hostile bytes of RLE can describe millions of pixels) are left
        // out: under the sanitizers their re-encoding alone outlasts the time limit.
        if (static_cast<std::uint64_t>(image.Width()) * static_cast<std::uint64_t>(image.Height()) <= kReencoded_Pixels)
            (void)tilvane::Encode_Bmp(image);
    } catch (const tilvane::Error&) {
    }
    return 0;
}

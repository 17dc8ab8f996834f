// Feeds arbitrary bytes to the HEIF decoder and its size reader: anything but a clean refusal or
// an image is a bug.
#include <cstddef>
#include <cstdint>

#include "codecs/heif/heif_codec.h"
#include "support/error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        (void)tilvane::Read_Heif_Size(tilvane::Memory_Source({data, size}));
        (void)tilvane::Decode_Heif({data, size});
    } catch (const tilvane::Error&) {
    }
    return 0;
}

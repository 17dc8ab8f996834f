// Feeds arbitrary bytes to the WebP decoder: anything but a clean refusal or an image is a bug.
#include <cstddef>
#include <cstdint>

#include "codecs/webp/webp_codec.h"
#include "support/error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        (void)tilvane::Decode_Webp({data, size});
    } catch (const tilvane::Error&) {
    }
    return 0;
}

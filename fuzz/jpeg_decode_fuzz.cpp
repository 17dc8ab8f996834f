// Feeds arbitrary bytes to the JPEG decoder: anything but a clean refusal or an image is a bug.
#include <cstddef>
#include <cstdint>

#include "support/error.h"
#include "codecs/jpeg/jpeg_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        (void)tilvane::Decode_Jpeg({data, size});
    } catch (const tilvane::Error&) {
    }
    return 0;
}

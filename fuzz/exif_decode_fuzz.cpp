// Feeds arbitrary bytes to the Exif orientation reader as an APP1 payload, and turns a small
// picture by what it reads: any read outside the payload or any other fault is a bug.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "codecs/exif_orientation.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const int orientation = tilvane::Exif_Orientation({data, size});
    if (orientation < 1 || orientation > 8) __builtin_trap();
    int width = 3, height = 2;
    std::vector<std::uint8_t> bgr(static_cast<std::size_t>(width * height * 3));
    tilvane::Make_Upright(bgr, width, height, orientation);
    if (bgr.size() != static_cast<std::size_t>(width * height * 3)) __builtin_trap();
    return 0;
}

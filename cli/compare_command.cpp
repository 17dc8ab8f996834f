#include <cmath>
#include <cstdio>

#include "arguments.h"
#include "codecs/picture_rows.h"
#include "commands.h"
#include "mosaic/fidelity.h"

namespace tilvane::cli {

int Run_Compare(const std::vector<std::string>& args) {
    std::pair<int, int> block{0, 0};
    const std::vector<std::string> positional = Parse_Arguments(
        args, {{"--block", Option::One_Value, [&](const std::string& value) { block = Parse_Pair(value, "--block", {1, kLargest_Field_Value}); }}});
    if (positional.size() != 2) throw Usage_Error("compare takes ORIGINAL and MOSAIC");
    if (block.first == 0) throw Usage_Error("compare needs --block WIDTHxHEIGHT");
    // Either may be a poster: each figure reads both a band at a time.
    const Fidelity f = Compare_Block_Means(*Open_Picture_Rows(positional[0]), *Open_Picture_Rows(positional[1]), block.first, block.second);
    if (std::isinf(f.psnr))
        std::printf("mean absolute difference %.2f, PSNR infinite (the block means agree)\n", f.mean_absolute_difference);
    else
        std::printf("mean absolute difference %.2f, PSNR %.2f dB\n", f.mean_absolute_difference, f.psnr);
    // On a line of its own, so that readers of the line above go on reading it as before.
    if (const std::optional<double> ssim = Structural_Similarity(*Open_Picture_Rows(positional[0]), *Open_Picture_Rows(positional[1])))
        std::printf("SSIM %.4f (grey, a quarter of the size)\n", *ssim);
    else
        std::printf("SSIM none (the pictures are too small for one window)\n");
    return 0;
}

}  // namespace tilvane::cli

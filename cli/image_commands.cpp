#include <charconv>
#include <cstdio>

#include "commands.h"
#include "codecs/bmp_codec.h"
#include "support/error.h"
#include "support/file_io.h"

namespace tilvane::cli {
namespace {

int parse_bits(const std::string& text) {
    int bits = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), bits);
    if (error != std::errc{} || end != text.data() + text.size() || !pixel_format_from_bits(bits))
        throw UsageError("--bits takes 1, 4, 8, 15, 16, 24 or 32, not " + text);
    return bits;
}

}  // namespace

int run_info(const std::vector<std::string>& args) {
    if (args.size() != 1) throw UsageError("info takes one FILE");
    const BmpDescription description = describe_bmp(Input_File(args[0]));  // the headers only
    const bool custom = description.pixel_format == PixelFormat::Custom;
    const int bits = custom ? description.bits_per_pixel : static_cast<int>(description.pixel_format);
    std::printf("%dx%d %d %s %s%s%s\n", description.width, description.height, bits, description.header_kind.c_str(),
                description.compression.c_str(), description.top_down ? " top-down" : "", custom ? " custom-masks" : "");
    return 0;
}

int run_convert(const std::vector<std::string>& args) {
    std::vector<std::string> paths;
    int bits = 0;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--bits") {
            if (i + 1 == args.size()) throw UsageError("--bits needs a value");
            bits = parse_bits(args[++i]);
        } else {
            paths.push_back(args[i]);
        }
    }
    if (paths.size() != 2) throw UsageError("convert takes IN and OUT");
    RasterImage image;
    image.load_from_file(paths[0]);
    if (bits != 0) image.set_pixel_format(*pixel_format_from_bits(bits));
    image.save_to_file(paths[1]);
    return 0;
}

}  // namespace tilvane::cli

#include <cstdio>
#include <filesystem>

#include "commands.h"
#include "demo_pictures.h"

namespace tilvane::cli {

int run_demo(const std::vector<std::string>& args) {
    if (args.size() != 1) throw UsageError("demo takes one FOLDER");
    std::filesystem::create_directories(std::filesystem::path(std::u8string(args[0].begin(), args[0].end())));
    const std::vector<std::string> tiles = demo::Write_Demo(args[0]);
    std::printf("Wrote Demo_Original.bmp, %zu tiles in Demo_Tiles and Mosaic_Tiles.lst in %s\n", tiles.size(),
                args[0].c_str());
    return 0;
}

}  // namespace tilvane::cli

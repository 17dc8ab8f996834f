#include <cstdio>
#include <filesystem>

#include "arguments.h"
#include "commands.h"
#include "demo_pictures.h"
#include "support/error.h"
#include "support/native_path.h"

namespace tilvane::cli {

int Run_Demo(const std::vector<std::string>& args) {
    const std::vector<std::string> positional = Parse_Arguments(args, {});
    if (positional.size() != 1) throw Usage_Error("demo takes one FOLDER");
    if (positional[0].empty()) throw Usage_Error("demo needs a FOLDER name, not an empty one");
    const std::string& folder = positional[0];
    std::error_code ec;
    std::filesystem::create_directories(Native_Path(folder), ec);
    if (ec) throw Error::Cannot_Create(folder, ec);
    const std::vector<std::string> tiles = demo::Write_Demo(folder);
    std::printf("Wrote Demo_Original.bmp, %zu tiles in Demo_Tiles and Mosaic_Tiles.lst in %s\n", tiles.size(),
                folder.c_str());
    return 0;
}

}  // namespace tilvane::cli

// tilvane-cli: the portable core's jobs from the command line.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "arguments.h"
#include "commands.h"
#include "interrupts.h"
#include "shell/error_report.h"
#include "support/native_path.h"

namespace {

struct Command {
    std::string_view name;
    const char* help;  // its part of the usage text
    int (*run)(const std::vector<std::string>& args);
};

constexpr Command kCommands[] = {
    {"info",
     "  tilvane-cli info FILE\n"
     "      Prints WIDTHxHEIGHT BITS of a picture, then a BMP file's header kind and compression,\n"
     "      or the format of a JPEG, PNG or WebP file.\n",
     tilvane::cli::Run_Info},
    {"convert",
     "  tilvane-cli convert IN OUT [--bits N] [--quality Q] [--lossless]\n"
     "      Loads IN (BMP, JPEG, PNG or WebP), sets the pixel format to N bits (1, 4, 8, 15, 16,\n"
     "      24 or 32) if given, and saves OUT in the format its extension names: .bmp\n"
     "      (uncompressed), .png, .jpg/.jpeg or .webp of quality Q (1 to 100, default 92), or\n"
     "      a .webp without loss with --lossless.\n",
     tilvane::cli::Run_Convert},
    {"mosaic",
     "  tilvane-cli mosaic ORIGINAL OUTPUT --tiles PATH [PATH ...] --size WxH\n"
     "                     [--crop] [--gap HxV] [--seed N] [--choose random|shuffle|best]\n"
     "                     [--min-distance D] [--scale K] [--placements FILE.csv] [--quality Q]\n"
     "                     [--colour shift|transfer] [--blend P] [--max-uses N] [--mirror]\n"
     "                     [--from-placements FILE.csv] [--lossless] [--quiet]\n"
     "      Builds a mosaic of ORIGINAL into OUTPUT (each BMP, JPEG, PNG or WebP, by\n"
     "      extension). Every cell of W x H pixels gets a tile drawn at random from the --tiles\n"
     "      (picture files, folders searched through their subfolders, tile list files *.lst,\n"
     "      tile libraries *.db),\n"
     "      stretched to the cell (or cropped, with --crop) and shifted onto the cell's mean\n"
     "      colour. --gap leaves H and V pixels of the original between tiles; --seed N makes\n"
     "      the build repeatable. --choose shuffle uses every tile once before any twice;\n"
     "      --choose best takes the tile whose shapes best match the cell's. --min-distance D\n"
     "      keeps a tile from coming again within D cells while the list allows. --scale K\n"
     "      (1 to 16) makes the mosaic K times the original's size; --size then means the\n"
     "      mosaic's cells. --placements writes where each tile went (column,row,x,y,width,\n"
     "      height,tile). --colour transfer moves each tile's colours onto the cell's in Oklab\n"
     "      (its light and shade kept, its hues taken from the original under it); --blend P\n"
     "      (0 to 100) lays P % of the original over each tile. Either way each cell keeps the\n"
     "      mean of the original under it. --max-uses N uses no tile more than N times (0: no\n"
     "      limit; best places the whole grid at once); --mirror offers every tile mirrored\n"
     "      left to right too (a use of the tile; the placements gain a column mirrored).\n"
     "      --from-placements draws the mosaic again from such a record, with the same tiles\n"
     "      and options; each line must fit the grid and --max-uses.\n"
     "      Progress shows on a terminal unless --quiet.\n",
     tilvane::cli::Run_Mosaic},
    {"compare",
     "  tilvane-cli compare ORIGINAL MOSAIC --block WxH\n"
     "      How close MOSAIC comes to ORIGINAL (enlarged to its size if smaller), both reduced\n"
     "      to the means of W x H blocks: the mean absolute difference (0-255) over all blocks\n"
     "      and channels, and the PSNR of those means; then the structural similarity (SSIM,\n"
     "      1 for the same picture) of both pictures in grey at a quarter of the mosaic's size.\n"
     "      Each may be BMP, JPEG, PNG or WebP.\n",
     tilvane::cli::Run_Compare},
    {"extract",
     "  tilvane-cli extract MOSAIC DIRECTORY --size WxH [--gap HxV]\n"
     "                      [--limit first|row|column|all] [--quiet]\n"
     "      Cuts MOSAIC (BMP, JPEG, PNG or WebP) into BMP tiles of W x H pixels, written to\n"
     "      DIRECTORY (made if missing) as COL,ROW.bmp (001,001.bmp is the top-left tile; edge tiles are\n"
     "      padded with black). --gap skips H and V pixels between tiles; --limit cuts only the\n"
     "      first tile, the first row, the first column, or all (the default). Progress shows\n"
     "      on a terminal unless --quiet.\n",
     tilvane::cli::Run_Extract},
    {"tiles",
     "  tilvane-cli tiles SOURCE [SOURCE ...] FOLDER --size WxH [--crop] [--quiet]\n"
     "      Makes every picture of the SOURCEs (files, folders searched through their subfolders,\n"
     "      tile list files) a 24-bit BMP tile of exactly W x H pixels in FOLDER, stretched or,\n"
     "      with --crop, cut from the picture's centre, and lists them in FOLDER/Mosaic_Tiles.lst.\n"
     "      A picture in a folder that cannot be read is named and skipped.\n",
     tilvane::cli::Run_Tiles},
    {"library",
     "  tilvane-cli library LIB.db add SOURCE [SOURCE ...] [--quiet]\n"
     "  tilvane-cli library LIB.db list|check|prune\n"
     "  tilvane-cli library LIB.db remove PATH [PATH ...]\n"
     "      Keeps photos ready for mosaics in the tile library LIB.db, one file (made when\n"
     "      missing). add reads every picture of the SOURCEs (files, folders searched through\n"
     "      their subfolders, tile list files) once, on all processors, passing over those it\n"
     "      holds unchanged and reading changed ones again; list prints WIDTHxHEIGHT PATH of\n"
     "      each photo; check names the photos changed or gone since and any damage; remove\n"
     "      drops the photos named (a folder: every photo under it); prune drops those whose\n"
     "      files are gone. mosaic --tiles LIB.db draws from the library without reading the\n"
     "      photos again (a tile larger than its stored picture, or cropped, reads the photo).\n",
     tilvane::cli::Run_Library},
    {"demo",
     "  tilvane-cli demo FOLDER\n"
     "      Writes a demo original (Demo_Original.bmp), demo tiles (Demo_Tiles) and a tile list\n"
     "      file (Mosaic_Tiles.lst) that lists them into FOLDER.\n",
     tilvane::cli::Run_Demo},
};

constexpr const char* kGeneral_Help =
    "  tilvane-cli --help\n"
    "      Shows this text; tilvane-cli COMMAND --help shows one command's part.\n"
    "Options take their value as --size 20x20 or --size=20x20; -- ends the options.\n";

void Print_Usage(std::FILE* out) {
    std::fputs("Usage:\n", out);
    for (const Command& command : kCommands) std::fputs(command.help, out);
    std::fputs(kGeneral_Help, out);
}

int Run(const std::vector<std::string>& args) {
    if (args.empty() || args[0] == "--help" || args[0] == "-h") {
        Print_Usage(args.empty() ? stderr : stdout);
        return args.empty() ? 2 : 0;
    }
    const Command* command = nullptr;
    for (const Command& known : kCommands)
        if (known.name == args[0]) command = &known;
    if (!command) {
        std::fprintf(stderr, "Error: Unknown command: %s\nsee tilvane-cli --help\n", args[0].c_str());
        return 2;
    }
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (tilvane::cli::Asks_For_Help(rest)) {
        std::printf("Usage:\n%s", command->help);
        return 0;
    }
    tilvane::cli::Remove_Temporaries_On_Interrupt();
    try {
        return command->run(rest);
    } catch (const tilvane::cli::Usage_Error& e) {
        // The program's words for a refused name already start with "Error: ".
        const std::string_view text = e.what();
        std::fprintf(stderr, "%s%s\nsee tilvane-cli %s --help\n", text.starts_with("Error: ") ? "" : "Error: ", e.what(),
                     args[0].c_str());
        return 2;
    } catch (const std::filesystem::filesystem_error& e) {
        // The library's own wording is no user's: the name and the system's reason.
        std::fprintf(stderr, "%s: %s\n", e.path1().string().c_str(), e.code().message().c_str());
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", tilvane::shell::Error_Text_With_Details(e).c_str());
        return 1;
    }
}

}  // namespace

#ifdef _WIN32
// Windows hands a program's arguments over as UTF-16; the narrow ones of main are in the code
// page and lose every letter it lacks. The core takes UTF-8.
int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.push_back(tilvane::Utf8_Path(argv[i]));
    return Run(args);
}
#else
int main(int argc, char** argv) { return Run({argv + 1, argv + argc}); }
#endif

// tilvane-cli: the portable core's jobs from the command line.
#include <cstdio>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "commands.h"
#include "interrupts.h"
#include "shell/error_report.h"

namespace {

constexpr const char* kUsage =
    "Usage:\n"
    "  tilvane-cli info FILE\n"
    "      Prints WIDTHxHEIGHT BITS of a picture, then a BMP file's header kind and compression,\n"
    "      or the format of a JPEG or PNG file.\n"
    "  tilvane-cli convert IN OUT [--bits N] [--quality Q]\n"
    "      Loads IN (BMP, JPEG or PNG), sets the pixel format to N bits (1, 4, 8, 15, 16, 24 or\n"
    "      32) if given, and saves OUT in the format its extension names: .bmp (uncompressed),\n"
    "      .png, or .jpg/.jpeg of quality Q (1 to 100, default 92).\n"
    "  tilvane-cli mosaic ORIGINAL OUTPUT --tiles PATH [PATH ...] --size WxH\n"
    "                     [--crop] [--gap HxV] [--seed N] [--choose random|shuffle|best]\n"
    "                     [--min-distance D] [--scale K] [--placements FILE.csv] [--quality Q]\n"
    "                     [--quiet]\n"
    "      Builds a mosaic of ORIGINAL into OUTPUT (each BMP, JPEG or PNG, by extension). Every\n"
    "      cell of W x H pixels gets a tile drawn at random from the --tiles (picture files,\n"
    "      folders searched through their subfolders, tile list files *.lst),\n"
    "      stretched to the cell (or cropped, with --crop) and shifted onto the cell's mean\n"
    "      colour. --gap leaves H and V pixels of the original between tiles; --seed N makes\n"
    "      the build repeatable. --choose shuffle uses every tile once before any twice;\n"
    "      --choose best takes the tile whose shapes best match the cell's. --min-distance D\n"
    "      keeps a tile from coming again within D cells while the list allows. --scale K\n"
    "      (1 to 16) makes the mosaic K times the original's size; --size then means the\n"
    "      mosaic's cells. --placements writes where each tile went (column,row,x,y,width,\n"
    "      height,tile). Progress shows on a terminal unless --quiet.\n"
    "  tilvane-cli compare ORIGINAL MOSAIC --block WxH\n"
    "      How close MOSAIC comes to ORIGINAL (enlarged to its size if smaller), both reduced\n"
    "      to the means of W x H blocks: the mean absolute difference (0-255) over all blocks\n"
    "      and channels, and the PSNR of those means.\n"
    "  tilvane-cli extract MOSAIC DIRECTORY --size WxH [--gap HxV]\n"
    "                      [--limit first|row|column|all] [--quiet]\n"
    "      Cuts MOSAIC into tiles of W x H pixels, written to DIRECTORY (made if missing) as\n"
    "      COL,ROW.bmp (001,001.bmp is the top-left tile). --gap skips H and V pixels between\n"
    "      tiles; --limit cuts only the first tile, the first row, the first column, or all\n"
    "      (the default). Progress shows on a terminal unless --quiet.\n"
    "  tilvane-cli tiles SOURCE [SOURCE ...] FOLDER --size WxH [--crop] [--quiet]\n"
    "      Makes every picture of the SOURCEs (files, folders searched through their subfolders,\n"
    "      tile list files) a 24-bit BMP tile of exactly W x H pixels in FOLDER, stretched or,\n"
    "      with --crop, cut from the picture's centre, and lists them in FOLDER/Mosaic_Tiles.lst.\n"
    "      A picture in a folder that cannot be read is named and skipped.\n"
    "  tilvane-cli demo FOLDER\n"
    "      Writes a demo original (Demo_Original.bmp), demo tiles (Demo_Tiles) and a tile list\n"
    "      file (Mosaic_Tiles.lst) that lists them into FOLDER.\n"
    "  tilvane-cli --help\n"
    "      Shows this text.\n";

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "--help" || args[0] == "-h") {
        std::fputs(kUsage, args.empty() ? stderr : stdout);
        return args.empty() ? 2 : 0;
    }
    tilvane::cli::remove_temporaries_on_interrupt();
    const std::string& command = args[0];
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    try {
        if (command == "info") return tilvane::cli::run_info(rest);
        if (command == "convert") return tilvane::cli::run_convert(rest);
        if (command == "mosaic") return tilvane::cli::run_mosaic(rest);
        if (command == "extract") return tilvane::cli::run_extract(rest);
        if (command == "demo") return tilvane::cli::run_demo(rest);
        if (command == "compare") return tilvane::cli::run_compare(rest);
        if (command == "tiles") return tilvane::cli::run_tiles(rest);
        throw tilvane::cli::UsageError("Unknown command: " + command);
    } catch (const tilvane::cli::UsageError& e) {
        std::fprintf(stderr, "Error: %s\n\n%s", e.what(), kUsage);
        return 2;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", tilvane::shell::Error_Text(e).c_str());
        return 1;
    }
}

// Times the tile list's big operations through the main window's own code paths (run it under
// Wine or on Windows): loading a 100,000-line and a 10,000-line list file, adding 10,000 files chosen in one picker
// use, removing 5,000 selected items of 10,000. Each figure is also given as a ratio to reading the
// list file's bytes in the same run, since absolute times drift on shared machines.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "bench/scripted_services.h"
#include "support/file_io.h"
#include "tiles/tile_list_file.h"
#include "win/text.h"

namespace {

using tilvane::win::To_Utf8;
using tilvane::win::To_Wide;
using tilvane::bench::Milliseconds;

std::vector<std::string> Tile_Paths(int count, const char* set, std::mt19937& engine) {
    std::vector<std::string> paths;
    paths.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        paths.push_back("C:\\Pictures\\Tiles\\" + std::string(set) + " " + std::to_string(i % 97) + "\\Tile_" +
                        std::to_string(engine() % 1000000) + "_" + std::to_string(i) + ".bmp");
    return paths;
}

}  // namespace

int main() {
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / (L"tilvane-bench-" + std::to_wstring(GetCurrentProcessId()));
    fs::create_directories(folder);
    const std::string directory = To_Utf8(folder.wstring()) + "\\";
    const std::string list_file = directory + std::string(tilvane::tiles::kTile_List_File_Name);

    tilvane::bench::Scripted_Program scripted(directory);
    tilvane::app::Mosaic_Page& page = scripted.program.MainForm1.mosaic_page;
    const auto show = [&] { UpdateWindow(page.Tiles_ListBox.Handle()); };

    std::mt19937 engine(2024);
    std::vector<std::string> unsorted = Tile_Paths(100000, "Set", engine);
    tilvane::Write_File_Atomically(list_file, tilvane::tiles::Serialise_Tile_List(unsorted));
    const double floor = Milliseconds([&] { (void)tilvane::Read_Whole_File(list_file); });

    const auto report = [&](const char* what, double ms) {
        std::printf("%-52s %8.1f ms  %7.1f x reading the list file\n", what, ms, ms / floor);
    };
    std::printf("%-52s %8.1f ms\n", "floor: reading the 100,000-line list file", floor);
    report("load 100,000 unsorted lines into model and list box", Milliseconds([&] {
               page.Load_Tile_List_File();
               show();
           }));
    page.Save_Tile_List_File();  // now in list order
    report("load 100,000 sorted lines into model and list box", Milliseconds([&] {
               page.Load_Tile_List_File();
               show();
           }));

    for (const std::string& path : Tile_Paths(10000, "New", engine)) scripted.picker.files.push_back(To_Wide(path));
    report("add 10,000 chosen files to 100,000 (tile picker)", Milliseconds([&] {
               page.Add_Selected_Tiles_To_List_SpeedButtonClick();
               show();
           }));

    tilvane::Write_File_Atomically(list_file, tilvane::tiles::Serialise_Tile_List(Tile_Paths(10000, "Few", engine)));
    report("load 10,000 lines into model and list box (goal: 1 s)", Milliseconds([&] {
               page.Load_Tile_List_File();
               show();
           }));
    std::vector<int> every_other;
    for (int i = 0; i < 10000; i += 2) every_other.push_back(i);
    page.Tiles_ListBox.Reset(page.Tiles().Count(), every_other);
    report("remove 5,000 selected of 10,000", Milliseconds([&] {
               page.Delete_Selected_Tiles();
               show();
           }));

    std::error_code ignored;
    fs::remove_all(folder, ignored);
    return page.Tiles().Count() == 5000 ? 0 : 1;
}

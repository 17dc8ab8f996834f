// Times "Make Mosaic" through the main window's own code path, photo formats on (run it under
// Wine or on Windows), against tilvane-cli.exe on the same job: the same original, the same
// tiles in the same order (a folder's pictures as the tool's folder search takes them), tile
// size and seed. The tool's runs are timed less the start of its process (its --help), which a
// click in the window does not pay. Both must write the same file.
// Usage: tilvane_mosaic_bench ORIGINAL TILE_FOLDER TILVANE_CLI WIDTHxHEIGHT [RUNS]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/scripted_services.h"
#include "codecs/picture_file.h"
#include "support/file_io.h"
#include "tiles/picture_folder.h"
#include "win/text.h"

namespace {

namespace fs = std::filesystem;
using tilvane::bench::Milliseconds;
using tilvane::win::To_Utf8;
using tilvane::win::To_Wide;

// Runs a command line to its end, its output thrown away; false when it could not start or did
// not exit with 0.
bool Run_Process(std::wstring command_line) {
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    const HANDLE nothing = CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited,
                                       OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = startup.hStdOutput = startup.hStdError = nothing;
    PROCESS_INFORMATION process{};
    const bool started =
        CreateProcessW(nullptr, command_line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
    CloseHandle(nothing);
    if (!started) return false;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code == 0;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

std::wstring Quoted(const fs::path& path) { return L"\"" + path.wstring() + L"\""; }

}  // namespace

int wmain(int argc, wchar_t** argv) {
    int width = 0, height = 0;
    if (argc < 5 || swscanf(argv[4], L"%dx%d", &width, &height) != 2) {
        std::fprintf(stderr, "usage: tilvane_mosaic_bench ORIGINAL TILE_FOLDER TILVANE_CLI WIDTHxHEIGHT [RUNS]\n");
        return 2;
    }
    const fs::path original = fs::absolute(argv[1]), tile_folder = fs::absolute(argv[2]), cli = fs::absolute(argv[3]);
    const int runs = argc > 5 ? std::max(1, _wtoi(argv[5])) : 3;
    const fs::path folder = fs::temp_directory_path() / (L"tilvane-mosaic-bench-" + std::to_wstring(GetCurrentProcessId()));
    fs::create_directories(folder);
    const fs::path window_output = folder / L"window.jpg", cli_output = folder / L"cli.jpg";

    const std::string directory = To_Utf8(folder.wstring()) + "\\";
    tilvane::bench::Scripted_Program scripted(directory);
    tilvane::app::Mosaic_Page& page = scripted.program.MainForm1.mosaic_page;

    const tilvane::tiles::Folder_Walk walk = tilvane::tiles::Walk_Folder(
        To_Utf8(tile_folder.wstring()), [](std::string_view name) { return tilvane::Format_For_Path(name) != nullptr; });
    page.Add_Chosen_Tiles(walk.files);
    tilvane::Mosaic_Options options;
    options.formats = tilvane::Picture_Formats::By_Extension;
    page.Set_Mosaic_Options(options);
    page.Input_File_Name_Edit.Set_Text(original.wstring());
    page.Output_File_Name_Edit.Set_Text(window_output.wstring());
    page.Horizontal_Tile_Size_SpinEdit.Set_Value(width);
    page.Vertical_Tile_Size_SpinEdit.Set_Value(height);
    page.Insert_Gap_Between_Tiles_CheckBox.Set_Checked(false);
    page.Tiles_Shrink_Expand_To_Size_RadioButton.Set_Checked(true);
    page.Tiles_Crop_To_Size_RadioButton.Set_Checked(false);

    const std::wstring tool = Quoted(cli);
    const std::wstring job = tool + L" mosaic " + Quoted(original) + L" " + Quoted(cli_output) + L" --tiles " +
                             Quoted(tile_folder) + L" --size " + argv[4] + L" --seed 1 --quiet";
    bool failed = false;
    const auto click = [&] {
        fs::remove(window_output);
        scripted.random.Seed(1);
        return Milliseconds([&] { page.Make_Mosaic_BitBtnClick(); });
    };
    const auto tool_run = [&](const std::wstring& command) {
        if (command == job) fs::remove(cli_output);
        return Milliseconds([&] { failed |= !Run_Process(command); });
    };
    click();  // the file cache warmed for both
    tool_run(job);
    std::vector<double> window_times, tool_times, start_times, ratios;
    for (int run = 0; run < runs; ++run) {
        window_times.push_back(click());
        tool_times.push_back(tool_run(job));
        start_times.push_back(tool_run(tool + L" --help"));
        ratios.push_back(window_times.back() / (tool_times.back() - start_times.back()));
    }
    const bool same = fs::exists(window_output) && fs::exists(cli_output) &&
                      tilvane::Read_Whole_File(To_Utf8(window_output.wstring())) == tilvane::Read_Whole_File(To_Utf8(cli_output.wstring()));
    std::printf("Make Mosaic, %zu tiles, %dx%d cells: window %.0f ms; tilvane-cli.exe %.0f ms less its start (%.0f ms); "
                "ratio %.2f (median of %d; goal: at most 1.5)%s\n",
                walk.files.size(), width, height, Median(window_times), Median(tool_times), Median(start_times), Median(ratios),
                runs, same ? "" : "; the two files DIFFER");
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    return failed || !same ? 1 : 0;
}

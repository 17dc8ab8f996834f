#pragma once
// What the benchmarks of the window's own code paths answer in the user's place.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "desktop/desktop_shell.h"
#include "desktop/file_picker.h"
#include "desktop/local_clock.h"
#include "desktop/message_boxes.h"
#include "desktop/registry.h"
#include "main_window/program.h"
#include "support/random_source.h"
#include "win/text.h"

namespace tilvane::bench {

// Answers every use with the same files, as a user choosing them all at once would.
class Fixed_Choice final : public desktop::File_Picker {
public:
    std::vector<std::wstring> files;
    std::vector<std::wstring> Choose(HWND, const desktop::Picker_Request&) override { return files; }
    std::optional<std::wstring> Choose_Folder(HWND, const desktop::Folder_Request&) override { return {}; }
};

// Not a modal box in sight: the program's own paths never show one here, and one would block.
class No_Boxes final : public desktop::Message_Boxes {
public:
    desktop::Box_Answer Show(HWND, const desktop::Box_Request& request) override {
        std::fprintf(stderr, "unexpected message: %s\n", win::To_Utf8(request.text).c_str());
        return desktop::Box_Answer::No;
    }
};

// The program with its main window shown, its settings and tile list in directory (which ends
// with a backslash), the real clock, shell and registry, and scripted pickers and boxes.
struct Scripted_Program {
    explicit Scripted_Program(const std::string& directory)
        : program({clock, random, boxes, picker, shell, registry, directory, directory + "Tilvane.EXE"}) {
        program.MainForm1.Show_Main_Window();
    }

    desktop::Local_Clock clock;
    Twister_Random_Source random;
    No_Boxes boxes;
    Fixed_Choice picker;
    desktop::Windows_Shell shell;
    desktop::Windows_Registry registry;
    app::Program program;
};

template <class Work>
double Milliseconds(Work&& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace tilvane::bench

#pragma once
// Stand-ins for the desktop services, so that tests drive the real windows without a user.
#include <windows.h>

#include <deque>
#include <optional>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "desktop/desktop_shell.h"
#include "desktop/file_picker.h"
#include "desktop/message_boxes.h"
#include "desktop/registry.h"
#include "main_window/program.h"
#include "progress/progress_clock.h"
#include "support/random_source.h"

namespace tilvane::testing_support {

// Records every box and answers from a script (OK, or No for a question, when the script is out).
class Recording_Message_Boxes final : public desktop::Message_Boxes {
public:
    desktop::Box_Answer Show(HWND owner, const desktop::Box_Request& request) override;
    std::vector<desktop::Box_Request> shown;
    std::deque<desktop::Box_Answer> answers;
};

// Records every picker request and answers from a script (Cancel when the script is out).
// The folder dialog answers likewise, and hands a typed directory that does not exist to the
// request's create_missing as the real dialog does: refused, the dialog would stay open, and the
// script then cancels.
class Scripted_File_Picker final : public desktop::File_Picker {
public:
    std::vector<std::wstring> Choose(HWND owner, const desktop::Picker_Request& request) override;
    std::optional<std::wstring> Choose_Folder(HWND owner, const desktop::Folder_Request& request) override;
    std::vector<desktop::Picker_Request> requests;
    std::deque<std::vector<std::wstring>> answers;
    std::vector<desktop::Folder_Request> folder_requests;
    std::deque<std::optional<std::wstring>> folder_answers;
};

class Recording_Shell final : public desktop::Desktop_Shell {
public:
    void Shell_Open_File(const std::string& path) override { opened.push_back(path); }
    std::string Windows_Directory() override { return windows_directory; }
    void Start_Program(const std::string& command_line) override { started.push_back(command_line); }
    std::vector<std::string> opened;
    std::string windows_directory;
    std::vector<std::string> started;
};

// A registry in memory. Key paths and names are matched without regard to letter case and to a
// leading backslash, as the Windows registry does. Every key exists unless refused.
class Scripted_Registry final : public desktop::Registry {
public:
    bool Key_Opens(desktop::Registry_Root root, const std::string& key_path) override;
    void Write_String(desktop::Registry_Root root, const std::string& key_path, const std::string& name,
                      const std::string& text) override;
    std::optional<std::string> Read_String(desktop::Registry_Root root, const std::string& key_path,
                                           const std::string& name) override;
    void Delete_Value(desktop::Registry_Root root, const std::string& key_path, const std::string& name) override;

    // The value under a key path and name, or nothing.
    std::optional<std::string> Value(desktop::Registry_Root root, const std::string& key_path,
                                     const std::string& name) const;
    void Set_Value(desktop::Registry_Root root, const std::string& key_path, const std::string& name,
                   const std::string& text);

    std::set<std::string> refused_keys;  // key paths that do not open with full access
    bool refuse_writes = false;          // the registry itself refuses: Write_String throws
    bool garble_writes = false;          // what is written does not read back
    bool ignore_deletes = false;         // deleted values stay

private:
    static std::string Id(desktop::Registry_Root root, const std::string& key_path, const std::string& name = {});
    std::map<std::string, std::string> values_;
};

// A fresh empty folder, removed with everything in it when the object goes.
class Temporary_Folder {
public:
    Temporary_Folder();
    Temporary_Folder(const Temporary_Folder&) = delete;
    Temporary_Folder& operator=(const Temporary_Folder&) = delete;
    ~Temporary_Folder();
    // UTF-8, with a trailing backslash.
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

// Writes `bytes` to a file (UTF-8 path).
void Write_File(const std::string& path, std::string_view bytes);
// The bytes of a file, or nothing when it cannot be read.
std::string Read_File(const std::string& path);
// The system's single-byte code page, in which older versions wrote their files.
unsigned System_Code_Page();

class Fake_Clock final : public progress::Clock {
public:
    progress::Day_Time Now() override { return now; }
    void Advance_Ms(double ms) { now += ms / progress::kMilliseconds_Per_Day; }
    progress::Day_Time now = progress::From_Calendar(2024, 3, 5, 8, 0, 0, 0);  // a Tuesday
};

class Recording_Random final : public Random_Source {
public:
    void Seed(std::uint64_t value) override { seeds.push_back(value); }
    int Uniform_Below(int) override { return 0; }
    std::vector<std::uint64_t> seeds;
};

// Reroutes the application's boxes to `boxes` for the life of the object, and back to boxes
// that fail the test on any message afterwards.
class Boxes_In_Use {
public:
    explicit Boxes_In_Use(desktop::Message_Boxes& boxes);
    Boxes_In_Use(const Boxes_In_Use&) = delete;
    Boxes_In_Use& operator=(const Boxes_In_Use&) = delete;
    ~Boxes_In_Use();
};

// The program's windows over scripted services, with the program's directory in a fresh folder.
struct Test_Program {
    Recording_Message_Boxes boxes;
    Boxes_In_Use boxes_in_use{boxes};
    Fake_Clock clock;
    Recording_Random random;
    Scripted_File_Picker picker;
    Recording_Shell shell;
    Scripted_Registry registry;
    Temporary_Folder folder;
    app::Program program{{clock, random, boxes, picker, shell, registry, folder.Path(), folder.Path() + "Tilvane.EXE"}};
};

// The command-line tool, built beside the tests' folder.
std::wstring Command_Line_Tool();
// Runs a command line without a window and gives its exit code (or the failure to start it, with
// the top bit set).
DWORD Run_Process(std::wstring command_line);

// Lets pending messages run, then forgets a quit request that a closed main window left behind.
void Pump_And_Forget_Quit();

}  // namespace tilvane::testing_support

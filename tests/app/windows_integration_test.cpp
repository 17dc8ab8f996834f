// Running at start-up and the shortcuts: the handlers over a scripted registry for the texts and
// the rights cases, and the real registry and shell link object of the test prefix for the rest.
#include <gtest/gtest.h>

#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

#include <filesystem>
#include <string>
#include <vector>

#include "desktop/registry.h"
#include "main_window/main_form.h"
#include "registration/auto_run.h"
#include "registration/shortcuts.h"
#include "test_support.h"
#include "win/text.h"

namespace tilvane::app {
namespace {

using desktop::Registry_Root;
using registration::kRun_Key;

class WindowsIntegrationTest : public ::testing::Test, protected testing_support::Test_Program {
protected:
    WindowsIntegrationTest() { main.Show_Main_Window(); }
    ~WindowsIntegrationTest() override { testing_support::Pump_And_Forget_Quit(); }

    // Through the window procedure, as a menu click arrives, so escaping errors reach the report.
    void Choose(const kit::Menu_Item& item) { SendMessageW(main.Handle(), WM_COMMAND, item.Command_Id(), 0); }
    std::vector<std::string> Shown() {
        std::vector<std::string> texts;
        for (const desktop::Box_Request& box : boxes.shown) texts.push_back(win::To_Utf8(box.text));
        boxes.shown.clear();
        return texts;
    }
    std::optional<std::string> Run_Entry() const { return registry.Value(Registry_Root::Local_Machine, kRun_Key, "Tilvane.EXE"); }
    std::string Program_Path() const { return program.Services.program_path; }

    TMainForm1& main = program.MainForm1;
};

TEST_F(WindowsIntegrationTest, TheMenuItemTogglesTheRunEntryAndItsCheckMark) {
    Choose(main.Auto_Run_at_Windows_Startup_Option);
    EXPECT_EQ(Run_Entry(), Program_Path()) << "the bare path, no quotes";
    EXPECT_TRUE(main.Auto_Run_at_Windows_Startup_Option.Checked());
    EXPECT_EQ(Shown(), std::vector<std::string>{
                           "This program (Tilvane.EXE) will now run automatically at Windows Start-Up."});

    Choose(main.Auto_Run_at_Windows_Startup_Option);
    EXPECT_FALSE(Run_Entry());
    EXPECT_FALSE(main.Auto_Run_at_Windows_Startup_Option.Checked());
    EXPECT_EQ(Shown(), std::vector<std::string>{
                           "This program (Tilvane.EXE) will now no-longer run automatically at Windows Start-Up."});

    // Turning it off again when the entry went outside the program still confirms.
    main.Auto_Run_at_Windows_Startup_Option.Set_Checked(true);
    Choose(main.Auto_Run_at_Windows_Startup_Option);
    EXPECT_FALSE(main.Auto_Run_at_Windows_Startup_Option.Checked());
    EXPECT_EQ(Shown().size(), 1u);
}

TEST_F(WindowsIntegrationTest, EveryRegistryFailureLeavesTheCheckMarkAsItWas) {
    registry.refused_keys.insert(kRun_Key);
    Choose(main.Auto_Run_at_Windows_Startup_Option);
    EXPECT_EQ(Shown(), std::vector<std::string>{"Error: The specified Registry Key for this operation \r\ndoes NOT "
                                                "exist on your PC.  \r\n\r\n Error Key   = "
                                                "\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\r\n Error Item  = "
                                                "Tilvane.EXE\r\n Error Value = " +
                                                Program_Path() + "\r\n\r\nPlease contact the program's author."});
    main.Auto_Run_at_Windows_Startup_Option.Set_Checked(true);
    Choose(main.Auto_Run_at_Windows_Startup_Option);
    EXPECT_EQ(Shown(), std::vector<std::string>{"Error: The specified Registry Key for this operation \r\ndoes NOT "
                                                "exist on your PC.  \r\n\r\n Error Key   = "
                                                "\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\r\n Error Item  = "
                                                "Tilvane.EXE\r\n\r\nPlease contact the program's author."});
    EXPECT_TRUE(main.Auto_Run_at_Windows_Startup_Option.Checked());
    registry.refused_keys.clear();

    registry.garble_writes = true;
    main.Auto_Run_at_Windows_Startup_Option.Set_Checked(false);
    Choose(main.Auto_Run_at_Windows_Startup_Option);
    EXPECT_EQ(Shown(), std::vector<std::string>{
                           "Error: The required settings could not be created \r\nor saved in the Windows Registry.  "
                           "\r\n\r\n Error Key   = \\Software\\Microsoft\\Windows\\CurrentVersion\\Run\r\n Error Item  = "
                           "Tilvane.EXE\r\n Error Value = " +
                           Program_Path() + "\r\n\r\nPlease contact the program's author."});
    EXPECT_FALSE(main.Auto_Run_at_Windows_Startup_Option.Checked());

    registry.ignore_deletes = true;
    main.Auto_Run_at_Windows_Startup_Option.Set_Checked(true);
    Choose(main.Auto_Run_at_Windows_Startup_Option);
    EXPECT_EQ(Shown(), std::vector<std::string>{
                           "Error: The required Registry Key settings \r\ncould not be removed from the Windows "
                           "Registry.  \r\n\r\n Error Key   = \\Software\\Microsoft\\Windows\\CurrentVersion\\Run\r\n "
                           "Error Item  = Tilvane.EXE\r\n\r\nPlease contact the program's author."});
    EXPECT_TRUE(main.Auto_Run_at_Windows_Startup_Option.Checked());

    // A refusal of the registry itself reaches the application-wide error report.
    registry.refuse_writes = true;
    main.Auto_Run_at_Windows_Startup_Option.Set_Checked(false);
    Choose(main.Auto_Run_at_Windows_Startup_Option);
    const std::vector<std::string> report = Shown();
    ASSERT_EQ(report.size(), 1u);
    EXPECT_EQ(report[0], "The registry refused to store \"Tilvane.EXE\" in the registry key \"" + std::string(kRun_Key) +
                             "\" (error 5)");
    EXPECT_FALSE(main.Auto_Run_at_Windows_Startup_Option.Checked());
}

TEST_F(WindowsIntegrationTest, AStalePathIsOfferedForCorrectionAtEveryWindowShow) {
    const std::string old_path = "C:\\Old Place\\Tilvane.EXE";
    registry.Set_Value(Registry_Root::Local_Machine, kRun_Key, "Tilvane.EXE", old_path);
    const std::string question =
        "The directory / path settings required to make this program (Tilvane.EXE)\r\nrun automatically at Windows "
        "Start-up do not match where the program \r\nis currently being run from.\r\n\r\n Old      = " +
        old_path + "\r\n Current = " + Program_Path() +
        "\r\n\r\nDo you want to update the Windows Registry to reflect the programs current locaton ?";

    main.FormShow();  // No
    EXPECT_EQ(Shown(), std::vector<std::string>{question});
    EXPECT_TRUE(main.Auto_Run_at_Windows_Startup_Option.Checked());
    EXPECT_EQ(Run_Entry(), old_path);

    boxes.answers = {desktop::Box_Answer::Yes};
    main.FormShow();
    EXPECT_EQ(Shown(), (std::vector<std::string>{
                           question, "This program (Tilvane.EXE) will now run automatically at Windows Start-Up."}));
    EXPECT_EQ(Run_Entry(), Program_Path());
    EXPECT_TRUE(main.Auto_Run_at_Windows_Startup_Option.Checked());

    // Letter case alone is no difference; no entry at all is an unchecked item.
    registry.Set_Value(Registry_Root::Local_Machine, kRun_Key, "Tilvane.EXE", tilvane::Ascii_Upper(Program_Path()));
    main.FormShow();
    EXPECT_TRUE(Shown().empty());
    EXPECT_TRUE(main.Auto_Run_at_Windows_Startup_Option.Checked());
    registry.Delete_Value(Registry_Root::Local_Machine, kRun_Key, "Tilvane.EXE");
    main.FormShow();
    EXPECT_FALSE(main.Auto_Run_at_Windows_Startup_Option.Checked());
}

TEST_F(WindowsIntegrationTest, ShortcutsGoOnlyWhereTheShellFoldersSay) {
    Choose(main.Create_Shortcut_on_Desktop_Option);
    EXPECT_EQ(Shown(), std::vector<std::string>{"REGISTRY_INC__Create_Shortcut Error: The key \"Desktop\" is invalid "
                                                "or could not be found in the registry."});
    // Deleting with no folders known looks nowhere, not at the root of the drive.
    Choose(main.Delete_All_Shortcuts_Option);
    const std::string none_found = "No Desktop, Start Menu, or SendTo shortcuts called \"Tilvane\" could be found !  "
                                   "i.e. they may have been renamed to something else or deleted already.";
    EXPECT_EQ(Shown(), std::vector<std::string>{none_found});

    const std::string place = folder.Path().substr(0, folder.Path().size() - 1);
    registry.Set_Value(Registry_Root::Current_User, registration::kShell_Folders_Key, "Desktop", place);
    registry.Set_Value(Registry_Root::Current_User, registration::kShell_Folders_Key, "Start Menu", place);
    registration::Create_Shortcut({registry, nullptr}, Program_Path(), "desktop", "");
    EXPECT_EQ(Shown().size(), 1u) << "the table's names are compared exactly";

    Choose(main.Create_Shortcut_on_Start_Programs_Menu_Option);  // no Programs folder here: silent
    EXPECT_FALSE(std::filesystem::exists(win::To_Wide(folder.Path() + "Programs")));
    Choose(main.Create_Shortcut_on_Desktop_Option);
    EXPECT_TRUE(std::filesystem::exists(win::To_Wide(folder.Path() + "Tilvane.lnk")));
    EXPECT_TRUE(Shown().empty());

    Choose(main.Delete_All_Shortcuts_Option);  // found under Desktop and again under Start Menu: one box
    EXPECT_EQ(Shown(), std::vector<std::string>{
                           "Success: All Desktop, Start Menu, and SendTo shortcuts to \"Tilvane\" have been deleted."});
    EXPECT_FALSE(std::filesystem::exists(win::To_Wide(folder.Path() + "Tilvane.lnk")));
    Choose(main.Delete_All_Shortcuts_Option);
    EXPECT_EQ(Shown(), std::vector<std::string>{none_found});
}

// The real registry and shell of the test prefix. Each test uses a program name of its own, so
// that nothing another test or a real user left behind can answer for it.
class RealServicesTest : public ::testing::Test {
protected:
    RealServicesTest() {
        boxes.answers.clear();
        program_path = folder.Path() + "Tilvane_Test_" + std::to_string(GetCurrentProcessId()) + ".EXE";
        testing_support::Write_File(program_path, "MZ");
        CoInitialize(nullptr);
    }
    ~RealServicesTest() override {
        for (const char* name : registration::Shell_Folder_Names) Remove_Shortcut(Folder(name));
        Remove_Shortcut(Folder("Start Menu") + "\\Programs");
        real.Delete_Value(Registry_Root::Local_Machine, kRun_Key, Program_Name());
    }
    std::string Program_Name() const { return std::string(tilvane::File_Name_Part(program_path)); }
    std::string Folder(const std::string& name) {
        return real.Read_String(Registry_Root::Current_User, registration::kShell_Folders_Key, name).value_or("");
    }
    std::string Shortcut(const std::string& folder_path) {
        return folder_path + "\\" + tiles::File_Name_Without_Extension(program_path) + ".lnk";
    }
    void Remove_Shortcut(const std::string& folder_path) {
        const std::wstring file = win::To_Wide(Shortcut(folder_path));
        SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(file.c_str());
    }
    // The target and the start folder that the shell link object reads back from a shortcut file,
    // as "target|folder".
    static std::string Link_Target(const std::string& link_path) {
        IShellLinkW* link = nullptr;
        if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                    reinterpret_cast<void**>(&link))))
            return "no link object";
        IPersistFile* file = nullptr;
        std::wstring target(MAX_PATH, L'\0'), directory(MAX_PATH, L'\0');
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            if (FAILED(file->Load(win::To_Wide(link_path).c_str(), STGM_READ)) ||
                FAILED(link->GetPath(target.data(), MAX_PATH, nullptr, 0)) ||
                FAILED(link->GetWorkingDirectory(directory.data(), MAX_PATH)))
                target = L"unreadable";
            file->Release();
        }
        link->Release();
        return win::To_Utf8(target.c_str()) + "|" + win::To_Utf8(directory.c_str());
    }
    registration::Registry_Access Access() { return {real, nullptr}; }

    testing_support::Recording_Message_Boxes boxes;
    testing_support::Boxes_In_Use boxes_in_use{boxes};
    testing_support::Temporary_Folder folder;
    desktop::Windows_Registry real;
    std::string program_path;
};

TEST_F(RealServicesTest, TheRunEntryIsWrittenReadBackAndDeletedInTheMachineWideKey) {
    registration::Auto_Run auto_run(Access(), program_path);
    ASSERT_TRUE(auto_run.Enable_Auto_Run());
    EXPECT_EQ(real.Read_String(Registry_Root::Local_Machine, kRun_Key, Program_Name()), program_path);
    const std::wstring query = L"reg query \"HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\" /v " +
                               win::To_Wide(Program_Name());
    EXPECT_EQ(testing_support::Run_Process(query), 0u) << "another process sees the entry";
    EXPECT_TRUE(auto_run.Check_Auto_Run_Location());

    // The same program moved: the question, and No leaves the entry as it was.
    registration::Auto_Run moved(Access(), folder.Path() + "Elsewhere\\" + Program_Name());
    EXPECT_TRUE(moved.Check_Auto_Run_Location());
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_NE(win::To_Utf8(boxes.shown[1].text).find(" Old      = " + program_path), std::string::npos);

    ASSERT_TRUE(auto_run.Disable_Auto_Run());
    EXPECT_FALSE(real.Read_String(Registry_Root::Local_Machine, kRun_Key, Program_Name()));
    EXPECT_NE(testing_support::Run_Process(query), 0u) << "another process no longer sees it";
    EXPECT_FALSE(auto_run.Check_Auto_Run_Location());

    // A value of the program's name that is not text is the registry layer's error.
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", 0,
                            KEY_ALL_ACCESS, &key),
              ERROR_SUCCESS);
    const DWORD number = 7;
    RegSetValueExW(key, win::To_Wide(Program_Name()).c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                   sizeof number);
    RegCloseKey(key);
    EXPECT_THROW(auto_run.Check_Auto_Run_Location(), desktop::Registry_Error);
}

TEST_F(RealServicesTest, ShortcutsAreMadeInTheShellFoldersAndPointAtTheProgram) {
    registration::Create_Shortcut(Access(), program_path, "Desktop", "");
    registration::Create_Shortcut(Access(), program_path, "Desktop", "");  // overwritten, no message
    registration::Create_Shortcut(Access(), program_path, "Start Menu", "Programs");
    registration::Create_Shortcut(Access(), program_path, "SendTo", "");
    EXPECT_TRUE(boxes.shown.empty());
    // Each starts the program in its own folder, where its tile list's relative names lead.
    const std::string link = program_path + "|" + folder.Path();
    EXPECT_EQ(Link_Target(Shortcut(Folder("Desktop"))), link);
    EXPECT_EQ(Link_Target(Shortcut(Folder("Start Menu") + "\\Programs")), link);
    EXPECT_EQ(Link_Target(Shortcut(Folder("SendTo"))), link);
    EXPECT_FALSE(std::filesystem::exists(win::To_Wide(Shortcut(Folder("Start Menu")))));

    // A read-only shortcut goes too; the Programs one stays; the box shows once.
    SetFileAttributesW(win::To_Wide(Shortcut(Folder("SendTo"))).c_str(), FILE_ATTRIBUTE_READONLY);
    registration::Delete_All_Shortcuts(Access(), program_path);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(win::To_Utf8(boxes.shown[0].text), "Success: All Desktop, Start Menu, and SendTo shortcuts to \"" +
                                                     tiles::File_Name_Without_Extension(program_path) +
                                                     "\" have been deleted.");
    EXPECT_FALSE(std::filesystem::exists(win::To_Wide(Shortcut(Folder("Desktop")))));
    EXPECT_FALSE(std::filesystem::exists(win::To_Wide(Shortcut(Folder("SendTo")))));
    EXPECT_TRUE(std::filesystem::exists(win::To_Wide(Shortcut(Folder("Start Menu") + "\\Programs"))));
}

TEST_F(RealServicesTest, AShortcutHeldOpenByAnotherProcessStays) {
    registration::Create_Shortcut(Access(), program_path, "Desktop", "");
    const std::string shortcut = Shortcut(Folder("Desktop"));
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    const HANDLE held = CreateFileW(win::To_Wide(shortcut).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    &inherit, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    // A child that inherits the handle holds the file after this process lets go of it.
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;  // and prints nowhere
    PROCESS_INFORMATION child{};
    std::wstring command = L"ping -n 30 127.0.0.1";
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                               &startup, &child));
    CloseHandle(held);

    EXPECT_FALSE(registration::Delete_Shortcut(real, program_path, "Desktop"));
    EXPECT_TRUE(std::filesystem::exists(win::To_Wide(shortcut)));

    TerminateProcess(child.hProcess, 0);
    WaitForSingleObject(child.hProcess, 10000);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    EXPECT_TRUE(registration::Delete_Shortcut(real, program_path, "Desktop"));
}

}  // namespace
}  // namespace tilvane::app

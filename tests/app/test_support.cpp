#include "test_support.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "kit/application.h"
#include "kit/form.h"
#include "win/text.h"

namespace tilvane::testing_support {
namespace {

// A real message box under the headless driver would never return: fail the test instead.
class Unexpected_Boxes final : public desktop::Message_Boxes {
public:
    desktop::Box_Answer Show(HWND, const desktop::Box_Request& request) override {
        ADD_FAILURE() << "Unexpected message box: " << win::To_Utf8(request.text);
        return desktop::Box_Answer::Ok;
    }
};

Unexpected_Boxes unexpected_boxes;

class Guard_Environment final : public ::testing::Environment {
public:
    void SetUp() override { kit::Current_Application().Use_Message_Boxes(unexpected_boxes); }
};

[[maybe_unused]] const auto* const guard = ::testing::AddGlobalTestEnvironment(new Guard_Environment);

}  // namespace

desktop::Box_Answer Recording_Message_Boxes::Show(HWND, const desktop::Box_Request& request) {
    shown.push_back(request);
    if (!answers.empty()) {
        const desktop::Box_Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    return request.buttons == desktop::Box_Buttons::Yes_No ? desktop::Box_Answer::No : desktop::Box_Answer::Ok;
}

std::vector<std::wstring> Scripted_File_Picker::Choose(HWND, const desktop::Picker_Request& request) {
    requests.push_back(request);
    if (answers.empty()) return {};
    std::vector<std::wstring> answer = std::move(answers.front());
    answers.pop_front();
    return answer;
}

std::optional<std::wstring> Scripted_File_Picker::Choose_Folder(HWND, const desktop::Folder_Request& request) {
    folder_requests.push_back(request);
    if (folder_answers.empty()) return std::nullopt;
    std::optional<std::wstring> answer = std::move(folder_answers.front());
    folder_answers.pop_front();
    if (answer && GetFileAttributesW(answer->c_str()) == INVALID_FILE_ATTRIBUTES &&
        !(request.create_missing && request.create_missing(*answer)))
        return std::nullopt;
    return answer;
}

std::string Scripted_Registry::Id(desktop::Registry_Root root, const std::string& key_path, const std::string& name) {
    const std::size_t start = key_path.find_first_not_of('\\');
    std::string id = (root == desktop::Registry_Root::Local_Machine ? "HKLM|" : "HKCU|") +
                     (start == std::string::npos ? std::string{} : key_path.substr(start)) + "|" + name;
    for (char& c : id) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return id;
}

bool Scripted_Registry::Key_Opens(desktop::Registry_Root root, const std::string& key_path) {
    return refused_keys.count(key_path) == 0 && refused_keys.count(Id(root, key_path)) == 0;
}

void Scripted_Registry::Write_String(desktop::Registry_Root root, const std::string& key_path, const std::string& name,
                                     const std::string& text) {
    if (refuse_writes) throw desktop::Registry_Error(win::Windows_Failure::Registry_Write_Refused, key_path, name, ERROR_ACCESS_DENIED);
    Set_Value(root, key_path, name, garble_writes ? text + "?" : text);
}

std::optional<std::string> Scripted_Registry::Read_String(desktop::Registry_Root root, const std::string& key_path,
                                                          const std::string& name) {
    return Value(root, key_path, name);
}

void Scripted_Registry::Delete_Value(desktop::Registry_Root root, const std::string& key_path,
                                     const std::string& name) {
    if (!ignore_deletes) values_.erase(Id(root, key_path, name));
}

std::optional<std::string> Scripted_Registry::Value(desktop::Registry_Root root, const std::string& key_path,
                                                    const std::string& name) const {
    const auto found = values_.find(Id(root, key_path, name));
    return found == values_.end() ? std::nullopt : std::optional(found->second);
}

void Scripted_Registry::Set_Value(desktop::Registry_Root root, const std::string& key_path, const std::string& name,
                                  const std::string& text) {
    values_[Id(root, key_path, name)] = text;
}

namespace {

std::filesystem::path Native(const std::string& utf8) { return std::filesystem::path(win::To_Wide(utf8)); }

}  // namespace

Temporary_Folder::Temporary_Folder() {
    static std::atomic<int> made{0};
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() /
        (L"tilvane-app-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(made++));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    path_ = win::To_Utf8(folder.wstring()) + "\\";
}

Temporary_Folder::~Temporary_Folder() {
    std::error_code ignored;
    std::filesystem::remove_all(Native(path_), ignored);
}

void Write_File(const std::string& path, std::string_view bytes) {
    std::ofstream(Native(path), std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string Read_File(const std::string& path) {
    std::ifstream file(Native(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

unsigned System_Code_Page() {
    DWORD code_page = 0;
    GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                   reinterpret_cast<LPWSTR>(&code_page), sizeof code_page / sizeof(wchar_t));
    return code_page;
}

Boxes_In_Use::Boxes_In_Use(desktop::Message_Boxes& boxes) { kit::Current_Application().Use_Message_Boxes(boxes); }
Boxes_In_Use::~Boxes_In_Use() { kit::Current_Application().Use_Message_Boxes(unexpected_boxes); }

std::wstring Command_Line_Tool() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    folder.erase(folder.find_last_of(L'\\'));
    return folder.substr(0, folder.find_last_of(L'\\') + 1) + L"tilvane-cli.exe";
}

DWORD Run_Process(std::wstring command_line) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command_line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                        &startup, &process))
        return GetLastError() | 0x80000000;
    WaitForSingleObject(process.hProcess, 60000);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

void Pump_And_Forget_Quit() {
    kit::Process_Pending_Messages();
    MSG message;
    while (PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

}  // namespace tilvane::testing_support

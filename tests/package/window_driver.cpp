// Drives the running program's main window from outside, as a user would, for the test that
// runs the program from its distribution ZIP. Works under any display driver, headless included.
//   window_driver wait SECONDS              waits for the main window
//   window_driver menu M I                  chooses menu item I of menu M by their access keys
//   window_driver set "GROUP CAPTION" N TEXT  types TEXT into the group's Nth edit (from 1)
//   window_driver click "BUTTON CAPTION"    presses a button (without waiting for its work)
// Exits 0 on success, 1 with a message on standard error otherwise.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

HWND Main_Window() { return FindWindowW(L"TMainForm1", nullptr); }

std::wstring Text_Of(HWND hwnd) {
    wchar_t text[512] = L"";
    GetWindowTextW(hwnd, text, 512);
    return text;
}

std::wstring Class_Of(HWND hwnd) {
    wchar_t name[64] = L"";
    GetClassNameW(hwnd, name, 64);
    return name;
}

// Every window under `parent`, at any depth, in creation order.
std::vector<HWND> Descendants(HWND parent) {
    std::vector<HWND> found;
    EnumChildWindows(
        parent,
        [](HWND hwnd, LPARAM list) {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

HWND Find_Child(HWND parent, const std::wstring& text, const wchar_t* window_class = nullptr) {
    for (HWND hwnd : Descendants(parent)) {
        if (Text_Of(hwnd) == text && (!window_class || Class_Of(hwnd) == window_class)) return hwnd;
    }
    return nullptr;
}

int Fail(const std::wstring& message) {
    std::fwprintf(stderr, L"window_driver: %ls\n", message.c_str());
    return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::vector<std::wstring> args(argv + 1, argv + argc);
    if (args.empty()) return Fail(L"no command");
    const std::wstring& command = args[0];
    if (command == L"wait" && args.size() == 2) {
        for (int tenth = 0; tenth < 10 * _wtoi(args[1].c_str()); ++tenth) {
            if (HWND main = Main_Window(); main && IsWindowVisible(main)) return 0;
            Sleep(100);
        }
        return Fail(L"the main window did not appear");
    }
    HWND main = Main_Window();
    if (!main) return Fail(L"the main window is not there");
    if (command == L"menu" && args.size() == 3) {
        // Menus cannot be read from another process under Wine: open the menu by its access key,
        // as Alt+key does, wait until it shows, and choose the item by its own.
        PostMessageW(main, WM_SYSCOMMAND, SC_KEYMENU, args[1][0]);
        for (int tenth = 0; tenth < 100; ++tenth) {
            if (HWND popup = FindWindowW(L"#32768", nullptr); popup && IsWindowVisible(popup)) {
                PostMessageW(main, WM_CHAR, args[2][0], 0);
                return 0;
            }
            Sleep(100);
        }
        return Fail(L"the menu did not open");
    }
    if (command == L"set" && args.size() == 4) {
        HWND group = Find_Child(main, args[1]);
        if (!group) return Fail(L"no group " + args[1]);
        int wanted = _wtoi(args[2].c_str());
        for (HWND hwnd : Descendants(group)) {
            if (Class_Of(hwnd) == L"Edit" && --wanted == 0) {
                SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(args[3].c_str()));
                return 0;
            }
        }
        return Fail(L"no such edit in " + args[1]);
    }
    if (command == L"click" && args.size() == 2) {
        HWND button = Find_Child(main, args[1], L"Button");
        if (!button) return Fail(L"no button " + args[1]);
        PostMessageW(button, BM_CLICK, 0, 0);
        return 0;
    }
    return Fail(L"unknown command " + command);
}

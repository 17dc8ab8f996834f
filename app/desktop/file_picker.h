#pragma once
// The open-file picker. Handlers describe one use of it in a request and get the chosen paths
// back, so tests can script the choice instead of a user.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tilvane::desktop {

struct Picker_Request {
    std::wstring title;
    std::wstring filter;  // "description|pattern" pairs joined by "|"
    DWORD options = 0;    // OFN_* flags, OFN_EXPLORER and OFN_HIDEREADONLY implied
    std::wstring initial_directory;
    std::wstring file_name;  // pre-filled
    DWORD filter_index = 1;  // the filter selected at first, counted from 1
};

// One use of the directory-selection dialog.
struct Folder_Request {
    std::wstring title;
    std::wstring initial_directory;
    // Called with the full path of a typed directory that does not exist: true when it exists now,
    // so the dialog closes with it; false keeps the dialog open. Without it the dialog offers no
    // new-folder button.
    std::function<bool(const std::wstring& directory)> create_missing;
};

class File_Picker {
public:
    virtual ~File_Picker() = default;
    // The chosen files as full paths, in the order the picker gives them; none on Cancel.
    virtual std::vector<std::wstring> Choose(HWND owner, const Picker_Request& request) = 0;
    // The chosen directory's full path; nothing on Cancel.
    virtual std::optional<std::wstring> Choose_Folder(HWND owner, const Folder_Request& request) = 0;
};

// The real thing: GetOpenFileName and the shell's folder browser, modal to the owner.
class Windows_File_Picker final : public File_Picker {
public:
    std::vector<std::wstring> Choose(HWND owner, const Picker_Request& request) override;
    std::optional<std::wstring> Choose_Folder(HWND owner, const Folder_Request& request) override;
};

// "a|b|c|d" as the picker takes it: each part ended by a NUL, and one more NUL at the end.
[[nodiscard]] std::wstring Picker_Filter(std::wstring_view filter);

// The full paths held by the picker's answer. A single-select answer is one path ended by a NUL
// (the buffer may hold more after it); a multi-select answer is NUL-separated: a single full path,
// or, when several files were chosen, their folder followed by their names.
[[nodiscard]] std::vector<std::wstring> Chosen_Files(std::wstring_view answer, bool multiple);

}  // namespace tilvane::desktop

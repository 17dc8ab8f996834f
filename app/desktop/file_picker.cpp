#include "desktop/file_picker.h"

#include <cderr.h>
#include <commdlg.h>
#include <shlobj.h>

#include <algorithm>
#include <string>

#include "win/guarded.h"
#include "win/handles.h"
#include "win/windows_error.h"

namespace tilvane::desktop {
namespace {

// Room for thousands of chosen names at once; a bigger choice is met by asking again.
constexpr std::size_t kFirst_Buffer_Size = std::size_t{1} << 20;

// What the folder browser's callback works with while the dialog is open.
struct Folder_Browse {
    const Folder_Request& request;
    std::wstring selected;  // the directory selected in the tree
    std::optional<std::wstring> typed;  // a typed directory that did not exist and has been made
};

std::wstring Path_Of(PCIDLIST_ABSOLUTE item) {
    wchar_t path[MAX_PATH] = L"";
    return item && SHGetPathFromIDListW(item, path) ? path : L"";
}

// The answer 1 keeps the dialog open: so it stays after an error in making a typed directory.
int CALLBACK Folder_Browse_Callback(HWND dialog, UINT message, LPARAM lparam, LPARAM data) {
    return win::Guarded([&] {
        auto& browse = *reinterpret_cast<Folder_Browse*>(data);
        if (message == BFFM_INITIALIZED && !browse.request.initial_directory.empty()) {
            SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE,
                         reinterpret_cast<LPARAM>(browse.request.initial_directory.c_str()));
        } else if (message == BFFM_SELCHANGED) {
            browse.selected = Path_Of(reinterpret_cast<PCIDLIST_ABSOLUTE>(lparam));
        } else if (message == BFFM_VALIDATEFAILEDW) {
            // A name that names no directory: taken from the selected one when it is relative.
            std::wstring typed = reinterpret_cast<const wchar_t*>(lparam);
            const bool absolute =
                typed.size() >= 2 && (typed[1] == L':' || (typed[0] == L'\\' && typed[1] == L'\\'));
            if (!absolute && !browse.selected.empty())
                typed = browse.selected + (browse.selected.back() == L'\\' ? L"" : L"\\") + typed;
            if (!browse.request.create_missing || !browse.request.create_missing(typed)) return 1;
            browse.typed = typed;
        }
        return 0;
    }, 1);
}

}  // namespace

std::wstring Picker_Filter(std::wstring_view filter) {
    std::wstring parts(filter);
    std::replace(parts.begin(), parts.end(), L'|', L'\0');
    parts.push_back(L'\0');
    parts.push_back(L'\0');
    return parts;
}

std::vector<std::wstring> Chosen_Files(std::wstring_view answer, bool multiple) {
    if (!multiple) {
        // What follows the path's terminator is what was left of a longer pre-filled name.
        const std::wstring_view path = answer.substr(0, answer.find(L'\0'));
        return path.empty() ? std::vector<std::wstring>{} : std::vector<std::wstring>{std::wstring(path)};
    }
    std::vector<std::wstring> parts;
    for (std::size_t start = 0; start < answer.size() && answer[start] != L'\0';) {
        const std::size_t end = std::min(answer.find(L'\0', start), answer.size());
        parts.emplace_back(answer.substr(start, end - start));
        start = end + 1;
    }
    if (parts.size() <= 1) return parts;
    std::wstring folder = parts.front();
    if (folder.back() != L'\\') folder += L'\\';  // a drive's root comes with its backslash
    std::vector<std::wstring> files;
    files.reserve(parts.size() - 1);
    for (auto name = parts.begin() + 1; name != parts.end(); ++name) files.push_back(folder + *name);
    return files;
}

std::vector<std::wstring> Windows_File_Picker::Choose(HWND owner, const Picker_Request& request) {
    const std::wstring filter = Picker_Filter(request.filter);
    std::size_t size = std::max(kFirst_Buffer_Size, request.file_name.size() + 1);
    for (;;) {
        std::wstring buffer(size, L'\0');
        std::copy(request.file_name.begin(), request.file_name.end(), buffer.begin());
        OPENFILENAMEW dialog{};
        dialog.lStructSize = sizeof dialog;
        dialog.hwndOwner = owner;
        dialog.lpstrFilter = filter.c_str();
        dialog.nFilterIndex = request.filter_index;
        dialog.lpstrFile = buffer.data();
        dialog.nMaxFile = static_cast<DWORD>(std::min<std::size_t>(size, MAXDWORD));
        dialog.lpstrInitialDir = request.initial_directory.empty() ? nullptr : request.initial_directory.c_str();
        dialog.lpstrTitle = request.title.c_str();
        // The "Open as read-only" box would change nothing in this program, so it is hidden.
        dialog.Flags = request.options | OFN_EXPLORER | OFN_HIDEREADONLY;
        if (GetOpenFileNameW(&dialog)) return Chosen_Files(buffer, (request.options & OFN_ALLOWMULTISELECT) != 0);
        const DWORD error = CommDlgExtendedError();
        if (error == 0) return {};  // Cancel
        if (error != FNERR_BUFFERTOOSMALL)
            throw win::Windows_Error(win::Windows_Failure::Picker_Failed, {}, error);
        // The first two bytes tell the size needed, when it fits in them.
        size = std::max<std::size_t>(buffer[0], size * 2);
    }
}

std::optional<std::wstring> Windows_File_Picker::Choose_Folder(HWND owner, const Folder_Request& request) {
    // The dialog with an edit field and a new-folder button needs OLE on this thread.
    const win::Ole_Session ole;
    Folder_Browse browse{request, request.initial_directory, std::nullopt};
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.lpszTitle = request.title.c_str();
    // A folder that is only read from offers no making of new ones.
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE | BIF_EDITBOX | BIF_VALIDATE |
                   (request.create_missing ? 0 : BIF_NONEWFOLDERBUTTON);
    info.lpfn = Folder_Browse_Callback;
    info.lParam = reinterpret_cast<LPARAM>(&browse);
    const win::Co_Task_Memory<PIDLIST_ABSOLUTE> item(SHBrowseForFolderW(&info));
    std::optional<std::wstring> chosen = browse.typed;
    if (!chosen && item) chosen = Path_Of(item.Get());
    if (chosen && chosen->empty()) chosen.reset();  // a shell item that is no directory
    return chosen;
}

}  // namespace tilvane::desktop

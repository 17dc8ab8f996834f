#include "desktop/shell_link.h"

#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

#include "win/handles.h"
#include "win/text.h"
#include "win/windows_error.h"

namespace tilvane::desktop {
namespace {

void Require(HRESULT result, const char* step) {
    if (SUCCEEDED(result)) return;
    throw win::Windows_Error(win::Windows_Failure::Shortcut_Step_Failed, step, static_cast<unsigned long>(result));
}

// The target in the ANSI code page, or nothing when that code page cannot hold it.
bool To_Ansi(const std::wstring& wide, std::string& ansi) {
    BOOL lossy = FALSE;
    const int size = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, nullptr, 0, nullptr, &lossy);
    if (size <= 0 || lossy) return false;
    ansi.assign(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, ansi.data(), size, nullptr, nullptr);
    return true;
}

}  // namespace

void Save_Shell_Link(const std::string& target_path, const std::string& working_directory,
                     const std::string& link_path) {
    CoInitialize(nullptr);  // a repeated initialisation is harmless; COM stays up for the program's life
    win::Com_Pointer<IUnknown> link;
    Require(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IUnknown,
                             link.Out()),
            "creating the link object");
    win::Com_Pointer<IShellLinkA> shell_link;
    Require(link->QueryInterface(IID_IShellLinkA, shell_link.Out()), "asking for IShellLinkA");
    win::Com_Pointer<IPersistFile> file;
    Require(link->QueryInterface(IID_IPersistFile, file.Out()), "asking for IPersistFile");

    const std::wstring target = win::To_Wide(target_path), directory = win::To_Wide(working_directory);
    std::string ansi_target, ansi_directory;
    if (To_Ansi(target, ansi_target) && To_Ansi(directory, ansi_directory)) {
        shell_link->SetPath(ansi_target.c_str());
        shell_link->SetWorkingDirectory(ansi_directory.c_str());
    } else {
        // A path the ANSI code page cannot hold would point the shortcut at another file.
        win::Com_Pointer<IShellLinkW> wide_link;
        if (SUCCEEDED(link->QueryInterface(IID_IShellLinkW, wide_link.Out()))) {
            wide_link->SetPath(target.c_str());
            wide_link->SetWorkingDirectory(directory.c_str());
        }
    }
    file->Save(win::To_Wide(link_path).c_str(), FALSE);
}

}  // namespace tilvane::desktop

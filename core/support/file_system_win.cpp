#include "file_system.h"

#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <windows.h>
#include <winternl.h>

#include <algorithm>
#include <cerrno>
#include <string>

namespace tilvane::file_system {
namespace {

namespace fs = std::filesystem;

struct Handle {
    explicit Handle(HANDLE h) : h(h) {}
    ~Handle() {
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE h;
};

constexpr DWORD kShare_All = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

HANDLE Os_Handle(std::FILE* f) { return reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(f))); }

// "\\?\C:\..." as the system names a file it has opened, back to the plain "C:\..." form.
fs::path Without_Long_Prefix(std::wstring name) {
    if (name.starts_with(L"\\\\?\\UNC\\")) return L"\\\\" + name.substr(8);
    if (name.starts_with(L"\\\\?\\")) return name.substr(4);
    return name;
}

}  // namespace

std::optional<fs::path> Follow_Links(const fs::path& named) {
    // Opening follows every link; the system then names the file it reached.
    const Handle file(CreateFileW(named.c_str(), 0, kShare_All, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (file.h == INVALID_HANDLE_VALUE) {
        return GetLastError() == ERROR_CANT_RESOLVE_FILENAME ? std::nullopt : std::optional<fs::path>(named);
    }
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetFinalPathNameByHandleW(file.h, name.data(), static_cast<DWORD>(name.size()), 0);
        if (length == 0) return named;
        if (length < name.size()) {
            name.resize(length);
            return Without_Long_Prefix(name);
        }
        name.resize(length);
    }
}

Target_State Inspect_Target(const fs::path& target) {
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return {};
    Target_State state{true, false, 1};
    if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) return state;
    // A plain open for writing answers for the access list and for a program that holds the
    // file open against writers.
    const Handle file(CreateFileW(target.c_str(), GENERIC_WRITE, kShare_All, nullptr, OPEN_EXISTING, 0, nullptr));
    if (file.h == INVALID_HANDLE_VALUE) return state;
    state.may_write = true;
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileInformationByHandle(file.h, &info)) state.link_count = info.nNumberOfLinks;
    return state;
}

int Create_New_Descriptor(const fs::path& path) {
    // Others may not write it, and only the interrupt handler may remove it meanwhile (sharing
    // delete): a cleaner opening it alone fails while it is open.
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                           CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        switch (GetLastError()) {
            case ERROR_FILE_EXISTS: errno = EEXIST; break;
            case ERROR_PATH_NOT_FOUND: errno = ENOENT; break;
            case ERROR_DISK_FULL:
            case ERROR_HANDLE_DISK_FULL: errno = ENOSPC; break;
            case ERROR_WRITE_PROTECT: errno = EROFS; break;
            default: errno = EACCES; break;
        }
        return -1;
    }
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(h), _O_RDWR | _O_BINARY);
    if (fd < 0) CloseHandle(h);
    return fd;
}

File Create_New_File(const fs::path& path) {
    const int fd = Create_New_Descriptor(path);
    if (fd < 0) return nullptr;
    std::FILE* f = _fdopen(fd, "w+b");
    if (!f) _close(fd);
    return File(f);
}

// Windows runs a console's Ctrl-C handler on a thread of its own, which no mask holds back.
Interrupts_Held::Interrupts_Held() : saved_{} {}
Interrupts_Held::~Interrupts_Held() = default;

bool Write_All_And_Close(int fd, std::span<const std::uint8_t> bytes) {
    bool written = true;
    while (written && !bytes.empty()) {
        const int done = _write(fd, bytes.data(), static_cast<unsigned>(std::min<std::size_t>(bytes.size(), 1u << 30)));
        written = done > 0;
        if (written) bytes = bytes.subspan(static_cast<std::size_t>(done));
    }
    return _close(fd) == 0 && written;
}

void Remove_If_Abandoned(const fs::path& path) {
    // An open that shares nothing fails while a save has the file open.
    const Handle file(CreateFileW(path.c_str(), DELETE, 0, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_DELETE_ON_CLOSE | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
}

File Open_For_Update(const fs::path& path) { return File(_wfsopen(path.c_str(), L"r+b", _SH_DENYWR)); }

bool Flush_File_To_Disk(std::FILE* f) { return std::fflush(f) == 0 && FlushFileBuffers(Os_Handle(f)); }

bool Set_Length(std::FILE* f, std::uint64_t length) {
    return std::fflush(f) == 0 && _chsize_s(_fileno(f), static_cast<__int64>(length)) == 0;
}

bool Replace_With(File temporary_file, const fs::path& temporary, const fs::path& target) {
    if (std::fclose(temporary_file.release()) != 0) return false;
    // ReplaceFileW gives the new file the old one's attributes, owner and access list.
    if (GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES &&
        ReplaceFileW(target.c_str(), temporary.c_str(), nullptr, 0, nullptr, nullptr)) {
        return true;
    }
    // No target, or a replace that failed half-way and took the old file away: then the new
    // file, whole and on the disk, is what is left to keep.
    return GetFileAttributesW(target.c_str()) == INVALID_FILE_ATTRIBUTES &&
           MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH);
}

void Remove_File_Now(const fs::path::value_type* path) noexcept { DeleteFileW(path); }

std::optional<File_Identity> Identity_Of(const fs::path& path) {
    // No access asked, so a file that others hold open still answers; backup semantics open folders.
    const Handle file(CreateFileW(path.c_str(), 0, kShare_All, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION information;
    if (file.h == INVALID_HANDLE_VALUE || !GetFileInformationByHandle(file.h, &information)) return std::nullopt;
    return File_Identity{information.dwVolumeSerialNumber,
                         (std::uint64_t{information.nFileIndexHigh} << 32) | information.nFileIndexLow};
}

std::optional<File_Identity> Identity_In(const File_Identity& folder, const fs::path& file) {
    const Handle opened(CreateFileW(file.c_str(), 0, kShare_All, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (opened.h == INVALID_HANDLE_VALUE) return std::nullopt;
    constexpr auto kInternal_Information = static_cast<FILE_INFORMATION_CLASS>(6);  // the file index alone
    LARGE_INTEGER index;
    IO_STATUS_BLOCK status;
    if (!NT_SUCCESS(NtQueryInformationFile(opened.h, &status, &index, sizeof index, kInternal_Information))) return std::nullopt;
    return File_Identity{folder.volume, static_cast<std::uint64_t>(index.QuadPart)};
}

bool Is_Hidden(const fs::path& path) {
    if (path.filename().native().starts_with(L'.')) return true;
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_HIDDEN);
}

}  // namespace tilvane::file_system

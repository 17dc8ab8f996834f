#include "file_system.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace tilvane::file_system {
namespace {

namespace fs = std::filesystem;

bool Same_File(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// Whether the file at path is still the one open as fd.
bool Still_Named(int fd, const fs::path& path) {
    struct stat open_file {}, named {};
    return fstat(fd, &open_file) == 0 && lstat(path.c_str(), &named) == 0 && Same_File(open_file, named);
}

// The kernel's own answer, which counts the mode bits, access lists and read-only mounts. Root
// passes every such check, so for root a file that no one may write (no write bit at all) counts
// as write-protected, the way the kernel lets root run only a file someone may run.
bool May_Write(const fs::path& path, const struct stat& st) {
    if (faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) return false;
    return geteuid() != 0 || (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
}

}  // namespace

std::optional<fs::path> Follow_Links(const fs::path& named) {
    fs::path path = named;
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(path, ec))) return path;
        const fs::path link = fs::read_symlink(path, ec);
        if (ec) return std::nullopt;
        path = link.is_absolute() ? link : path.parent_path() / link;
    }
    return std::nullopt;
}

Target_State Inspect_Target(const fs::path& target) {
    struct stat st {}, folder {};
    if (stat(target.c_str(), &st) != 0) return {};
    const uid_t user = geteuid();
    const fs::path parent = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const bool sticky = stat(parent.c_str(), &folder) == 0 && (folder.st_mode & S_ISVTX) != 0;
    return {true, S_ISREG(st.st_mode) && May_Write(target, st), static_cast<std::uint64_t>(st.st_nlink),
            !sticky || user == 0 || st.st_uid == user || folder.st_uid == user};
}

int Create_New_Descriptor(const fs::path& path) { return open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666); }

File Create_New_File(const fs::path& path) {
    const int fd = Create_New_Descriptor(path);
    if (fd < 0) return nullptr;
    // The lock tells a save of the same file in another process that this one is not abandoned;
    // a cleaner that came between open and lock has removed the name, so give this one up.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0 || !Still_Named(fd, path)) {
        close(fd);
        return nullptr;
    }
    std::FILE* f = fdopen(fd, "w+b");
    if (!f) close(fd);
    return File(f);
}

Interrupts_Held::Interrupts_Held() {
    static_assert(sizeof(sigset_t) <= sizeof saved_);
    sigset_t all;
    sigfillset(&all);
    pthread_sigmask(SIG_BLOCK, &all, reinterpret_cast<sigset_t*>(saved_));
}

Interrupts_Held::~Interrupts_Held() { pthread_sigmask(SIG_SETMASK, reinterpret_cast<sigset_t*>(saved_), nullptr); }

bool Write_All_And_Close(int fd, std::span<const std::uint8_t> bytes) {
    bool written = true;
    while (written && !bytes.empty()) {
        const ssize_t done = write(fd, bytes.data(), bytes.size());
        if (done < 0 && errno == EINTR) continue;
        written = done > 0;
        if (written) bytes = bytes.subspan(static_cast<std::size_t>(done));
    }
    return close(fd) == 0 && written;
}

void Remove_If_Abandoned(const fs::path& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return;
    struct stat st {};
    if (flock(fd, LOCK_EX | LOCK_NB) == 0 && fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && Still_Named(fd, path))
        unlink(path.c_str());
    close(fd);
}

File Open_For_Update(const fs::path& path) { return File(std::fopen(path.c_str(), "r+b")); }

bool Flush_File_To_Disk(std::FILE* f) { return std::fflush(f) == 0 && fsync(fileno(f)) == 0; }

bool Set_Length(std::FILE* f, std::uint64_t length) {
    return std::fflush(f) == 0 && ftruncate(fileno(f), static_cast<off_t>(length)) == 0;
}

bool Replace_With(File temporary_file, const fs::path& temporary, const fs::path& target) {
    const int fd = fileno(temporary_file.get());
    bool done = std::fflush(temporary_file.get()) == 0;
    struct stat old {};
    if (done && stat(target.c_str(), &old) == 0) {
        // Give the new file the old one's owner as far as this user may, then its permissions.
        // Set-user and set-group bits are not carried to a file that may have another owner.
        if (fchown(fd, old.st_uid, old.st_gid) != 0 && fchown(fd, static_cast<uid_t>(-1), old.st_gid) != 0) {
            // Not allowed to give it away: it stays this user's, as a new file would be.
        }
        done = fchmod(fd, old.st_mode & 0777) == 0;
    }
    // Renamed while still open and locked, so that no cleaner takes it for abandoned meanwhile.
    done = done && std::rename(temporary.c_str(), target.c_str()) == 0;
    return std::fclose(temporary_file.release()) == 0 && done;
}

void Remove_File_Now(const fs::path::value_type* path) noexcept { unlink(path); }

std::optional<File_Identity> Identity_Of(const fs::path& path) {
    struct stat status;
    if (::stat(path.c_str(), &status) != 0) return std::nullopt;
    return File_Identity{static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino)};
}

std::optional<File_Identity> Identity_In(const File_Identity&, const fs::path& file) { return Identity_Of(file); }

bool Is_Hidden(const fs::path& path) {
    return path.filename().native().starts_with('.');
}

}  // namespace tilvane::file_system

#pragma once
// What replacing a file needs from the operating system. One implementation per system
// (file_system_posix.cpp, file_system_win.cpp), chosen by the build, so that no system header
// reaches the rest of the core.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>

namespace tilvane::file_system {

struct File_Closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, File_Closer>;

// The file a write to named reaches: symbolic links followed to the file they name, whether or
// not that exists yet. Empty when the links go round in a circle.
std::optional<std::filesystem::path> Follow_Links(const std::filesystem::path& named);

struct Target_State {
    bool exists = false;
    // False when a plain open of the existing file for writing by this user would be refused,
    // or when it is not a regular file.
    bool may_write = true;
    std::uint64_t link_count = 0;
    // False when the folder lets this user write the file but not put another in its place: a
    // sticky folder (such as /tmp) and a file that neither it nor this user owns.
    bool may_replace = true;
};
Target_State Inspect_Target(const std::filesystem::path& target);

// Creates path for reading and writing if nothing of that name exists. While it is open,
// Remove_If_Abandoned from any process leaves it alone.
File Create_New_File(const std::filesystem::path& path);

// The descriptor of a file created for writing if nothing of its name existed: -1 otherwise,
// with errno EEXIST when the name is taken. Like a file of Create_New_File, an interrupt
// handler may remove it while it is open.
int Create_New_Descriptor(const std::filesystem::path& path);

// While it lives, the signals that end a program wait (where the system can hold them), so that
// creating a file and marking it for the interrupt handler happen as one step.
class Interrupts_Held {
public:
    Interrupts_Held();
    ~Interrupts_Held();
    Interrupts_Held(const Interrupts_Held&) = delete;
    Interrupts_Held& operator=(const Interrupts_Held&) = delete;

private:
    std::uint64_t saved_[16];  // the signal mask before (POSIX)
};

// Writes all of bytes to fd and closes it; false when either fails.
[[nodiscard]] bool Write_All_And_Close(int fd, std::span<const std::uint8_t> bytes);

// Removes path if it is a file no one has open: a temporary file a crashed save left.
void Remove_If_Abandoned(const std::filesystem::path& path);

// Opens an existing file for writing in place, keeping its content until written over.
File Open_For_Update(const std::filesystem::path& path);

// Writes the buffered data to the file and makes the system put it on the disk.
[[nodiscard]] bool Flush_File_To_Disk(std::FILE* f);

// Cuts or extends the file to length bytes.
[[nodiscard]] bool Set_Length(std::FILE* f, std::uint64_t length);

// Puts the finished temporary file (still open as temporary_file) in target's place, keeping an
// existing target's attributes, owner and permissions. Closes temporary_file. False on failure,
// with target as it was.
[[nodiscard]] bool Replace_With(File temporary_file, const std::filesystem::path& temporary,
                                const std::filesystem::path& target);

// Whether a folder listing should pass over the file or folder: a name starting with "." on
// every system, and the hidden attribute on Windows.
[[nodiscard]] bool Is_Hidden(const std::filesystem::path& path);

// Which file or folder a path leads to, links followed: the same for every path to it, and
// different for any other (the device and file number, or on Windows the volume serial number
// and file index, which also tell apart folders that Wine shows links to as plain folders).
// Empty when the system cannot say.
struct File_Identity {
    std::uint64_t volume = 0;
    std::uint64_t index = 0;
    friend auto operator<=>(const File_Identity&, const File_Identity&) = default;
};
[[nodiscard]] std::optional<File_Identity> Identity_Of(const std::filesystem::path& path);
// The same for a file reached through a folder of known identity, taking the folder's volume on
// Windows: asking for the volume serial number costs Wine a call to its mount manager (most of a
// millisecond a file). A link there to a file on another volume may then pass for another file.
[[nodiscard]] std::optional<File_Identity> Identity_In(const File_Identity& folder, const std::filesystem::path& file);

// Removes a file by name without allocating, so that a signal handler may call it.
void Remove_File_Now(const std::filesystem::path::value_type* path) noexcept;

}  // namespace tilvane::file_system

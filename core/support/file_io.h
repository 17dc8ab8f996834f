#pragma once
#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "support/byte_stream.h"
#include "support/flush_to_disk.h"

namespace tilvane {

// A file opened for reading only: other programs may read it meanwhile but not write it.
class Input_File final : public Byte_Source {
public:
    // Throws Error::Cannot_Open(path) when the file cannot be opened.
    explicit Input_File(const std::string& path);
    std::uint64_t size() const override { return size_; }
    bool Read(std::uint64_t offset, std::span<std::uint8_t> out) const override;

private:
    struct Closer {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    std::unique_ptr<std::FILE, Closer> file_;
    std::uint64_t size_ = 0;
};

// Reads a whole file. The file is opened for reading only; other programs may read it
// meanwhile but not write it. Throws Error::Cannot_Open(path) when it cannot be opened.
std::vector<std::uint8_t> Read_Whole_File(const std::string& path);

// What tells one version of a file from another without reading it.
struct File_Stamp {
    std::uint64_t size = 0;
    std::int64_t modified = 0;  // in the file system's own clock ticks
    friend bool operator==(const File_Stamp&, const File_Stamp&) = default;
};

// Opens the file for reading as Read_Whole_File does, and reads its stamp. Throws
// Error::Cannot_Open(path) when it cannot be opened, so a file that has become unreadable
// fails the same way as a read of it would.
File_Stamp Stamp_Of_Readable_File(const std::string& path);

// Replaces (or creates) path with bytes the way a plain create-and-write would, but never leaves
// a half-written file where a good one stood: the bytes go to a temporary file beside the
// target, which then takes the target's place (keeping its permissions, owner and attributes).
// A symbolic link is followed and the file it names replaced; a file with other hard links, or
// one the folder lets the user write but not replace (a sticky folder), is written in place once
// the new content is complete. A file the
// user may not write is left alone. Throws Error::Cannot_Create(path) on failure
// (Cannot_Write when the content does not fit: a full disk), after removing the temporary file; the next save of the same path removes one a crash left.
void Write_File_Atomically(const std::string& path, const std::vector<std::uint8_t>& bytes,
                           Flush_To_Disk flush = Flush_To_Disk::Yes);

// The same, for content that produce hands to its sink chunk by chunk. An exception from
// produce removes the temporary file and propagates.
void Write_File_Atomically(const std::string& path, const std::function<void(const Byte_Sink&)>& produce,
                           Flush_To_Disk flush = Flush_To_Disk::Yes);

// The same for content written over time by whoever holds it (a picture written band by band):
// the bytes go to a temporary file beside the target as they come, and Commit puts it in the
// target's place. Destroyed without Commit (an error, an interrupt), it removes the temporary
// file and leaves the target as it was.
class Replacing_File {
public:
    // Throws Error::Cannot_Create(path) for a target a plain create-and-write could not write,
    // or when no temporary file can be made beside it.
    explicit Replacing_File(const std::string& path, Flush_To_Disk flush = Flush_To_Disk::Yes);
    ~Replacing_File();
    Replacing_File(const Replacing_File&) = delete;
    Replacing_File& operator=(const Replacing_File&) = delete;

    // Appends bytes, or writes them at offset (which may lie beyond the end: the gap reads as
    // zeros). Throws Error::Cannot_Write(path) with the system's reason when they cannot be
    // written (a full disk).
    void Write(std::span<const std::uint8_t> bytes);
    void Write_At(std::uint64_t offset, std::span<const std::uint8_t> bytes);
    // A sink that appends, for encoders.
    Byte_Sink Sink() {
        return [this](std::span<const std::uint8_t> bytes) { Write(bytes); };
    }
    // Flushes the content (to the disk when asked), so that what can fail for want of room has
    // failed: Error::Cannot_Write(path). Nothing is written after it.
    void Finish();
    // Finishes, unless done, and puts the content in the target's place: Error::Cannot_Create(path)
    // when it cannot take it, Cannot_Write when written in place (a file with other names) fails.
    void Commit();

private:
    struct State;
    std::unique_ptr<State> state_;
};

// Throws Error::Cannot_Create(path) with the system's reason when a save of path would fail
// before writing: a folder that is missing or that this user may not write into, or a file that
// may not be written. Makes and removes a temporary file beside the target to find out, so that
// a long job learns it before it starts rather than when it has finished.
void Check_May_Save(const std::string& path);

// Writes bytes as a new file when nothing of that name exists, in one create and one write; a
// new file that cannot be written whole, or whose writing is interrupted, is removed. Anything
// already there is replaced as Write_File_Atomically does. Does not wait for the disk: for
// files written by the thousand. Throws Error::Cannot_Create(path), or Cannot_Write when the
// content does not fit, on failure.
void Write_File_New_Or_Replacing(const std::string& path, std::span<const std::uint8_t> bytes);

}  // namespace tilvane

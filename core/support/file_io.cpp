#include "file_io.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <optional>
#include <system_error>

#include "file_system.h"
#include "support/error.h"
#include "support/native_path.h"
#include "temporaries_in_flight.h"

#ifdef _WIN32
#include <share.h>
#endif

namespace tilvane {
namespace {

using file_system::File;

std::FILE* Open_For_Reading(const std::string& path) {
    errno = 0;
    // POSIX systems open a folder for reading too, and its length is no file's.
    std::error_code folder_error;
    if (std::filesystem::is_directory(Native_Path(path), folder_error)) {
        errno = EISDIR;
        return nullptr;
    }
#ifdef _WIN32
    // Others may read the file while we do, but not write it.
    return _wfsopen(Native_Path(path).c_str(), L"rb", _SH_DENYWR);
#else
    return std::fopen(path.c_str(), "rb");
#endif
}

bool Seek(std::FILE* f, std::uint64_t offset, int origin) {
#ifdef _WIN32
    return _fseeki64(f, static_cast<__int64>(offset), origin) == 0;
#else
    return fseeko(f, static_cast<off_t>(offset), origin) == 0;
#endif
}

std::int64_t Tell(std::FILE* f) {
#ifdef _WIN32
    return _ftelli64(f);
#else
    return ftello(f);
#endif
}

constexpr int kTemporary_Slots = 8;

// Fixed names beside the target, so that the next save of the same file finds and removes a
// temporary file that a crash left. Slots let saves of one file in several programs overlap.
std::filesystem::path Temporary_Name(const std::filesystem::path& target, int slot) {
    std::filesystem::path name = target;
    name += ".saving-" + std::to_string(slot) + ".tmp";
    return name;
}

// The new content's file beside the target; removed unless it has taken the target's place.
class Temporary_File {
public:
    explicit Temporary_File(const std::filesystem::path& target) {
        for (int slot = 0; slot < kTemporary_Slots; ++slot) {
            const std::filesystem::path name = Temporary_Name(target, slot);
            file_system::Remove_If_Abandoned(name);
            if (file_) continue;
            in_flight_.emplace(name);  // before the file exists, so an interrupt never misses it
            file_ = file_system::Create_New_File(name);
            if (file_) path_ = name;
            else in_flight_.reset();
        }
    }
    ~Temporary_File() {
        file_.reset();
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove(path_, ignored);
    }
    Temporary_File(const Temporary_File&) = delete;
    Temporary_File& operator=(const Temporary_File&) = delete;

    std::FILE* Stream() const { return file_.get(); }

    [[nodiscard]] bool Take_Place_Of(const std::filesystem::path& target) {
        if (!file_system::Replace_With(std::move(file_), path_, target)) return false;
        path_.clear();
        return true;
    }

    // Writes the content into target itself, so that every other name of it (hard links) sees it.
    [[nodiscard]] bool Copy_Into(const std::filesystem::path& target, Flush_To_Disk flush) {
        const File out = file_system::Open_For_Update(target);
        if (!out || std::fseek(file_.get(), 0, SEEK_SET) != 0) return false;
        std::vector<char> buffer(1 << 20);
        std::uint64_t length = 0;
        while (const std::size_t n = std::fread(buffer.data(), 1, buffer.size(), file_.get())) {
            if (std::fwrite(buffer.data(), 1, n, out.get()) != n) return false;
            length += n;
        }
        return !std::ferror(file_.get()) && file_system::Set_Length(out.get(), length) &&
               (flush == Flush_To_Disk::Yes ? file_system::Flush_File_To_Disk(out.get()) : std::fflush(out.get()) == 0);
    }

private:
    File file_;
    std::filesystem::path path_;
    std::optional<Temporary_In_Flight> in_flight_;
};

// Why an existing target may not be written.
std::error_code Refusal_Reason(const std::filesystem::path& target) {
    std::error_code ignored;
    if (std::filesystem::is_directory(target, ignored)) return std::make_error_code(std::errc::is_a_directory);
    const std::error_code reason = Last_System_Error();
    return reason ? reason : std::make_error_code(std::errc::permission_denied);
}

// The file a save of path writes, links followed, if a plain create-and-write would not refuse
// it. Throws Error::Cannot_Create(path) otherwise, before writing anything.
struct Save_Target {
    std::filesystem::path path;
    file_system::Target_State state;
};
Save_Target Writable_Target(const std::string& path) {
    // What the user named may be a link: the file it leads to is the one to replace.
    const std::optional<std::filesystem::path> target = file_system::Follow_Links(Native_Path(path));
    if (!target) throw Error::Cannot_Create(path, std::make_error_code(std::errc::too_many_symbolic_link_levels));
    errno = 0;
    const file_system::Target_State state = file_system::Inspect_Target(*target);
    if (!state.may_write) throw Error::Cannot_Create(path, Refusal_Reason(*target));
    return {*target, state};
}

}  // namespace

Input_File::Input_File(const std::string& path) : file_(Open_For_Reading(path)) {
    if (!file_ || !Seek(file_.get(), 0, SEEK_END)) throw Error::Cannot_Open(path, Last_System_Error());
    const std::int64_t size = Tell(file_.get());
    if (size < 0) throw Error::Cannot_Open(path);
    size_ = static_cast<std::uint64_t>(size);
}

bool Input_File::Read(std::uint64_t offset, std::span<std::uint8_t> out) const {
    if (offset > size_ || out.size() > size_ - offset) return false;
    return out.empty() || (Seek(file_.get(), offset, SEEK_SET) && std::fread(out.data(), 1, out.size(), file_.get()) == out.size());
}

std::vector<std::uint8_t> Read_Whole_File(const std::string& path) {
    const Input_File file(path);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(file.size()));
    if (!file.Read(0, bytes)) throw Error::Cannot_Open(path);
    return bytes;
}

File_Stamp Stamp_Of_Readable_File(const std::string& path) {
    if (!File(Open_For_Reading(path))) throw Error::Cannot_Open(path);
    std::error_code size_error, time_error;
    const std::filesystem::path native = Native_Path(path);
    const auto size = std::filesystem::file_size(native, size_error);
    const auto modified = std::filesystem::last_write_time(native, time_error);
    if (size_error || time_error) throw Error::Cannot_Open(path);
    return {size, modified.time_since_epoch().count()};
}

struct Replacing_File::State {
    std::string path;
    std::filesystem::path target;
    file_system::Target_State target_state;
    Flush_To_Disk flush;
    Temporary_File temporary;
    std::uint64_t end = 0;  // where the next appended bytes go
    bool finished = false;

    State(const std::string& user_path, const std::filesystem::path& followed, const file_system::Target_State& state,
          Flush_To_Disk Flush_File_To_Disk)
        : path(user_path), target(followed), target_state(state), flush(Flush_File_To_Disk), temporary(followed) {}
};

Replacing_File::Replacing_File(const std::string& path, Flush_To_Disk flush) {
    const auto [target, state] = Writable_Target(path);
    state_ = std::make_unique<State>(path, target, state, flush);
    if (!state_->temporary.Stream()) throw Error::Cannot_Create(path, Last_System_Error());
}

Replacing_File::~Replacing_File() = default;

void Replacing_File::Write(std::span<const std::uint8_t> bytes) {
    Write_At(state_->end, bytes);
}

void Replacing_File::Write_At(std::uint64_t offset, std::span<const std::uint8_t> bytes) {
    std::FILE* f = state_->temporary.Stream();
    if (offset != state_->end && !Seek(f, offset, SEEK_SET)) throw Error::Cannot_Write(state_->path, Last_System_Error());
    // A megabyte a call: the system takes a 13 MB write in twice the time of the same bytes in
    // megabytes. fwrite must not see the null data pointer of an empty chunk.
    constexpr std::size_t kPiece = std::size_t{1} << 20;
    for (std::size_t at = 0; at < bytes.size(); at += kPiece) {
        const std::size_t piece = std::min(kPiece, bytes.size() - at);
        if (std::fwrite(bytes.data() + at, 1, piece, f) != piece) throw Error::Cannot_Write(state_->path, Last_System_Error());
    }
    const std::uint64_t written_end = offset + bytes.size();
    if (offset != state_->end && written_end < state_->end && !Seek(f, state_->end, SEEK_SET))
        throw Error::Cannot_Write(state_->path, Last_System_Error());
    state_->end = std::max(state_->end, written_end);
}

void Replacing_File::Finish() {
    State& s = *state_;
    std::FILE* f = s.temporary.Stream();
    const bool written = s.flush == Flush_To_Disk::Yes ? file_system::Flush_File_To_Disk(f) : std::fflush(f) == 0;
    if (!written) throw Error::Cannot_Write(s.path, Last_System_Error());
    s.finished = true;
}

void Replacing_File::Commit() {
    if (!state_->finished) Finish();
    State& s = *state_;
    // A file with several names (hard links) is written in place, so that all of them keep
    // naming it, and so is one the folder lets this user write but not replace; anything else
    // is replaced whole, so that a failure leaves the old file.
    if (s.target_state.link_count > 1 || !s.target_state.may_replace) {
        if (!s.temporary.Copy_Into(s.target, s.flush)) throw Error::Cannot_Write(s.path, Last_System_Error());
    } else if (!s.temporary.Take_Place_Of(s.target)) {
        throw Error::Cannot_Create(s.path, Last_System_Error());
    }
}

void Write_File_Atomically(const std::string& path, const std::function<void(const Byte_Sink&)>& produce,
                           Flush_To_Disk flush) {
    Replacing_File file(path, flush);
    produce(file.Sink());
    file.Commit();
}

void Check_May_Save(const std::string& path) {
    // A temporary file made and dropped again: the folder's own answer, for every user and system.
    if (!Temporary_File(Writable_Target(path).path).Stream()) throw Error::Cannot_Create(path, Last_System_Error());
}

void Write_File_Atomically(const std::string& path, const std::vector<std::uint8_t>& bytes, Flush_To_Disk flush) {
    Write_File_Atomically(path, [&](const Byte_Sink& sink) { sink(bytes); }, flush);
}

void Write_File_New_Or_Replacing(const std::string& path, std::span<const std::uint8_t> bytes) {
    const std::filesystem::path target = Native_Path(path);
    int fd = -1;
    int create_error = 0;
    std::optional<Temporary_In_Flight> in_flight;
    {
        // Nothing stood here before, so nothing of a failed or interrupted write may stay; the
        // name is marked for the interrupt handler before a signal can end the tool.
        const file_system::Interrupts_Held held;
        fd = file_system::Create_New_Descriptor(target);
        create_error = errno;
        if (fd >= 0) in_flight.emplace(target);
    }
    errno = create_error;
    if (fd < 0 && errno == EEXIST) {
        Write_File_Atomically(path, [&](const Byte_Sink& sink) { sink(bytes); }, Flush_To_Disk::No);
        return;
    }
    if (fd < 0) throw Error::Cannot_Create(path, Last_System_Error());
    if (file_system::Write_All_And_Close(fd, bytes)) return;
    const std::error_code reason = Last_System_Error();
    std::error_code ignored;
    std::filesystem::remove(target, ignored);
    throw Error::Cannot_Write(path, reason);
}

}  // namespace tilvane

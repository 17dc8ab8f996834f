#include "file_io.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <system_error>

#include "image/image_error.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace tilvane {
namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Paths are UTF-8 text; Windows needs them as UTF-16 to reach every name.
std::filesystem::path native_path(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::FILE* open_for_reading(const std::string& path) {
#ifdef _WIN32
    // Others may read the file while we do, but not write it.
    return _wfsopen(native_path(path).c_str(), L"rb", _SH_DENYWR);
#else
    return std::fopen(path.c_str(), "rb");
#endif
}

File open_for_writing(const std::filesystem::path& path) {
#ifdef _WIN32
    return File(_wfsopen(path.c_str(), L"wb", _SH_DENYWR));
#else
    return File(std::fopen(path.c_str(), "wb"));
#endif
}

bool seek(std::FILE* f, std::uint64_t offset, int origin) {
#ifdef _WIN32
    return _fseeki64(f, static_cast<__int64>(offset), origin) == 0;
#else
    return fseeko(f, static_cast<off_t>(offset), origin) == 0;
#endif
}

std::int64_t tell(std::FILE* f) {
#ifdef _WIN32
    return _ftelli64(f);
#else
    return ftello(f);
#endif
}

// A file created for writing only if nothing of its name exists; -1 otherwise, with errno
// EEXIST when the name is taken.
int create_new_file(const std::filesystem::path& path) {
#ifdef _WIN32
    int fd = -1;
    const errno_t error =
        _wsopen_s(&fd, path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _SH_DENYWR, _S_IREAD | _S_IWRITE);
    return error == 0 ? fd : -1;
#else
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
#endif
}

// Writes all of bytes and closes fd; false when either fails.
bool write_and_close(int fd, std::span<const std::uint8_t> bytes) {
    bool written = true;
    while (written && !bytes.empty()) {
#ifdef _WIN32
        const int done = _write(fd, bytes.data(), static_cast<unsigned>(std::min<std::size_t>(bytes.size(), 1u << 30)));
#else
        const ssize_t done = ::write(fd, bytes.data(), bytes.size());
        if (done < 0 && errno == EINTR) continue;
#endif
        written = done > 0;
        if (written) bytes = bytes.subspan(static_cast<std::size_t>(done));
    }
#ifdef _WIN32
    return _close(fd) == 0 && written;
#else
    return ::close(fd) == 0 && written;
#endif
}

// A name beside the target that no other writer of this process or another is using.
std::filesystem::path temporary_name_beside(const std::filesystem::path& target) {
    static std::atomic<unsigned> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    std::filesystem::path name = target;
    name += ".tmp" + std::to_string(stamp % 1000000007) + "-" + std::to_string(counter++);
    return name;
}

}  // namespace

Input_File::Input_File(const std::string& path) : file_(open_for_reading(path)) {
    if (!file_ || !seek(file_.get(), 0, SEEK_END)) throw ImageError::cannot_open(path);
    const std::int64_t size = tell(file_.get());
    if (size < 0) throw ImageError::cannot_open(path);
    size_ = static_cast<std::uint64_t>(size);
}

bool Input_File::read(std::uint64_t offset, std::span<std::uint8_t> out) const {
    if (offset > size_ || out.size() > size_ - offset) return false;
    return out.empty() || (seek(file_.get(), offset, SEEK_SET) && std::fread(out.data(), 1, out.size(), file_.get()) == out.size());
}

std::vector<std::uint8_t> read_whole_file(const std::string& path) {
    const Input_File file(path);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(file.size()));
    if (!file.read(0, bytes)) throw ImageError::cannot_open(path);
    return bytes;
}

File_Stamp stamp_of_readable_file(const std::string& path) {
    if (!File(open_for_reading(path))) throw ImageError::cannot_open(path);
    std::error_code size_error, time_error;
    const std::filesystem::path native = native_path(path);
    const auto size = std::filesystem::file_size(native, size_error);
    const auto modified = std::filesystem::last_write_time(native, time_error);
    if (size_error || time_error) throw ImageError::cannot_open(path);
    return {size, modified.time_since_epoch().count()};
}

void write_file_atomically(const std::string& path, const std::function<void(const Byte_Sink&)>& produce) {
    const std::filesystem::path target = native_path(path);
    const std::filesystem::path temporary = temporary_name_beside(target);
    std::error_code ec;
    bool written = false;
    {
        File f = open_for_writing(temporary);
        if (f) {
            written = true;
            const Byte_Sink sink = [&](std::span<const std::uint8_t> chunk) {
                // fwrite must not see the null data pointer of an empty chunk.
                if (written && !chunk.empty()) written = std::fwrite(chunk.data(), 1, chunk.size(), f.get()) == chunk.size();
            };
            try {
                produce(sink);
            } catch (...) {
                f.reset();
                std::filesystem::remove(temporary, ec);
                throw;
            }
            written = written && std::fflush(f.get()) == 0;
            if (std::fclose(f.release()) != 0) written = false;
        }
    }
    if (written) std::filesystem::rename(temporary, target, ec);
    if (!written || ec) {
        std::filesystem::remove(temporary, ec);
        throw ImageError::cannot_create(path);
    }
}

void write_file_atomically(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    write_file_atomically(path, [&](const Byte_Sink& sink) { sink(bytes); });
}

void write_file_new_or_replacing(const std::string& path, std::span<const std::uint8_t> bytes) {
    const std::filesystem::path target = native_path(path);
    const int fd = create_new_file(target);
    if (fd < 0 && errno == EEXIST) {
        write_file_atomically(path, [&](const Byte_Sink& sink) { sink(bytes); });
        return;
    }
    if (fd >= 0 && write_and_close(fd, bytes)) return;
    // Nothing stood here before, so nothing of a failed write may stay.
    std::error_code ignored;
    if (fd >= 0) std::filesystem::remove(target, ignored);
    throw ImageError::cannot_create(path);
}

}  // namespace tilvane

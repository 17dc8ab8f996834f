#include "file_io.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "image/image_error.h"

#ifdef _WIN32
#include <share.h>
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

File open_for_reading(const std::string& path) {
#ifdef _WIN32
    // Others may read the file while we do, but not write it.
    return File(_wfsopen(native_path(path).c_str(), L"rb", _SH_DENYWR));
#else
    return File(std::fopen(path.c_str(), "rb"));
#endif
}

File open_for_writing(const std::filesystem::path& path) {
#ifdef _WIN32
    return File(_wfsopen(path.c_str(), L"wb", _SH_DENYWR));
#else
    return File(std::fopen(path.c_str(), "wb"));
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

bool write_all(std::FILE* f, const std::vector<std::uint8_t>& bytes) {
    // fwrite must not see the null data pointer of an empty vector.
    return (bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size()) && std::fflush(f) == 0;
}

}  // namespace

std::vector<std::uint8_t> read_whole_file(const std::string& path) {
    File f = open_for_reading(path);
    if (!f) throw ImageError::cannot_open(path);
    std::vector<std::uint8_t> bytes;
    std::uint8_t buffer[1 << 16];
    // Read by chunks rather than trusting a size query: the file may be a pipe or may change.
    if (std::fseek(f.get(), 0, SEEK_END) == 0) {
        const long size = std::ftell(f.get());
        if (size > 0) bytes.reserve(static_cast<std::size_t>(size));
        std::rewind(f.get());
    }
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f.get())) > 0;)
        bytes.insert(bytes.end(), buffer, buffer + n);
    if (std::ferror(f.get())) throw ImageError::cannot_open(path);
    return bytes;
}

File_Stamp stamp_of_readable_file(const std::string& path) {
    if (!open_for_reading(path)) throw ImageError::cannot_open(path);
    std::error_code size_error, time_error;
    const std::filesystem::path native = native_path(path);
    const auto size = std::filesystem::file_size(native, size_error);
    const auto modified = std::filesystem::last_write_time(native, time_error);
    if (size_error || time_error) throw ImageError::cannot_open(path);
    return {size, modified.time_since_epoch().count()};
}

void write_file_atomically(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    const std::filesystem::path target = native_path(path);
    const std::filesystem::path temporary = temporary_name_beside(target);
    bool written = false;
    {
        File f = open_for_writing(temporary);
        if (f) written = write_all(f.get(), bytes);
        if (f && std::fclose(f.release()) != 0) written = false;
    }
    std::error_code ec;
    if (written) std::filesystem::rename(temporary, target, ec);
    if (!written || ec) {
        std::filesystem::remove(temporary, ec);
        throw ImageError::cannot_create(path);
    }
}

}  // namespace tilvane

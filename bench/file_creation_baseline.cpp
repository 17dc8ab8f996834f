// The floor of a tile extraction: creating COUNT files of SIZE bytes in DIRECTORY, named as the
// extraction names its tiles (COLUMNS per row), each with one open, one write and one close of
// the system's own calls (built for Windows too, so that Wine's cost per file is measured apart).
// Usage: tilvane_file_creation_baseline DIRECTORY COUNT SIZE COLUMNS
#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

bool Create_File(const std::string& path, const std::vector<char>& bytes) {
#ifdef _WIN32
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool wrote = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                       written == bytes.size();
    return CloseHandle(file) && wrote;
#else
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    const bool wrote = ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    return ::close(fd) == 0 && wrote;
#endif
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "Usage: tilvane_file_creation_baseline DIRECTORY COUNT SIZE COLUMNS\n");
        return 2;
    }
    const std::string directory = argv[1];
    const int count = std::atoi(argv[2]), columns = std::atoi(argv[4]);
    const std::vector<char> bytes(static_cast<std::size_t>(std::atol(argv[3])), 'x');
    for (int i = 0; i < count; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "/%03d,%03d.bmp", i % columns + 1, i / columns + 1);
        if (!Create_File(directory + name, bytes)) {
            std::fprintf(stderr, "cannot create %s%s\n", directory.c_str(), name);
            return 1;
        }
    }
    return 0;
}

// The floor of a tile extraction: creating COUNT files of SIZE bytes in DIRECTORY, named as the
// extraction names its tiles (COLUMNS per row), each with one open, one write and one close.
// Usage: tilvane_file_creation_baseline DIRECTORY COUNT SIZE COLUMNS
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

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
        const int fd = ::open((directory + name).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()) || ::close(fd) != 0) {
            std::perror(name);
            return 1;
        }
    }
    return 0;
}

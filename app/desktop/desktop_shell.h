#pragma once
// Opening a file with the program the desktop associates with it, and starting a program by its
// command line.
#include <string>

namespace tilvane::desktop {

class Desktop_Shell {
public:
    virtual ~Desktop_Shell() = default;
    // Returns as soon as the shell has started; a failure to open shows nothing.
    virtual void Shell_Open_File(const std::string& path) = 0;
    // The Windows directory, without a trailing backslash.
    virtual std::string Windows_Directory() = 0;
    // Starts the command line in a normal window and returns without waiting for it; the
    // platform's program search finds a program named without a directory.
    virtual void Start_Program(const std::string& command_line) = 0;
};

// The real thing: the shell's "open" verb.
class Windows_Shell final : public Desktop_Shell {
public:
    void Shell_Open_File(const std::string& path) override;
    std::string Windows_Directory() override;
    void Start_Program(const std::string& command_line) override;
};

}  // namespace tilvane::desktop

#pragma once
// Opening a file with the program the desktop associates with it.
#include <string>

namespace tilvane::desktop {

class Desktop_Shell {
public:
    virtual ~Desktop_Shell() = default;
    // Returns as soon as the shell has started; a failure to open shows nothing.
    virtual void Shell_Open_File(const std::string& path) = 0;
};

// The real thing: the shell's "open" verb.
class Windows_Shell final : public Desktop_Shell {
public:
    void Shell_Open_File(const std::string& path) override;
};

}  // namespace tilvane::desktop

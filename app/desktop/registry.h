#pragma once
// The registry calls that start-up registration and the shortcuts make. Each call opens and
// closes its own key, always asking for full access, so a key that exists but refuses full access
// behaves as a missing one. Key paths are given as the program shows them: a leading backslash
// ("from the root") is allowed. Texts are UTF-8.
#include <optional>
#include <string>

#include "win/windows_error.h"

namespace tilvane::desktop {

enum class Registry_Root { Local_Machine, Current_User };

// A failure of the registry itself: a write refused, a value that is not text or cannot be read.
class Registry_Error : public win::Windows_Error {
public:
    Registry_Error(win::Windows_Failure failure, const std::string& key_path, const std::string& name, long code = 0)
        : Windows_Error(failure, key_path, static_cast<unsigned long>(code), name) {}
};

class Registry {
public:
    virtual ~Registry() = default;
    // Whether the key opens with full access.
    [[nodiscard]] virtual bool Key_Opens(Registry_Root root, const std::string& key_path) = 0;
    // Writes a string value into an existing key; throws Registry_Error when refused.
    virtual void Write_String(Registry_Root root, const std::string& key_path, const std::string& name,
                              const std::string& text) = 0;
    // The value's text; nothing when the key or the value is missing. Throws Registry_Error for a
    // value that is not a string.
    [[nodiscard]] virtual std::optional<std::string> Read_String(Registry_Root root, const std::string& key_path,
                                                                 const std::string& name) = 0;
    // Deletes the value if it is there; whether that worked is for the caller to test.
    virtual void Delete_Value(Registry_Root root, const std::string& key_path, const std::string& name) = 0;
};

// The real thing: the Windows registry.
class Windows_Registry final : public Registry {
public:
    bool Key_Opens(Registry_Root root, const std::string& key_path) override;
    void Write_String(Registry_Root root, const std::string& key_path, const std::string& name,
                      const std::string& text) override;
    std::optional<std::string> Read_String(Registry_Root root, const std::string& key_path,
                                           const std::string& name) override;
    void Delete_Value(Registry_Root root, const std::string& key_path, const std::string& name) override;
};

}  // namespace tilvane::desktop

#pragma once
// The file-system questions that the handlers ask, on UTF-8 paths.
#include <string>

namespace tilvane::desktop {

[[nodiscard]] bool File_Exists(const std::string& path);
[[nodiscard]] bool Directory_Exists(const std::string& path);

// The path for the wide file calls: a full path of MAX_PATH characters or more gets the prefix
// that lifts that limit.
[[nodiscard]] std::wstring Long_Path(const std::string& path);

// The directory of the running executable, with its trailing backslash.
[[nodiscard]] std::string Program_Directory();
// The full path of the running executable, as the platform spells it.
[[nodiscard]] std::string Program_Path();

// The user's locale sort key with letter case ignored: keys compared byte by byte order texts as
// the locale comparison with the same flags does. Empty text gives an empty key, which sorts
// first.
[[nodiscard]] std::string Locale_Sort_Key(const std::string& text);

}  // namespace tilvane::desktop

#pragma once
#include <string>

namespace tilvane::shell {

// The application-wide error report's text: a full stop is added unless the text already ends in
// a character whose code is at most that of "." (such as ".", "!" or ")"). Empty text stays empty.
[[nodiscard]] std::string With_Full_Stop(std::string text);

}  // namespace tilvane::shell

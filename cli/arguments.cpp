#include "arguments.h"

#include <charconv>
#include <cstdio>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include "commands.h"
#include "mosaic/mosaic_build.h"

namespace tilvane::cli {

int Parse_Number(const std::string& text, const std::string& option, int minimum) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || value < minimum || value > Mosaic_Settings::kLargest)
        throw UsageError(option + " takes whole numbers from " + std::to_string(minimum) + " to " +
                         std::to_string(Mosaic_Settings::kLargest) + ", not " + text);
    return value;
}

std::pair<int, int> Parse_Pair(const std::string& text, const std::string& option, int minimum) {
    const std::size_t x = text.find_first_of("xX");
    if (x == std::string::npos) throw UsageError(option + " takes WIDTHxHEIGHT, not " + text);
    return {Parse_Number(text.substr(0, x), option, minimum), Parse_Number(text.substr(x + 1), option, minimum)};
}

bool Stderr_Is_Terminal() {
#ifdef _WIN32
    return _isatty(_fileno(stderr)) != 0;
#else
    return isatty(fileno(stderr)) != 0;
#endif
}

}  // namespace tilvane::cli

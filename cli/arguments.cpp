#include "arguments.h"

#include <charconv>
#include <cstdio>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include "commands.h"

namespace tilvane::cli {
namespace {

bool Is_Option(const std::string& arg) { return arg.rfind("--", 0) == 0; }

}  // namespace

std::vector<std::string> Argument_Walk::Positional(const std::function<bool(const std::string& option)>& on_option) {
    std::vector<std::string> positional;
    for (at_ = 0; at_ < args_.size(); ++at_) {
        const std::string& arg = args_[at_];
        if (!Is_Option(arg))
            positional.push_back(arg);
        else if (!on_option(arg))
            throw UsageError("Unknown option: " + arg);
    }
    return positional;
}

const std::string& Argument_Walk::Value() {
    if (at_ + 1 >= args_.size()) throw UsageError(args_[at_] + " needs a value");
    return args_[++at_];
}

bool Argument_Walk::Next_Is_Value() const { return at_ + 1 < args_.size() && !Is_Option(args_[at_ + 1]); }

int Parse_Number(const std::string& text, const std::string& option, int minimum, int maximum) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || value < minimum || value > maximum)
        throw UsageError(option + " takes whole numbers from " + std::to_string(minimum) + " to " +
                         std::to_string(maximum) + ", not " + text);
    return value;
}

std::pair<int, int> Parse_Pair(const std::string& text, const std::string& option, int minimum) {
    const std::size_t x = text.find_first_of("xX");
    if (x == std::string::npos) throw UsageError(option + " takes WIDTHxHEIGHT, not " + text);
    return {Parse_Number(text.substr(0, x), option, minimum), Parse_Number(text.substr(x + 1), option, minimum)};
}

int Parse_Quality(const std::string& text) {
    int quality = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), quality);
    if (error != std::errc{} || end != text.data() + text.size() || quality < 1 || quality > 100)
        throw UsageError("--quality takes a whole number from 1 to 100, not " + text);
    return quality;
}

bool Stderr_Is_Terminal() {
#ifdef _WIN32
    return _isatty(_fileno(stderr)) != 0;
#else
    return isatty(fileno(stderr)) != 0;
#endif
}

}  // namespace tilvane::cli

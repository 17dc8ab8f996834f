#include "arguments.h"

#include <algorithm>
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

constexpr std::string_view kEnd_Of_Options = "--";

// "-" alone is a name (standard input to many tools); anything else that starts with "-" is an
// option, so a mistyped one is never taken for a file name.
bool Is_Option(const std::string& arg) { return arg.size() > 1 && arg[0] == '-'; }

}  // namespace

std::vector<std::string> Parse_Arguments(const std::vector<std::string>& args, const std::vector<Option>& options) {
    std::vector<std::string> positional;
    for (std::size_t at = 0; at < args.size(); ++at) {
        const std::string& arg = args[at];
        if (arg == kEnd_Of_Options) {
            positional.insert(positional.end(), args.begin() + static_cast<std::ptrdiff_t>(at) + 1, args.end());
            break;
        }
        if (!Is_Option(arg)) {
            positional.push_back(arg);
            continue;
        }
        const std::size_t equals = arg.find('=');
        const std::string name = arg.substr(0, equals);
        const auto option = std::find_if(options.begin(), options.end(), [&](const Option& o) { return o.name == name; });
        if (option == options.end()) throw Usage_Error("Unknown option: " + name);
        if (option->takes == Option::Nothing) {
            if (equals != std::string::npos) throw Usage_Error(name + " takes no value");
            option->take({});
            continue;
        }
        if (equals != std::string::npos) {
            option->take(arg.substr(equals + 1));
        } else {
            if (at + 1 >= args.size()) throw Usage_Error(name + " needs a value");
            option->take(args[++at]);
        }
        while (option->takes == Option::Values && at + 1 < args.size() && !Is_Option(args[at + 1]) &&
               args[at + 1] != kEnd_Of_Options)
            option->take(args[++at]);
    }
    return positional;
}

bool Asks_For_Help(const std::vector<std::string>& args) {
    for (const std::string& arg : args) {
        if (arg == kEnd_Of_Options) return false;
        if (arg == "--help" || arg == "-h") return true;
    }
    return false;
}

int Parse_Number(const std::string& text, const std::string& option, Value_Range range) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || !range.Holds(value))
        throw Usage_Error(option + " takes whole numbers from " + std::to_string(range.minimum) + " to " +
                         std::to_string(range.maximum) + ", not \"" + text + "\"");
    return value;
}

std::pair<int, int> Parse_Pair(const std::string& text, const std::string& option, Value_Range range) {
    const std::size_t x = text.find_first_of("xX");
    try {
        if (x != std::string::npos)
            return {Parse_Number(text.substr(0, x), option, range), Parse_Number(text.substr(x + 1), option, range)};
    } catch (const Usage_Error&) {
    }
    throw Usage_Error(option + " takes WIDTHxHEIGHT, whole numbers from " + std::to_string(range.minimum) + " to " +
                     std::to_string(range.maximum) + ", not \"" + text + "\"");
}

int Parse_Quality(const std::string& text) { return Parse_Number(text, "--quality", {1, 100}); }

bool Stderr_Is_Terminal() {
#ifdef _WIN32
    return _isatty(_fileno(stderr)) != 0;
#else
    return isatty(fileno(stderr)) != 0;
#endif
}

}  // namespace tilvane::cli

#pragma once
// Reading a command's arguments: one table of options per command, one walk for all commands.
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "grid/tile_grid.h"

namespace tilvane::cli {

// One option of a command. A switch (no value) is called with empty text; an option with a value
// takes it as "--name VALUE" or "--name=VALUE"; a repeated one (--tiles) also takes every
// following argument up to the next option.
struct Option {
    std::string_view name;  // "--size"
    enum Takes { Nothing, One_Value, Values } takes = Nothing;
    std::function<void(const std::string& value)> take;
};

// The positional arguments, in order, after every option has been handed to its table entry.
// "--" ends the options: what follows is positional even if it starts with "-". Throws Usage_Error
// for an option the table does not hold, a missing value, or a value given to a switch.
std::vector<std::string> Parse_Arguments(const std::vector<std::string>& args, const std::vector<Option>& options);

// Whether args ask for the command's help ("--help" or "-h" before any "--").
bool Asks_For_Help(const std::vector<std::string>& args);

// A whole number in range (for sizes and gaps the range of the program's matching field). Throws
// Usage_Error naming option otherwise.
int Parse_Number(const std::string& text, const std::string& option, Value_Range range);

// "WxH" as two such numbers; the message of a refusal quotes the whole text.
std::pair<int, int> Parse_Pair(const std::string& text, const std::string& option, Value_Range range);

// --quality: a JPEG quality from 1 to 100. Throws Usage_Error otherwise.
int Parse_Quality(const std::string& text);

// Whether progress shown on stderr reaches a person.
bool Stderr_Is_Terminal();

}  // namespace tilvane::cli

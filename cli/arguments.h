#pragma once
// Reading the options that more than one command takes.
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "mosaic/mosaic_build.h"

namespace tilvane::cli {

// Walks a command's arguments in order. Every "--" argument goes to the command's option handler,
// which takes its values from the walk and answers false for an option it does not know (a usage
// error); the other arguments are the positional ones.
class Argument_Walk {
public:
    explicit Argument_Walk(const std::vector<std::string>& args) : args_(args) {}
    std::vector<std::string> Positional(const std::function<bool(const std::string& option)>& on_option);
    // The current option's value: the next argument; a usage error when there is none.
    const std::string& Value();
    // Whether a next argument is there and is not an option, for options that take several values.
    [[nodiscard]] bool Next_Is_Value() const;

private:
    const std::vector<std::string>& args_;
    std::size_t at_ = 0;
};

// A whole number from minimum to maximum (by default Mosaic_Settings::kLargest, the range of the program's size
// and gap fields). Throws UsageError naming option otherwise.
int Parse_Number(const std::string& text, const std::string& option, int minimum = 0, int maximum = Mosaic_Settings::kLargest);

// "WxH" as two such numbers.
std::pair<int, int> Parse_Pair(const std::string& text, const std::string& option, int minimum = 0);

// --quality: a JPEG quality from 1 to 100. Throws UsageError otherwise.
int Parse_Quality(const std::string& text);

// Whether progress shown on stderr reaches a person.
bool Stderr_Is_Terminal();

}  // namespace tilvane::cli

#pragma once
// Reading the options that more than one command takes.
#include <string>
#include <utility>

namespace tilvane::cli {

// A whole number from minimum to Mosaic_Settings::kLargest, the range of the program's size and gap fields. Throws
// UsageError naming option otherwise.
int Parse_Number(const std::string& text, const std::string& option, int minimum = 0);

// "WxH" as two such numbers.
std::pair<int, int> Parse_Pair(const std::string& text, const std::string& option, int minimum = 0);

// Whether progress shown on stderr reaches a person.
bool Stderr_Is_Terminal();

}  // namespace tilvane::cli

#pragma once
// The words that name the values of an option the command line takes as a word (--choose best,
// --colour transfer), looked up in a table of names whose order is the option's own.
#include <optional>
#include <string>
#include <string_view>

namespace tilvane {

// The place in names of the entry whose word is word; nothing when no entry has it.
template <class Names>
std::optional<int> Index_Of_Word(const Names& names, std::string_view word) {
    for (std::size_t i = 0; i < names.size(); ++i)
        if (word == names[i].word) return static_cast<int>(i);
    return std::nullopt;
}

// "a, b or c": every word of names, for a refusal's words.
template <class Names>
std::string Words_Text(const Names& names) {
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i)
        text += (i == 0 ? "" : i + 1 == names.size() ? " or " : ", ") + std::string(names[i].word);
    return text;
}

}  // namespace tilvane

#include "shell/picture_format_text.h"

#include <functional>
#include <vector>

namespace tilvane::shell {
namespace {

// "a, b and c" (or "a, b or c", with last_joint " or ").
std::string Listed(const std::vector<std::string>& items, const char* last_joint) {
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i) {
        text += i == 0 ? "" : i + 1 == items.size() ? last_joint : ", ";
        text += items[i];
    }
    return text;
}

std::vector<std::string> Extensions(const Picture_Format& format, const std::function<std::string(std::string)>& shown) {
    std::vector<std::string> extensions;
    for (const char* extension : format.extensions)
        if (extension) extensions.push_back(shown(extension));
    return extensions;
}

std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

std::string Pattern(std::string extension) {
    std::string pattern = "*";
    return pattern += Lower(std::move(extension));
}

// Joined by separator.
std::string Joined(const std::vector<std::string>& items, const char* separator) {
    std::string text;
    for (const std::string& item : items) {
        if (!text.empty()) text += separator;
        text += item;
    }
    return text;
}

std::string Patterns(const Picture_Format& format) { return Joined(Extensions(format, Pattern), ";"); }

std::string Filter_Of(const std::string& caption, const std::string& patterns) {
    return caption + " (" + patterns + ")|" + patterns;
}

std::string Outputs_Text(bool Picture_Format::*takes) {
    std::vector<std::string> names, extensions;
    for (const Picture_Format& format : Picture_Format_Table()) {
        if (!(format.*takes)) continue;
        names.push_back(format.name);
        for (const std::string& extension : Extensions(format, Lower)) extensions.push_back(extension);
    }
    return Listed(names, " or ") + " output (" + Listed(extensions, " or ") + ")";
}

}  // namespace

std::string Named_Formats(Picture_Formats formats, const char* last_joint) {
    std::vector<std::string> named;
    for (const Picture_Format& format : Formats_Taken(formats))
        named.push_back(std::string(format.noun) + " (" + Joined(Extensions(format, std::identity{}), ", ") + ")");
    return Listed(named, last_joint);
}

std::string Only_Picture_Files_Message(Picture_Formats formats) {
    return "Error: Only " + Named_Formats(formats, " and ") + " files are supported by this program.";
}

std::string Picker_Filter_Text(Picture_Formats formats) {
    const std::span<const Picture_Format> taken = Formats_Taken(formats);
    std::string filter = Filter_Of(std::string(taken.front().noun) + " files", Patterns(taken.front()));
    if (taken.size() == 1) return filter;
    std::vector<std::string> all;
    for (const Picture_Format& format : taken) all.push_back(Patterns(format));
    filter += '|';
    filter += Filter_Of("All pictures", Joined(all, ";"));
    for (const Picture_Format& format : taken.subspan(1)) {
        filter += '|';
        filter += Filter_Of(std::string(format.noun) + " files", Patterns(format));
    }
    return filter;
}

std::string Photo_Format_Names() {
    std::vector<std::string> names;
    for (const Picture_Format& format : Picture_Format_Table().subspan(1)) names.push_back(format.noun);
    return Listed(names, ", ");
}

std::string Quality_Outputs_Text() { return Outputs_Text(&Picture_Format::takes_quality); }
std::string Lossless_Outputs_Text() { return Outputs_Text(&Picture_Format::takes_lossless); }

}  // namespace tilvane::shell

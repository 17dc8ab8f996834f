#include "tiles/file_names.h"

#include <algorithm>
#include <initializer_list>
#include <iterator>

namespace tilvane::tiles {
namespace {

// Blanks and the ASCII control characters; bytes of UTF-8 sequences are never trimmed.
bool Is_Blank_Or_Control(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte <= 0x20 || byte == 0x7F;
}


bool Is_One_Of(std::string_view text, std::initializer_list<std::string_view> choices) {
    return std::find(choices.begin(), choices.end(), text) != choices.end();
}

}  // namespace

std::string File_Name_Without_Extension(std::string_view path) {
    std::string name(File_Name_Part(path));
    const std::string extension(Extension_Part(name));
    if (extension.empty()) return name;
    for (std::size_t at = name.find(extension); at != std::string::npos; at = name.find(extension, at))
        name.erase(at, extension.size());
    return name;
}

bool Has_Bitmap_Extension(std::string_view path) {
    return Ascii_Upper(Extension_Part(path)) == ".BMP";
}

std::string Normalise_Directory_Name(std::string_view text) {
    if (Is_One_Of(text, {"", "\\", ".", "..", ".\\", "..\\"})) return {};
    const auto first = std::find_if_not(text.begin(), text.end(), Is_Blank_Or_Control);
    const auto last = std::find_if_not(text.rbegin(), std::make_reverse_iterator(first), Is_Blank_Or_Control).base();
    std::string result(first, last);
    result += '\\';
    // Collapsing pairs until none is left is the same as keeping one of each run.
    result.erase(std::unique(result.begin(), result.end(), [](char a, char b) { return a == '\\' && b == '\\'; }),
                 result.end());
    return result;
}

std::string Usable_Last_Directory(const std::string& field, const std::string& program_directory,
                                  const Path_Exists& directory_exists) {
    if (Is_One_Of(field, {"", "\\", ".", ".."}) || !directory_exists(field)) return program_directory;
    return field;
}

Bitmap_Name_Result Check_Bitmap_Name(std::string_view field_text, std::string_view program_directory,
                                     const Path_Exists& file_exists, Bitmap_Name_Checks checks, Picture_Formats formats) {
    Bitmap_Name_Result result{std::string(field_text), false, Bitmap_Name_Outcome::Ok};
    if (field_text.empty()) {
        result.outcome = Bitmap_Name_Outcome::Blank;
        return result;
    }
    if (Directory_Part(result.name).empty()) {
        result.name.insert(0, program_directory);
        result.name_changed = true;
    }
    const bool existing = checks == Bitmap_Name_Checks::Existing_File;
    const bool by_extension = formats == Picture_Formats::By_Extension;
    if ((existing || by_extension) && Extension_Part(result.name).empty()) {
        result.name += ".BMP";
        result.name_changed = true;
    }
    if (by_extension ? !Format_For_Path(result.name) : !Has_Bitmap_Extension(result.name))
        result.outcome = Bitmap_Name_Outcome::Not_Bitmap;
    else if (existing && !file_exists(result.name))
        result.outcome = Bitmap_Name_Outcome::Not_Found;
    return result;
}

}  // namespace tilvane::tiles

#pragma once
// The rules for image file names and directory names, on plain path text (UTF-8 bytes) with the
// backslash as separator. Pure functions: the file system is asked through predicates, so the
// program passes the real Windows checks and tests pass their own.
#include <functional>
#include <string>
#include <string_view>

#include "codecs/picture_file.h"
#include "support/path_text.h"

namespace tilvane::tiles {

// Answers whether a path names an existing file (or directory, as the caller's use says).
using Path_Exists = std::function<bool(const std::string& path)>;

// The file name with every occurrence of its extension text removed (exact, case-sensitive):
// "C:\Tools\Tilvane.EXE" gives "Tilvane". A name without a "." stays whole.
[[nodiscard]] std::string File_Name_Without_Extension(std::string_view path);

// Whether the extension, with its letters a to z in capitals, is exactly ".BMP".
[[nodiscard]] bool Has_Bitmap_Extension(std::string_view path);

// Empty for "", "\", ".", "..", ".\" and "..\" exactly as given. Anything else is trimmed of
// blanks and control characters at both ends, given a trailing backslash, and every run of
// backslashes is made one; that result always ends with a backslash.
[[nodiscard]] std::string Normalise_Directory_Name(std::string_view text);

// The last-directory rule: the text a remembered-directory field should hold so that a picker
// can start in it. An empty field, "\", ".", "..", or a name that is not an existing directory
// gives program_directory; anything else is kept as it is.
[[nodiscard]] std::string Usable_Last_Directory(const std::string& field, const std::string& program_directory,
                                                const Path_Exists& directory_exists);

enum class Bitmap_Name_Checks {
    Existing_File,  // an image to read: complete the name and require the file
    New_File,       // an image to write: no ".BMP" completion, the file need not exist
};

enum class Bitmap_Name_Outcome {
    Ok,
    Blank,       // the field's blank message
    Not_Bitmap,  // shell::Only_Picture_Files_Message(formats)
    Not_Found,   // the field's not-found message
};

struct Bitmap_Name_Result {
    // What the field holds after the checks: the completions are written back even when a later
    // check fails.
    std::string name;
    bool name_changed = false;
    Bitmap_Name_Outcome outcome = Bitmap_Name_Outcome::Ok;
};

// The bitmap-name checks on a name field's text. A name without a directory part is taken to be
// in program_directory (which ends with a backslash); for Existing_File, a name without an
// extension gets ".BMP" and the file must exist. With By_Extension a JPEG or PNG name passes
// too, and a new file's name without an extension also gets ".BMP".
[[nodiscard]] Bitmap_Name_Result Check_Bitmap_Name(std::string_view field_text, std::string_view program_directory,
                                                   const Path_Exists& file_exists, Bitmap_Name_Checks checks,
                                                   Picture_Formats formats = Picture_Formats::Bmp_Only);

}  // namespace tilvane::tiles

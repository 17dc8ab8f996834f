#pragma once
// The words of the application-wide error report, shared by the program and the command-line tool.
#include <exception>
#include <string>

#include "support/error.h"

namespace tilvane::shell {

// The text the user reads for an error that reached the program's or the tool's error report:
// for a core error "Cannot open file %s", "Bitmap image is not valid", "Cannot create file %s",
// "Cannot write file %s" (one that failed part way),
// "Invalid pixel format", "JPEG image is not valid", "The picture %s is too large: ..." or
// "Unknown picture file extension (.%s)", "Line %d of %s names a tile that is not in the list"
// and the other refused lines of a placements file, or the input checks' words for settings that a run
// refuses; for any other error its own text.
[[nodiscard]] std::string Error_Text(const std::exception& error);

// The same words with what a command-line user needs to find the fault: the name of the file a
// refused bitmap came from ("Bitmap image is not valid: tiles/broken.bmp") and the system's reason
// a file could not be opened, created or written ("Cannot write file out.bmp: No space left on device").
[[nodiscard]] std::string Error_Text_With_Details(const std::exception& error);

// The application-wide error report's text: a full stop is added unless the text already ends in
// a character whose code is at most that of "." (such as ".", "!" or ")"). Empty text stays empty.
[[nodiscard]] std::string With_Full_Stop(std::string text);

}  // namespace tilvane::shell

#pragma once
// Files a command refuses from its command line alone, before it reads any picture.
#include <string>
#include <vector>

namespace tilvane::cli {

// An OUTPUT of no format the tool writes, or --quality for one that is not JPEG: Usage_Error,
// in the same words for every command.
void Check_Output_Format(const std::string& output, bool quality_given, bool lossless_given);

// A folder given where a picture to read belongs: Error::Cannot_Open with the system's "is a
// directory", rather than a search for a picture of that name.
void Refuse_Folder_As_Picture(const std::string& path);

// A placements file that is the original, the output or one of the tiles (by the file's
// identity, however it is spelt or linked), which writing it would destroy: Usage_Error.
void Refuse_Placements_Over_Inputs(const std::string& placements, const std::string& original, const std::string& output,
                                   const std::vector<std::string>& tiles);

}  // namespace tilvane::cli

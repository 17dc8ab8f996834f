#pragma once
#include <exception>
#include <functional>
#include <string>
#include <vector>

namespace tilvane::cli {

// A picture the command line names: given itself (an argument or a line of a list file), or
// found in a folder, where one that cannot be read is passed over rather than an error.
struct Picture_Source {
    std::string path;
    bool from_folder = false;
};

// The pictures that the command line's --tiles (or tiles SOURCE) arguments name, in order: a
// picture file as it is, a folder as its BMP, JPEG and PNG files and those of its subfolders
// (tiles::Walk_Folder), a tile list file (*.lst) as its lines that are not blank, relative ones taken from the
// list's folder. Throws Error::Cannot_Open for a
// path that is none of these or cannot be read. A subfolder that cannot be listed is named on
// stderr and passed over.
std::vector<Picture_Source> Expand_Picture_Sources(const std::vector<std::string>& sources);

// Runs work(i) for every source i on all processors, showing "LABEL n of N" on a terminal
// unless quiet. A source from a folder whose work fails is named on stderr with its error and
// passed over, with a count at the end; the first source given itself that fails makes this
// throw its error. Returns the indexes of the sources that worked, in order.
std::vector<std::size_t> Work_Through_Pictures(const std::vector<Picture_Source>& sources, const std::string& label,
                                               bool quiet, const std::function<void(std::size_t index)>& work);

// A picture found in a folder that could not be read, named on stderr with its error as passed
// over; and, after the last, how many there were (nothing when none).
void Tell_Passed_Over(const std::string& path, const std::exception& error);
void Tell_Passed_Over_Count(int count);

}  // namespace tilvane::cli

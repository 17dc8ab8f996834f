#pragma once
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "library/library_tiles.h"

namespace tilvane::cli {

// A picture the command line names: given itself (an argument or a line of a list file), or
// found in a folder, where one that cannot be read is passed over rather than an error.
struct Picture_Source {
    std::string path;
    bool from_folder = false;
};

struct Picture_Sources {
    std::vector<Picture_Source> pictures;
    // The tile libraries named, which hold their photos' pictures (none named: null).
    std::shared_ptr<library::Library_Tiles> libraries;
    // Passed over in the folders and named on stderr as they were met: links that lead nowhere,
    // and subfolders that could not be listed.
    int broken_links = 0;
    int unreadable_folders = 0;
};

// The pictures that the command line's --tiles (or tiles SOURCE) arguments name, in order: a
// picture file as it is, a folder as its BMP, JPEG and PNG files and those of its subfolders
// (tiles::Walk_Folder), a tile list file (*.lst) as its lines that are not blank, relative ones taken from the
// list's folder, a tile library (*.db) as its photos (library::Library_Tiles). Throws Error::Cannot_Open for a
// path that is none of these or cannot be read. A subfolder that cannot be listed and a link to
// no file are named on stderr and passed over.
Picture_Sources Expand_Picture_Sources(const std::vector<std::string>& sources);

// Runs work(i) for every picture i on all processors, showing "LABEL n of N" on a terminal
// unless quiet. A picture from a folder whose work fails is named on stderr with its error and
// passed over, with a count (and one of the unreadable folders) at the end; the first picture
// given itself that fails makes this throw its error. A file that cannot be written
// (Error::Cannot_Create, Cannot_Write) is no picture's fault: no picture is started after it, and it is
// thrown once those under way have finished. Returns the indexes of the pictures that worked,
// in order.
std::vector<std::size_t> Work_Through_Pictures(const Picture_Sources& sources, const std::string& label, bool quiet,
                                               const std::function<void(std::size_t index)>& work);

// A picture found in a folder that could not be read, named on stderr with its error as passed
// over; and, after the last, how many pictures and folders there were (nothing when none).
void Tell_Passed_Over(const std::string& path, const std::exception& error);
void Tell_Passed_Over_Count(int pictures, int folders);

}  // namespace tilvane::cli

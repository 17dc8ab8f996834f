// tilvane-cli library: the tile library, a file that keeps every photo added ready for mosaics.
#include <cstdio>
#include <filesystem>
#include <set>
#include <stdexcept>
#include <unordered_map>

#include "arguments.h"
#include "commands.h"
#include "library/library_file.h"
#include "library/library_writer.h"
#include "support/error.h"
#include "support/native_path.h"
#include "tile_sources.h"

namespace tilvane::cli {
namespace {

using library::Library_Entry;
using library::Library_File;

// Reads every picture of the sources that the library does not hold as it is now, on all
// processors, and writes them in batches from one thread. A photo already held whose file has
// changed is read again; the same photo named twice is read once.
int Add(const std::string& path, const std::vector<std::string>& source_names, bool quiet) {
    const Picture_Sources sources = Expand_Picture_Sources(source_names);
    if (sources.pictures.empty()) throw std::runtime_error("library add found no pictures in the SOURCE given");
    Library_File file(path, Library_File::Access::Update);
    std::unordered_map<std::string, File_Stamp> held;
    for (Library_Entry& entry : file.Entries()) held.emplace(std::move(entry.path), entry.stamp);

    Picture_Sources reading;
    reading.broken_links = sources.broken_links;
    reading.unreadable_folders = sources.unreadable_folders;
    std::vector<std::string> kept_paths;
    std::set<std::string> seen;
    int unchanged = 0, changed = 0;
    for (const Picture_Source& source : sources.pictures) {
        std::string kept = library::Library_Path(source.path);
        if (!seen.insert(kept).second) continue;
        if (const auto found = held.find(kept); found != held.end()) {
            try {
                if (Stamp_Of_Readable_File(source.path) == found->second) {
                    ++unchanged;
                    continue;
                }
            } catch (const Error&) {  // read below, which tells why it cannot be
            }
            ++changed;
        }
        reading.pictures.push_back(source);
        kept_paths.push_back(std::move(kept));
    }
    library::Library_Writer writer(file);
    const std::vector<std::size_t> added = Work_Through_Pictures(reading, "Photo", quiet, [&](std::size_t i) {
        library::Read_Photo photo = library::Read_For_Library(reading.pictures[i].path);
        photo.path = kept_paths[i];
        writer.Put(std::move(photo));
    });
    writer.Finish();
    std::printf("%zu photos read (%d of them changed), %d unchanged\n", added.size(), changed, unchanged);
    return 0;
}

int List(const Library_File& file) {
    for (const Library_Entry& entry : file.Entries())
        std::printf("%dx%d %s\n", entry.summary.width, entry.summary.height, entry.path.c_str());
    return 0;
}

// Names each photo whose file has changed or gone since it was added, and any damage; 1 when
// there is either.
int Check(const Library_File& file) {
    int problems = 0;
    const std::vector<Library_Entry> entries = file.Entries();
    for (const Library_Entry& entry : entries) {
        std::error_code ec;
        if (!std::filesystem::exists(Native_Path(entry.path), ec)) {
            std::printf("gone: %s\n", entry.path.c_str());
        } else {
            try {
                if (Stamp_Of_Readable_File(entry.path) == entry.stamp) continue;
                std::printf("changed: %s\n", entry.path.c_str());
            } catch (const Error&) {
                std::printf("unreadable: %s\n", entry.path.c_str());
            }
        }
        ++problems;
    }
    for (const std::string& problem : file.Integrity_Problems()) {
        std::printf("damaged: %s\n", problem.c_str());
        ++problems;
    }
    std::printf("%zu photos, %d to see to\n", entries.size(), problems);
    return problems ? 1 : 0;
}

// Drops the photos that the paths name, a folder naming every photo under it; a path that names
// none refuses the whole removal.
int Remove(Library_File& file, const std::vector<std::string>& paths) {
    const std::vector<Library_Entry> entries = file.Entries();
    std::vector<std::string> removed;
    for (const std::string& path : paths) {
        const std::string kept = library::Library_Path(path);
        const std::string under = Utf8_Path(Native_Path(kept) / "");
        const std::size_t before = removed.size();
        for (const Library_Entry& entry : entries)
            if (entry.path == kept || entry.path.starts_with(under)) removed.push_back(entry.path);
        if (removed.size() == before) throw std::runtime_error(path + " is not in the tile library " + file.Path());
    }
    file.Change({}, removed);
    std::printf("%zu photos removed\n", std::set<std::string>(removed.begin(), removed.end()).size());
    return 0;
}

// Drops the photos whose files are gone (not those that cannot be read just now).
int Prune(Library_File& file) {
    std::vector<std::string> gone;
    for (const Library_Entry& entry : file.Entries()) {
        std::error_code ec;
        if (!std::filesystem::exists(Native_Path(entry.path), ec) && !ec) gone.push_back(entry.path);
    }
    file.Change({}, gone);
    std::printf("%zu photos removed\n", gone.size());
    return 0;
}

}  // namespace

int Run_Library(const std::vector<std::string>& args) {
    bool quiet = false;
    std::vector<std::string> positional =
        Parse_Arguments(args, {{"--quiet", Option::Nothing, [&](const std::string&) { quiet = true; }}});
    if (positional.size() < 2) throw Usage_Error("library takes LIB.db and add, list, check, remove or prune");
    const std::string path = positional[0];
    const std::string action = positional[1];
    const std::vector<std::string> rest(positional.begin() + 2, positional.end());
    if (!library::Is_Library_Name(path)) throw Usage_Error("library takes a tile library named *.db, not \"" + path + "\"");
    if (action == "add") {
        if (rest.empty()) throw Usage_Error("library add takes FOLDER or FILE...");
        return Add(path, rest, quiet);
    }
    if (action == "remove") {
        if (rest.empty()) throw Usage_Error("library remove takes PATH...");
        Library_File file(path, Library_File::Access::Read);
        return Remove(file, rest);
    }
    if (action != "list" && action != "check" && action != "prune")
        throw Usage_Error("library takes add, list, check, remove or prune, not \"" + action + "\"");
    if (!rest.empty()) throw Usage_Error("library " + action + " takes nothing more");
    Library_File file(path, Library_File::Access::Read);
    if (action == "list") return List(file);
    if (action == "check") return Check(file);
    return Prune(file);
}

}  // namespace tilvane::cli

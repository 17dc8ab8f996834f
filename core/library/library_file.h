#pragma once
// The tile library's file: one SQLite database holding, for every photo added, what tells its
// file's version, its upright size, its reduced picture and its look. Writes go in transactions,
// so a crash, a kill or a full disk mid-update leaves every earlier transaction and nothing of
// the broken one; the file is in write-ahead-log mode, so other processes read it while one adds.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "library/library_photo.h"
#include "support/file_io.h"

struct sqlite3;

namespace tilvane::library {

// A photo as the library lists it, without its picture.
struct Library_Entry {
    std::int64_t id = 0;
    std::string path;
    File_Stamp stamp;
    Photo_Summary summary;
};

// The name a photo is kept under: its path made absolute and normal, so that the same photo
// named from different folders is one entry, and the library serves from any folder.
[[nodiscard]] std::string Library_Path(const std::string& path);

// Whether a path names a tile library by its extension, ".db" in any letter case.
[[nodiscard]] bool Is_Library_Name(std::string_view path);

class Library_File {
public:
    enum class Access {
        Read,    // an existing library only
        Update,  // created when missing
    };
    // Opens the library at path. Throws Error::Cannot_Open(path) when it is missing (Read) or
    // cannot be opened, Error::Cannot_Create(path) when it cannot be made, and
    // Error::Library_Not_Valid(path) for a file that is not a tile library or is damaged.
    Library_File(const std::string& path, Access access);
    ~Library_File();
    Library_File(const Library_File&) = delete;
    Library_File& operator=(const Library_File&) = delete;

    const std::string& Path() const { return path_; }

    // Every photo, by path in byte order. A stored value out of its range is Library_Not_Valid.
    [[nodiscard]] std::vector<Library_Entry> Entries() const;
    // The stored picture's encoded bytes of the entry with this id, the small one or the large
    // (empty when none). Safe to call on several threads: the file's reads take turns.
    enum class Size { Small, Large };
    [[nodiscard]] std::vector<std::uint8_t> Picture_Bytes(std::int64_t id, Size size) const;

    // Stores the photos (replacing those of the same paths) and removes the paths, all in one
    // transaction: all of it or, after an error, none. written(n) runs after each photo stored,
    // inside the transaction. Throws Error::Cannot_Create(path) when the file cannot be written
    // (a full disk among others), with the library as it was before.
    void Change(const std::vector<Read_Photo>& photos, const std::vector<std::string>& removed,
                const std::function<void(std::size_t)>& written = {});

    // The database's own check of every page; the problems it names, none when sound.
    [[nodiscard]] std::vector<std::string> Integrity_Problems() const;

private:
    std::string path_;
    sqlite3* db_ = nullptr;
    struct Statements;
    std::unique_ptr<Statements> statements_;
};

}  // namespace tilvane::library

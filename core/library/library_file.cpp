#include "library_file.h"

#include <sqlite3.h>

#include <cstring>
#include <filesystem>
#include <mutex>

#include "support/error.h"
#include "support/native_path.h"
#include "support/path_text.h"

namespace tilvane::library {
namespace {

// Marks the file as a tile library (the database's application id, "TilL"), and the layout's version.
constexpr int kApplication_Id = 0x54696C4C;
constexpr int kLayout_Version = 1;

// The pictures live in a table of their own, so that listing every photo (a build of 100,000
// tiles does) reads small rows only.
constexpr const char* kLayout = R"(
CREATE TABLE photo(
    id INTEGER PRIMARY KEY,
    path TEXT NOT NULL UNIQUE,
    file_size INTEGER NOT NULL,
    modified INTEGER NOT NULL,
    width INTEGER NOT NULL,
    height INTEGER NOT NULL,
    picture_width INTEGER NOT NULL,
    picture_height INTEGER NOT NULL,
    small_width INTEGER NOT NULL,
    small_height INTEGER NOT NULL,
    mean BLOB NOT NULL,
    structure BLOB NOT NULL);
CREATE TABLE picture(
    id INTEGER PRIMARY KEY REFERENCES photo(id) ON DELETE CASCADE,
    jpeg BLOB NOT NULL,
    small BLOB NOT NULL);
)";

bool Is_Damage(int code) {
    const int primary = code & 0xFF;
    return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB || primary == SQLITE_FORMAT || primary == SQLITE_SCHEMA ||
           primary == SQLITE_MISMATCH || primary == SQLITE_RANGE || primary == SQLITE_ERROR;
}

// The core's error for a failed call on the library at path: damage, a write that could not be
// made (a full disk among others), or a read that could not be made.
[[noreturn]] void Fail(const std::string& path, int code, bool writing) {
    const int primary = code & 0xFF;
    if (primary == SQLITE_FULL) throw Error::Cannot_Create(path, std::make_error_code(std::errc::no_space_on_device));
    if (Is_Damage(code)) throw Error::Library_Not_Valid(path);
    if (primary == SQLITE_READONLY || primary == SQLITE_PERM) throw Error::Cannot_Create(path, std::make_error_code(std::errc::permission_denied));
    if (writing) throw Error::Cannot_Create(path);
    throw Error::Cannot_Open(path);
}

class Statement {
public:
    Statement(sqlite3* db, const std::string& path, const char* sql) : path_(path) {
        const int code = sqlite3_prepare_v2(db, sql, -1, &statement_, nullptr);
        if (code != SQLITE_OK) Fail(path, code, false);
    }
    ~Statement() { sqlite3_finalize(statement_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // Starts the statement afresh.
    Statement& Reset() {
        sqlite3_reset(statement_);
        sqlite3_clear_bindings(statement_);
        return *this;
    }
    Statement& Bind(int i, std::int64_t value) {
        sqlite3_bind_int64(statement_, i, value);
        return *this;
    }
    Statement& Bind(int i, const std::string& text) {
        sqlite3_bind_text(statement_, i, text.data(), static_cast<int>(text.size()), SQLITE_STATIC);
        return *this;
    }
    Statement& Bind(int i, std::span<const std::uint8_t> bytes) {
        sqlite3_bind_blob(statement_, i, bytes.data(), static_cast<int>(bytes.size()), SQLITE_STATIC);
        return *this;
    }
    // True while there is a row to read; throws on failure.
    bool Step(bool writing = false) {
        const int code = sqlite3_step(statement_);
        if (code == SQLITE_ROW) return true;
        if (code == SQLITE_DONE) return false;
        const int failure = sqlite3_reset(statement_);
        Fail(path_, failure != SQLITE_OK ? failure : code, writing);
    }
    std::int64_t Integer(int column) const { return sqlite3_column_int64(statement_, column); }
    std::string Text(int column) const {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
        return text ? std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(statement_, column))) : std::string();
    }
    std::span<const std::uint8_t> Bytes(int column) const {
        const auto* data = static_cast<const std::uint8_t*>(sqlite3_column_blob(statement_, column));
        return {data, data ? static_cast<std::size_t>(sqlite3_column_bytes(statement_, column)) : 0};
    }

private:
    const std::string& path_;
    sqlite3_stmt* statement_ = nullptr;
};

void Execute(sqlite3* db, const std::string& path, const char* sql, bool writing) {
    const int code = sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    if (code != SQLITE_OK) Fail(path, code, writing);
}

std::int64_t Pragma(sqlite3* db, const std::string& path, const char* sql) {
    Statement statement(db, path, sql);
    return statement.Step() ? statement.Integer(0) : 0;
}

// The structure as stored: its values as little-endian 32-bit floats.
std::vector<std::uint8_t> Structure_Bytes(const Structure& structure) {
    std::vector<std::uint8_t> bytes(structure.size() * 4);
    for (std::size_t i = 0; i < structure.size(); ++i) {
        std::uint32_t bits;
        std::memcpy(&bits, &structure[i], 4);
        for (int b = 0; b < 4; ++b) bytes[i * 4 + static_cast<std::size_t>(b)] = static_cast<std::uint8_t>(bits >> (8 * b));
    }
    return bytes;
}

Structure Structure_From(std::span<const std::uint8_t> bytes) {
    Structure structure{};
    for (std::size_t i = 0; i < structure.size(); ++i) {
        std::uint32_t bits = 0;
        for (int b = 0; b < 4; ++b) bits |= std::uint32_t{bytes[i * 4 + static_cast<std::size_t>(b)]} << (8 * b);
        std::memcpy(&structure[i], &bits, 4);
    }
    return structure;
}

}  // namespace

bool Is_Library_Name(std::string_view path) { return Ascii_Upper(Extension_Part(path)) == ".DB"; }

std::string Library_Path(const std::string& path) {
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(Native_Path(path), ec);
    return Utf8_Path((ec ? Native_Path(path) : absolute).lexically_normal());
}

struct Library_File::Statements {
    std::mutex reading;  // a connection runs one statement at a time
    std::unique_ptr<Statement> picture, small;
};

Library_File::Library_File(const std::string& path, Access access) : path_(path), statements_(std::make_unique<Statements>()) {
    const int flags = SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_READWRITE | (access == Access::Update ? SQLITE_OPEN_CREATE : 0);
    const int code = sqlite3_open_v2(path.c_str(), &db_, flags, nullptr);
    if (code != SQLITE_OK) {
        sqlite3_close(db_);
        db_ = nullptr;
        if (access == Access::Read) throw Error::Cannot_Open(path);
        throw Error::Cannot_Create(path);
    }
    try {
        sqlite3_busy_timeout(db_, 10000);  // another process's transaction ends within that
        sqlite3_extended_result_codes(db_, 1);
        const std::int64_t id = Pragma(db_, path, "PRAGMA application_id");
        const std::int64_t pages = Pragma(db_, path, "PRAGMA page_count");
        if (pages == 0 && access == Access::Update) {
            // A new library: empty until its layout is committed.
            Execute(db_, path, "PRAGMA journal_mode=WAL", true);
            Execute(db_, path,
                    (std::string("BEGIN IMMEDIATE;") + kLayout + "PRAGMA application_id=" + std::to_string(kApplication_Id) +
                     ";PRAGMA user_version=" + std::to_string(kLayout_Version) + ";COMMIT;")
                        .c_str(),
                    true);
        } else if (id != kApplication_Id || Pragma(db_, path, "PRAGMA user_version") != kLayout_Version) {
            throw Error::Library_Not_Valid(path);
        }
        Execute(db_, path, "PRAGMA synchronous=FULL; PRAGMA foreign_keys=ON", false);
        statements_->picture = std::make_unique<Statement>(db_, path_, "SELECT jpeg FROM picture WHERE id = ?");
        statements_->small = std::make_unique<Statement>(db_, path_, "SELECT small FROM picture WHERE id = ?");
    } catch (...) {
        statements_.reset();
        sqlite3_close(db_);
        throw;
    }
}

Library_File::~Library_File() {
    statements_.reset();
    sqlite3_close(db_);
}

std::vector<Library_Entry> Library_File::Entries() const {
    const std::lock_guard lock(statements_->reading);
    Statement rows(db_, path_,
                   "SELECT id, path, file_size, modified, width, height, picture_width, picture_height, small_width, small_height, "
                   "mean, structure "
                   "FROM photo ORDER BY path");
    std::vector<Library_Entry> entries;
    while (rows.Step()) {
        Library_Entry entry;
        entry.id = rows.Integer(0);
        entry.path = rows.Text(1);
        entry.stamp = {static_cast<std::uint64_t>(rows.Integer(2)), rows.Integer(3)};
        Photo_Summary& s = entry.summary;
        const auto side = [&](int column) {
            const std::int64_t value = rows.Integer(column);
            if (value < 1 || value > Raster_Image::kMax_Dimension) throw Error::Library_Not_Valid(path_);
            return static_cast<int>(value);
        };
        s.width = side(4);
        s.height = side(5);
        s.picture_width = side(6);
        s.picture_height = side(7);
        s.small_width = side(8);
        s.small_height = side(9);
        const std::span<const std::uint8_t> mean = rows.Bytes(10), structure = rows.Bytes(11);
        if (mean.size() != 3 || structure.size() != kStructure_Values * 4 || entry.path.empty())
            throw Error::Library_Not_Valid(path_);
        s.look.mean = {mean[2], mean[1], mean[0]};
        s.look.structure = Structure_From(structure);
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::vector<std::uint8_t> Library_File::Picture_Bytes(std::int64_t id, Size size) const {
    const std::lock_guard lock(statements_->reading);
    Statement& picture = (size == Size::Small ? statements_->small : statements_->picture)->Reset().Bind(1, id);
    if (!picture.Step()) return {};
    const std::span<const std::uint8_t> bytes = picture.Bytes(0);
    return {bytes.begin(), bytes.end()};
}

void Library_File::Change(const std::vector<Read_Photo>& photos, const std::vector<std::string>& removed,
                          const std::function<void(std::size_t)>& written) {
    const std::lock_guard lock(statements_->reading);
    Execute(db_, path_, "BEGIN IMMEDIATE", true);
    try {
        Statement remove(db_, path_, "DELETE FROM photo WHERE path = ?");
        Statement photo(db_, path_,
                        "INSERT INTO photo(path, file_size, modified, width, height, picture_width, picture_height, small_width, "
                        "small_height, mean, structure) VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
        Statement picture(db_, path_, "INSERT INTO picture(id, jpeg, small) VALUES(?, ?, ?)");
        for (const std::string& path : removed) {
            remove.Reset().Bind(1, path).Step(true);
        }
        for (std::size_t i = 0; i < photos.size(); ++i) {
            const Read_Photo& p = photos[i];
            const Photo_Summary& s = p.summary;
            remove.Reset().Bind(1, p.path).Step(true);
            const std::uint8_t mean[3] = {s.look.mean.blue, s.look.mean.green, s.look.mean.red};
            const std::vector<std::uint8_t> structure = Structure_Bytes(s.look.structure);
            photo.Reset()
                .Bind(1, p.path)
                .Bind(2, static_cast<std::int64_t>(p.stamp.size))
                .Bind(3, p.stamp.modified)
                .Bind(4, s.width)
                .Bind(5, s.height)
                .Bind(6, s.picture_width)
                .Bind(7, s.picture_height)
                .Bind(8, s.small_width)
                .Bind(9, s.small_height)
                .Bind(10, std::span<const std::uint8_t>(mean))
                .Bind(11, std::span<const std::uint8_t>(structure))
                .Step(true);
            picture.Reset()
                .Bind(1, sqlite3_last_insert_rowid(db_))
                .Bind(2, std::span<const std::uint8_t>(p.picture))
                .Bind(3, std::span<const std::uint8_t>(p.small))
                .Step(true);
            if (written) written(i + 1);
        }
        Execute(db_, path_, "COMMIT", true);
    } catch (...) {
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

std::vector<std::string> Library_File::Integrity_Problems() const {
    const std::lock_guard lock(statements_->reading);
    Statement check(db_, path_, "PRAGMA integrity_check");
    std::vector<std::string> problems;
    while (check.Step())
        if (const std::string line = check.Text(0); line != "ok") problems.push_back(line);
    return problems;
}

}  // namespace tilvane::library

#pragma once
// The one error type of the core. It says what went wrong and with which file; the words the user
// reads are chosen at the edge (shell/error_report.h), never here.
#include <cstdint>
#include <exception>
#include <string>
#include <system_error>

namespace tilvane {

enum class Error_Kind {
    Cannot_Open,           // a file to read could not be opened or read
    Cannot_Open_Folder,    // a folder to search could not be opened or listed
    Cannot_Create_Folder,  // a folder to write into could not be made
    Not_Valid,             // a file's content is not a valid bitmap, or an image cannot be stored as one
    Cannot_Create,         // a file to write could not be created or written
    Invalid_Pixel_Format,  // the custom pixel format where a real one is needed
    Jpeg_Not_Valid,        // a JPEG file that the JPEG decoder refuses
    Png_Not_Valid,         // a PNG file that the PNG decoder refuses
    Heif_Not_Valid,        // a HEIF file (HEIC or AVIF) that the HEIF decoder refuses
    Too_Large,             // a valid picture beyond what the program can hold or the format store
    Unknown_Extension,     // a picture file name whose extension names no format the core knows
    No_Tiles,              // a mosaic build given no tile to draw from
    Grid_Never_Advances,   // a run given a tile size of 0 with no gap to move the grid on
    Scale_Out_Of_Range,    // a mosaic build asked for a scale below 1 or above its largest
    Negative_Distance,     // a mosaic build asked for a negative distance between repeated tiles
    Blend_Out_Of_Range,    // a mosaic build asked to lay less than 0 or more than 100 per cent of the original over its tiles
    Cannot_Write_Settings, // the settings file's keys could not be written
    No_Readable_Tile,      // a mosaic build whose tiles were all left out, none of them readable
    Uses_Too_Few,          // a cap on each tile's uses that the readable tiles cannot cover the grid with
    Placement_Not_Valid,   // a line of a placements file that is not a placement
    Placement_Tile_Unknown,    // a placement naming a tile that is not in the list
    Placement_Cell_Outside,    // a placement naming a cell outside the grid
    Placement_Cell_Repeated,   // a placement naming a cell that an earlier line placed
};

// Which check refused a bitmap, so that tests can tell the checks apart.
enum class Bitmap_Fault {
    None,
    Truncated_Headers,    // the headers or colour table run past the end of the file
    Bad_Signature,        // the file does not start with "BM"
    Unknown_Header,       // an info header size no writer uses
    Unknown_Compression,  // a compression code no writer uses
    Bad_Bit_Depth,        // planes other than 1, or bits that the header or compression cannot hold
    Bad_Dimensions,       // a width or height of zero, negative or above the largest allowed
    Top_Down_Compressed,  // a run-length, JPEG or PNG bitmap stored top-down
    Too_Many_Pixels,      // more pixels than the decoders' memory cap, or than memory holds (Too_Large)
    Side_Too_Long,        // a side longer than a JPEG file can store (Too_Large)
    Bad_Masks,            // channel masks that are empty, not one run of bits, overlap or spill
    Pixels_Missing,       // the pixel rows run past the end of the file
    Run_Length_Cut_Short, // a run-length code cut off by the end of the data
    Run_Length_Too_Sparse,// far more pixels than run-length data could describe
    Bad_Embedded_Jpeg,    // the JPEG stream that a BI_JPEG bitmap holds is not valid
    Bad_Embedded_Png,     // the PNG stream that a BI_PNG bitmap holds is not valid
    Empty_Image,          // an image without pixels cannot be stored
    File_Too_Large,       // an image whose file would not fit the 32-bit size fields
};

class Error : public std::exception {
public:
    Error(Error_Kind kind, std::string path, Bitmap_Fault fault, std::error_code reason = {})
        : kind_(kind), fault_(fault), path_(std::move(path)), reason_(reason) {}

    static Error Cannot_Open(std::string path, std::error_code reason = {}) {
        return {Error_Kind::Cannot_Open, std::move(path), Bitmap_Fault::None, reason};
    }
    static Error Cannot_Create(std::string path, std::error_code reason = {}) {
        return {Error_Kind::Cannot_Create, std::move(path), Bitmap_Fault::None, reason};
    }
    static Error Cannot_Open_Folder(std::string path, std::error_code reason = {}) {
        return {Error_Kind::Cannot_Open_Folder, std::move(path), Bitmap_Fault::None, reason};
    }
    static Error Cannot_Create_Folder(std::string path, std::error_code reason = {}) {
        return {Error_Kind::Cannot_Create_Folder, std::move(path), Bitmap_Fault::None, reason};
    }
    static Error Not_Valid(Bitmap_Fault fault) { return {Error_Kind::Not_Valid, {}, fault}; }
    static Error Jpeg_Not_Valid() { return {Error_Kind::Jpeg_Not_Valid, {}, Bitmap_Fault::None}; }
    static Error Png_Not_Valid() { return {Error_Kind::Png_Not_Valid, {}, Bitmap_Fault::None}; }
    static Error Heif_Not_Valid() { return {Error_Kind::Heif_Not_Valid, {}, Bitmap_Fault::None}; }
    static Error Unknown_Extension(std::string path) { return {Error_Kind::Unknown_Extension, std::move(path), Bitmap_Fault::None}; }
    static Error Too_Many_Pixels() { return {Error_Kind::Too_Large, {}, Bitmap_Fault::Too_Many_Pixels}; }
    // A picture to be written of width x height that its format cannot store (fault says which limit).
    static Error Too_Large_Picture(std::string path, Bitmap_Fault fault, std::uint64_t width, std::uint64_t height) {
        Error error{Error_Kind::Too_Large, std::move(path), fault};
        error.width_ = width;
        error.height_ = height;
        return error;
    }
    static Error Invalid_Pixel_Format() { return {Error_Kind::Invalid_Pixel_Format, {}, Bitmap_Fault::None}; }
    static Error Of_Kind(Error_Kind kind) { return {kind, {}, Bitmap_Fault::None}; }
    // A placements file's line (from 1) that the build cannot draw.
    static Error Placement(Error_Kind kind, std::string path, int line) {
        Error error{kind, std::move(path), Bitmap_Fault::None};
        error.number_ = line;
        return error;
    }
    static Error Uses_Too_Few(int fewest) {
        Error error{Error_Kind::Uses_Too_Few, {}, Bitmap_Fault::None};
        error.number_ = fewest;
        return error;
    }
    static Error Cannot_Write_Settings(std::string path) {
        return {Error_Kind::Cannot_Write_Settings, std::move(path), Bitmap_Fault::None};
    }

    Error_Kind Kind() const { return kind_; }
    Bitmap_Fault Fault() const { return fault_; }
    const std::string& Path() const { return path_; }  // empty when no file is concerned
    // The system's reason a file could not be opened or created; empty when it gave none.
    std::error_code Reason() const { return reason_; }
    // A refused placement's line, or the fewest uses of each tile that cover the grid; else 0.
    int Number() const { return number_; }
    // The size of a picture too large to be written; 0 x 0 for one read.
    std::uint64_t Width() const { return width_; }
    std::uint64_t Height() const { return height_; }
    // The same error about the file at path, for an error raised where the file's name was unknown.
    [[nodiscard]] Error About_File(std::string path) const {
        Error error{kind_, std::move(path), fault_, reason_};
        error.number_ = number_;
        error.width_ = width_;
        error.height_ = height_;
        return error;
    }

    // For developers' logs and test failures only: names the kind, not the user's words.
    const char* what() const noexcept override;

private:
    Error_Kind kind_;
    Bitmap_Fault fault_;
    std::string path_;
    std::error_code reason_;
    int number_ = 0;
    std::uint64_t width_ = 0, height_ = 0;
};

// Called inside a catch block while reading or writing the picture file at path: rethrows the
// error, giving the path to an error that names no file (codecs do not know the file's name) and
// turning a failed allocation into Too_Large.
[[noreturn]] void Rethrow_Naming_File(const std::string& path);

// The system's reason for the last failed call (errno); empty when it recorded none.
std::error_code Last_System_Error();

}  // namespace tilvane

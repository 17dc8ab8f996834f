#pragma once
// One record per picture file format: everything the rest of the program asks of a format
// (its names, its extensions, how its files begin, its decoders, its writer, its limits) is
// read from the table of these records, so that a new format adds its folder and one record.
#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "codecs/load_hint.h"
#include "image/raster_image.h"
#include "support/byte_stream.h"
#include "support/flush_to_disk.h"

namespace tilvane {

class Band_Writer;
class Picture_Rows;
class Replacing_File;
class Work_Crew;

// The quality a lossy format is written at unless another is asked for.
inline constexpr int kDefault_Jpeg_Quality = 92;

struct Save_Options {
    int quality = kDefault_Jpeg_Quality;  // for a format that takes_quality, 1 to 100
    bool lossless = false;                 // for a format that takes_lossless: instead of the quality
    Flush_To_Disk flush = Flush_To_Disk::Yes;
};

// Where a format's writer puts a width x height picture whose bands have like's layout.
struct Band_Target {
    int width;
    int height;
    const Raster_Image& like;
    const Save_Options& options;
    Replacing_File& file;
    Work_Crew& crew;
};

// A picture's width and height as it is shown, upright.
struct Picture_Size {
    int width;
    int height;
};

struct Picture_Format {
    // "JPEG": what `info` names, and the format's own words ("JPEG image is not valid", "too
    // large for a JPEG file").
    const char* name;
    // "Bitmap": the pickers' "Bitmap files" and the refusal "Only Bitmap (.BMP), ... files".
    const char* noun;
    // Its extensions, upper case, the first the one it is known by; an unused one is null.
    std::array<const char*, 3> extensions;
    // The bytes its files start with, '?' standing for any byte.
    std::string_view signature;
    // Whether a quality (1 to 100) steers its encoder, and whether it can be lossless instead.
    bool takes_quality;
    bool takes_lossless;
    // Whether the window's picture boxes show it with the photo formats off, as they always have.
    bool previewed_without_photo_formats;
    // Its limits beyond Raster_Image::kMax_Dimension: the longest side it stores (0 for none),
    // and whether a file of a width x height picture in like's layout fits its size fields
    // (null: always).
    int largest_side;
    bool (*file_fits)(std::uint64_t width, std::uint64_t height, const Raster_Image& like);
    // Decodes a whole file, possibly smaller down to the hint; throws the format's not-valid
    // error for content it refuses.
    Raster_Image (*decode)(const Byte_Source& source, Load_Hint hint);
    // Reads a file a band of rows at a time (Picture_Rows).
    std::unique_ptr<Picture_Rows> (*read_rows)(const Byte_Source& source);
    // Encodes a whole picture.
    void (*encode)(const Raster_Image& image, const Save_Options& options, const Byte_Sink& sink);
    // The writer of a picture given in bands; null, with encode, for a format only read.
    std::unique_ptr<Band_Writer> (*open_writer)(const Band_Target& target);
    // The picture's upright size from the file's headers alone, whatever its size; null where
    // only decoding it tells.
    Picture_Size (*read_size)(const Byte_Source& source) = nullptr;

    bool Claims_Extension(std::string_view upper_extension) const;
    bool Starts(std::span<const std::uint8_t> head) const;
};

// Every format, in the order pickers and messages list them; the program's own, BMP, first.
std::span<const Picture_Format> Picture_Format_Table();
const Picture_Format& Bitmap_Format();

// Which pictures a job takes: BMP files only, whatever their names (the program's way by
// default), or every format by its file name's extension.
enum class Picture_Formats { Bmp_Only, By_Extension };
std::span<const Picture_Format> Formats_Taken(Picture_Formats formats);

// The format a path's extension names, letters in any case; null for any other extension.
const Picture_Format* Format_For_Path(std::string_view path);

// The format a picture written to path takes under formats; null for an extension no format
// claims or whose format is only read.
const Picture_Format* Output_Format(std::string_view path, Picture_Formats formats);

// The format the file at path, whose bytes file holds, is read in under formats: BMP with
// Bmp_Only; otherwise the format its extension names, or another when the file starts as that
// one's files do (a WebP picture saved as ".jpg"). Throws Error::Unknown_Extension(path) for an
// extension no format claims.
const Picture_Format& Format_To_Read(std::string_view path, const Byte_Source& file, Picture_Formats formats);

}  // namespace tilvane

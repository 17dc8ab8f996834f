#pragma once
#include <cstdint>
#include <span>

#include "codecs/picture_format.h"
#include "image/raster_image.h"
#include "support/byte_stream.h"

namespace tilvane {

inline constexpr char kHeif_Name[] = "HEIF";

// Whether bytes start like a HEIF file: an ISO media "ftyp" box whose major or compatible brands
// name a HEIF still picture (HEIC's heic, heix, heim, heis; the generic mif1, msf1; AVIF's avif,
// avis). Needs only the file's first bytes; says nothing of whether the rest can be read.
bool Looks_Like_Heif(std::span<const std::uint8_t> bytes);

// Reads the size of the picture Decode_Heif gives from the file's boxes without its pixels: the
// primary picture's size, its rotation and crop applied. Throws what Decode_Heif
// throws for a file whose boxes it refuses or whose picture is beyond the decoders' limits.
Picture_Size Read_Heif_Size(const Byte_Source& source);

// Whether this build decodes AV1-coded HEIF (AVIF). Every build of the program does (the
// Windows one through the dav1d it links); a build against a libheif without an AV1 decoder
// reads HEIC only and refuses AVIF as not valid.
bool Can_Decode_Avif();

// Decodes a HEIF file's primary picture (HEVC-coded as HEIC, or AV1-coded as AVIF where the
// build has an AV1 decoder) into a 24-bit image: a grid of tiles joined, 8-, 10- and 12-bit
// samples rounded to 8 bits, alpha laid onto white, the file's own crop, rotation and mirroring
// (clap, irot, imir) applied. Exif orientation is not applied on top: in HEIF the transforms are
// the picture's orientation, and a phone writes both for one turn. The whole picture is decoded;
// there is no reduced-size decode.
// Throws a Picture_Not_Valid error for anything libheif refuses (a broken or truncated file, a
// codec this build lacks) and a Too_Large one for a picture beyond the decoders' limits.
Raster_Image Decode_Heif(const Byte_Source& source);
Raster_Image Decode_Heif(std::span<const std::uint8_t> bytes);

}  // namespace tilvane

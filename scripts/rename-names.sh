#!/usr/bin/env bash
# One-off: brings the names of core/codecs, core/image and core/support to the README's naming
# convention (types, functions, methods and enumerators Capitalised_Words, constants kCapitalised_Words),
# one folder a run, so that each folder is one commit; a fourth step moves the path-text helpers
# that the codecs take from core/tiles into core/support. Run from a clean tree, build, test,
# commit, and delete this script when all four are in:
#   bash scripts/rename-names.sh codecs|image|support|path-text
#
# Kept on purpose, with the reason:
#   size() of Byte_Source and its sources, Colour_Table and Little_Endian_View, and Rect::empty():
#     the standard containers' and views' vocabulary, which the tree calls on std::vector and
#     std::span on the same lines; a textual rename cannot tell the two apart.
#   Error::what(): overrides std::exception's.
#   Namespaces (bmp, jpeg, decode_limits, file_system) and file names: lower case by the README.
#   Getters whose plain capitalised name is a type's (pixel_format, colour_table, channel_masks)
#     become Format, Table and Masks, and Temporary_File::file() Stream(), as Error::Kind() does.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
mapfile -t code < <(git ls-files core cli app tests bench fuzz demo | grep -E '\.(h|cpp)$')
mapfile -t docs < <(git ls-files docs | grep -E '\.(md|html|txt)$')

# Each table line is one rename:
#   w OLD NEW            a name no variable or member shares: every whole word, code and docs
#   f FILE OLD NEW       a name of one file only (its anonymous namespace): whole words there
#   c FILE OLD NEW       a function of one file whose name a member or std shares: its
#                        unqualified calls and declarations there only
#   m CLASS OLD NEW FILE...   a method: calls through . and -> and CLASS::OLD everywhere, and
#                        unqualified calls and declarations in the class's own files
#   s CLASS OLD NEW FILE...   a static or private method: CLASS::OLD everywhere, the rest only in
#                        the class's own files (its name is std's too: at, store, search, ...)
#   u WHO OLD NEW FILE...     a method that another class has too (u16 of the tests' byte
#                        writer): calls only in files that name WHO, declarations in FILE...
# Word edges leave file names alone ("flush_to_disk.h"), and a qualified name stays std's.
calls() { perl -pi -e "s/(\\.|->)$1(?=\\()/\$1$2/g" "${@:3}"; }
bare() { perl -pi -e "s/(?<![\\w:.>])$1(?=\\s*\\()/$2/g" "${@:3}"; }
# A method's name of several words also where a comment names it ("see copy_run").
comments() { if [[ $1 == *_* ]]; then perl -pi -e "s{(//.*)}{\$1 =~ s/\\b$1\\b/$2/gr}e" "${code[@]}"; fi; }
rename_table() {
  local - kind class old new users
  set -f
  while read -r kind rest; do
    [[ -z $kind || $kind == \#* ]] && continue
    set -- $rest
    case $kind in
      w) perl -pi -e "s/\\b$1\\b(?!\\.h\\b|\\.cpp\\b)/$2/g" "${code[@]}" "${docs[@]}" ;;
      f) perl -pi -e "s/\\b$2\\b/$3/g" "$1" ;;
      c) bare "$2" "$3" "$1" ;;
      m | s)
        class=$1 old=$2 new=$3
        shift 3
        perl -pi -e "s/\\b${class}::$old\\b/${class}::$new/g" "${code[@]}"
        if [[ $kind == m ]]; then calls "$old" "$new" "${code[@]}"; else calls "$old" "$new" "$@"; fi
        bare "$old" "$new" "$@"
        comments "$old" "$new" ;;
      u)
        class=$1 old=$2 new=$3
        shift 3
        mapfile -t users < <(grep -lwE "$class" "${code[@]}")
        perl -pi -e "s/\\b($class)::$old\\b/\$1::$new/g" "${users[@]}"
        calls "$old" "$new" "${users[@]}"
        bare "$old" "$new" "$@" ;;
    esac
  done
}

codecs() {
  rename_table <<'EOF'
w BmpDescription Bmp_Description
w LittleEndianView Little_Endian_View
w decode_bmp Decode_Bmp
w describe_bmp Describe_Bmp
w encode_bmp Encode_Bmp
w decode_jpeg Decode_Jpeg
w encode_jpeg Encode_Jpeg
w decode_png Decode_Png
w encode_png Encode_Png
w expand_rle Expand_Rle
w fits_memory Fits_Memory
w plausible_for_data Plausible_For_Data
w is_run_length Is_Run_Length
w row_stride Row_Stride
w load_u16le Load_U16_Le
w load_u32le Load_U32_Le
w store_u16le Store_U16_Le
w store_u32le Store_U32_Le
w kAlphaBitfields Alpha_Bitfields
w kBitfields Bitfields
w kJpeg Jpeg
w kPng Png
w kRgb Rgb
w kRle4 Rle4
w kRle8 Rle8
w kOs2Rle24 Os2_Rle24
w kFileHeaderSize kFile_Header_Size
w kCoreHeaderSize kCore_Header_Size
w kInfoHeaderSize kInfo_Header_Size
w kV2HeaderSize kV2_Header_Size
w kV3HeaderSize kV3_Header_Size
w kV4HeaderSize kV4_Header_Size
w kV5HeaderSize kV5_Header_Size
w kOs2ShortHeaderSize kOs2_Short_Header_Size
w kOs2HeaderSize kOs2_Header_Size
w kLargestJpegSide kLargest_Jpeg_Side
w kMaxPixelBytes kMax_Pixel_Bytes
w kFreePixels kFree_Pixels
w kPixelsPerByte kPixels_Per_Byte
u Little_Endian_View holds Holds core/codecs/little_endian.h
u Little_Endian_View slice Slice core/codecs/little_endian.h
u Little_Endian_View u16 U16 core/codecs/little_endian.h
u Little_Endian_View u32 U32 core/codecs/little_endian.h
u Little_Endian_View i32 I32 core/codecs/little_endian.h
f core/codecs/bmp_decoder.cpp LinearChannelReducer Linear_Channel_Reducer
f core/codecs/bmp_decoder.cpp MaskedPixelReader Masked_Pixel_Reader
f core/codecs/bmp_decoder.cpp bits_fit_compression Bits_Fit_Compression
f core/codecs/bmp_decoder.cpp check_masks Check_Masks
f core/codecs/bmp_decoder.cpp compression_name Compression_Name
f core/codecs/bmp_decoder.cpp convert_rows Convert_Rows
f core/codecs/bmp_decoder.cpp decode_direct Decode_Direct
f core/codecs/bmp_decoder.cpp decode_embedded Decode_Embedded
f core/codecs/bmp_decoder.cpp decode_palette Decode_Palette
f core/codecs/bmp_decoder.cpp decoded_format Decoded_Format
f core/codecs/bmp_decoder.cpp direct_format Direct_Format
f core/codecs/bmp_decoder.cpp is_bitfields Is_Bitfields
f core/codecs/bmp_decoder.cpp is_embedded Is_Embedded
f core/codecs/bmp_decoder.cpp read_all Read_All
f core/codecs/bmp_decoder.cpp read_colour_table Read_Colour_Table
f core/codecs/bmp_decoder.cpp read_headers Read_Headers
f core/codecs/bmp_decoder.cpp read_layout Read_Layout
f core/codecs/bmp_decoder.cpp read_row Read_Row
f core/codecs/bmp_decoder.cpp table_for Table_For
f core/codecs/bmp_decoder.cpp unpack_indices Unpack_Indices
f core/codecs/bmp_decoder.cpp kHeaderBytes kHeader_Bytes
c core/codecs/bmp_decoder.cpp describe Describe
c core/codecs/bmp_decoder.cpp header_kind Header_Kind
c core/codecs/bmp_decoder.cpp widen Widen
f core/codecs/bmp_encoder.cpp MaskedPixelWriter Masked_Pixel_Writer
f core/codecs/bmp_encoder.cpp write_index_row Write_Index_Row
f core/codecs/bmp_encoder.cpp write_row Write_Row
f core/codecs/bmp_encoder.cpp kPixelsPerMetre kPixels_Per_Metre
c core/codecs/bmp_encoder.cpp fill Fill
f core/codecs/bmp_rle.cpp copy_pixel Copy_Pixel
f core/codecs/exif_orientation.cpp kOrientationTag kOrientation_Tag
f core/codecs/exif_orientation.cpp kShortType kShort_Type
f core/codecs/jpeg_decoder.cpp choose_scale Choose_Scale
f core/codecs/jpeg_decoder.cpp cmyk_to_bgr Cmyk_To_Bgr
f core/codecs/jpeg_decoder.cpp decode_into Decode_Into
f core/codecs/jpeg_decoder.cpp fill_chunk Fill_Chunk
f core/codecs/jpeg_decoder.cpp limit_scans Limit_Scans
f core/codecs/jpeg_decoder.cpp skip_bytes Skip_Bytes
f core/codecs/jpeg_decoder.cpp start_reading Start_Reading
f core/codecs/jpeg_decoder.cpp stop_reading Stop_Reading
f core/codecs/jpeg_decoder.cpp kMaxScans kMax_Scans
f core/codecs/jpeg_decoder.cpp kChunkBytes kChunk_Bytes
f core/codecs/jpeg_encoder.cpp kChunkBytes kChunk_Bytes
f core/codecs/png_codec.cpp channels_of Channels_Of
f core/codecs/png_codec.cpp flatten_row Flatten_Row
f core/codecs/png_codec.cpp new_context New_Context
f core/codecs/png_codec.cpp onto_white Onto_White
f core/codecs/png_codec.cpp read_from_source Read_From_Source
f core/codecs/png_codec.cpp within_limits Within_Limits
f core/codecs/png_codec.cpp write_to_sink Write_To_Sink
f core/codecs/png_codec.cpp kMaxInflateRatio kMax_Inflate_Ratio
f core/codecs/png_codec.cpp kMaxChunkBytes kMax_Chunk_Bytes
f core/codecs/png_codec.cpp kMaxKeptChunkBytes kMax_Kept_Chunk_Bytes
f core/codecs/png_codec.cpp kPassColumnStart kPass_Column_Start
f core/codecs/png_codec.cpp kPassColumnStep kPass_Column_Step
EOF
}

image() {
  local raster=(core/image/raster_image.h core/image/raster_image.cpp core/codecs/raster_image_file.cpp)
  local table=(core/image/colour_table.h core/image/colour_table.cpp)
  local format=(core/image/pixel_format.h core/image/pixel_format.cpp)
  # Methods first, while their classes still have the names the table gives.
  rename_table <<EOF
m RasterImage width Width ${raster[*]} core/image/rect.h
m RasterImage height Height ${raster[*]} core/image/rect.h
m RasterImage set_width Set_Width ${raster[*]}
m RasterImage set_height Set_Height ${raster[*]}
m RasterImage set_size Set_Size ${raster[*]}
m RasterImage pixel_format Format ${raster[*]}
m RasterImage set_pixel_format_of Set_Format_Of ${raster[*]}
m RasterImage set_pixel_format Set_Format ${raster[*]}
m RasterImage colour_table Table ${raster[*]}
m RasterImage channel_masks Masks ${raster[*]}
m RasterImage stored_bits_per_pixel Stored_Bits_Per_Pixel ${raster[*]}
m RasterImage fill_colour Fill_Colour ${raster[*]}
m RasterImage set_fill_colour Set_Fill_Colour ${raster[*]}
m RasterImage pixel Pixel ${raster[*]}
m RasterImage set_pixel Set_Pixel ${raster[*]}
m RasterImage representable Representable ${raster[*]}
m RasterImage reduce_run Reduce_Run ${raster[*]}
m RasterImage stores_every_colour Stores_Every_Colour ${raster[*]}
m RasterImage stores_unchanged Stores_Unchanged ${raster[*]}
m RasterImage row Row ${raster[*]}
m RasterImage row_bytes Row_Bytes ${raster[*]}
m RasterImage index_row Index_Row ${raster[*]}
m RasterImage copy_run Copy_Run ${raster[*]}
m RasterImage from_layout From_Layout ${raster[*]}
m RasterImage blank_with_layout Blank_With_Layout ${raster[*]}
m RasterImage load_from_file Load_From_File ${raster[*]}
m RasterImage save_to_file Save_To_File ${raster[*]}
s RasterImage row_start Row_Start ${raster[*]}
s RasterImage pixel_address Pixel_Address ${raster[*]}
s RasterImage store Store ${raster[*]}
s RasterImage apply_layout Apply_Layout ${raster[*]}
s RasterImage reduce_pixels Reduce_Pixels ${raster[*]}
s RasterImage colours_of_indexes Colours_Of_Indexes ${raster[*]}
s Rect at At core/image/rect.h
m Colour packed Packed core/image/colour.h
s Colour from_packed From_Packed core/image/colour.h
m ColourTable entries Entries ${table[*]}
m ColourTable nearest_index Nearest_Index ${table[*]}
# (colour_table.cpp has a local "nearest" of its own)
m ColourTable nearest Nearest core/image/colour_table.h
m ColourTable reduce Reduce ${table[*]}
s ColourTable standard Standard ${table[*]}
s ColourTable search Search ${table[*]}
m ChannelField widen Widen ${format[*]}
m ChannelField narrow Narrow ${format[*]}
s ChannelField from_mask From_Mask ${format[*]}
s ChannelRounding for_masks For_Masks ${format[*]}
s ChannelRounding none None ${format[*]}
w RasterImage Raster_Image
w PixelFormat Pixel_Format
w ColourTable Colour_Table
w ChannelMasks Channel_Masks
w ChannelField Channel_Field
w ChannelRounding Channel_Rounding
w kMaxDimension kMax_Dimension
w kMaxEntries kMax_Entries
w has_colour_table Has_Colour_Table
w colour_table_capacity Colour_Table_Capacity
w pixel_format_from_bits Pixel_Format_From_Bits
w clip_to_both Clip_To_Both
w clip_to Clip_To
w copy_rect Copy_Rect
w stretch_draw Stretch_Draw
f core/image/colour_operations.cpp cell_means Cell_Means
f core/image/colour_operations.cpp column_sums Column_Sums
f core/image/raster_drawing.cpp copy_same_size Copy_Same_Size
f core/image/raster_drawing.cpp draw_scaled Draw_Scaled
f core/image/raster_drawing.cpp source_positions Source_Positions
f core/image/colour_table.cpp cube_and_greys Cube_And_Greys
f core/image/colour_table.cpp vga_colours Vga_Colours
f core/image/colour_table.cpp kBoxBits kBox_Bits
f core/image/colour_table.cpp kBoxColours kBox_Colours
f core/image/colour_table.cpp kChunkBytes kChunk_Bytes
f core/image/colour_table.cpp kFirstRecord kFirst_Record
f core/image/colour_table.cpp kInBox kIn_Box
f core/image/colour_table.cpp kLargestRecord kLargest_Record
f core/image/colour_table.cpp kListBytes kList_Bytes
EOF
}

support() {
  rename_table <<'EOF'
u Byte_Source|Memory_Source|Slice_Source|Input_File read Read core/support/byte_stream.h core/support/file_io.h core/support/file_io.cpp
w read_whole_file Read_Whole_File
w stamp_of_readable_file Stamp_Of_Readable_File
w write_file_atomically Write_File_Atomically
w write_file_new_or_replacing Write_File_New_Or_Replacing
w remove_temporaries_in_flight Remove_Temporaries_In_Flight
w follow_links Follow_Links
w inspect_target Inspect_Target
w create_new_file Create_New_File
w create_new_descriptor Create_New_Descriptor
w write_all_and_close Write_All_And_Close
w remove_if_abandoned Remove_If_Abandoned
w open_for_update Open_For_Update
w flush_to_disk Flush_File_To_Disk
w set_length Set_Length
w replace_with Replace_With
w is_hidden Is_Hidden
w identity_of Identity_Of
w identity_in Identity_In
w remove_file_now Remove_File_Now
f core/support/file_io.cpp seek Seek
f core/support/file_io.cpp tell Tell
f core/support/file_io.cpp kTemporarySlots kTemporary_Slots
# (only file() with no arguments: the same source has "Input_File file(path)")
s Temporary_File file(?=\(\)) Stream core/support/file_io.cpp
s Temporary_File take_place_of Take_Place_Of core/support/file_io.cpp
s Temporary_File copy_into Copy_Into core/support/file_io.cpp
c core/support/file_system_posix.cpp may_write May_Write
f core/support/file_system_posix.cpp same_file Same_File
f core/support/file_system_posix.cpp still_named Still_Named
f core/support/file_system_win.cpp os_handle Os_Handle
f core/support/file_system_win.cpp without_long_prefix Without_Long_Prefix
f core/support/file_system_win.cpp kShareAll kShare_All
f core/support/file_system_win.cpp kInternalInformation kInternal_Information
EOF
}

# Extension_Part and Ascii_Upper (with the two parts they build on) leave tiles for
# support/path_text.h, in namespace tilvane, so that the codecs no longer reach into tiles.
path_text() {
  cat >core/support/path_text.h <<'EOF'
#pragma once
// Parts of path text (UTF-8 bytes, the backslash as separator), for any layer that reads names.
#include <string>
#include <string_view>

namespace tilvane {

// The text up to and including the last backslash or colon; empty when there is neither.
[[nodiscard]] std::string_view Directory_Part(std::string_view path);

// The part after the directory part: the file name.
[[nodiscard]] std::string_view File_Name_Part(std::string_view path);

// From the last "." of the part after the directory part, that "." included, to the end; empty
// when that part has no ".".
[[nodiscard]] std::string_view Extension_Part(std::string_view path);

// Letters a to z made upper case, nothing else: comparisons that must not depend on the locale.
[[nodiscard]] std::string Ascii_Upper(std::string_view text);

}  // namespace tilvane
EOF
  cat >core/support/path_text.cpp <<'EOF'
#include "support/path_text.h"

#include <algorithm>

namespace tilvane {

std::string_view Directory_Part(std::string_view path) {
    const std::size_t last = path.find_last_of("\\:");
    return last == std::string_view::npos ? std::string_view{} : path.substr(0, last + 1);
}

std::string_view File_Name_Part(std::string_view path) { return path.substr(Directory_Part(path).size()); }

std::string_view Extension_Part(std::string_view path) {
    const std::string_view name = File_Name_Part(path);
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string_view{} : name.substr(dot);
}

std::string Ascii_Upper(std::string_view text) {
    std::string upper(text);
    // Only a to z: the result must not depend on the locale.
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
    return upper;
}

}  // namespace tilvane
EOF
  git add core/support/path_text.h core/support/path_text.cpp
  perl -0pi -e 's{// The text up to and including.*?File_Name_Part\(std::string_view path\);\n\n}{}s;
                s{// Letters a to z made.*?Extension_Part\(std::string_view path\);\n\n}{}s;
                s{(#include <string_view>\n)}{$1\n#include "support/path_text.h"\n}' core/tiles/file_names.h
  perl -0pi -e 's#std::string_view Directory_Part\(.*?\n}\n\nstd::string_view File_Name_Part[^\n]*\n\n##s;
                s#std::string Ascii_Upper\(.*?\n}\n\n##s;
                s#std::string_view Extension_Part\(.*?\n}\n\n##s' core/tiles/file_names.cpp
  perl -pi -e 's/\btiles::(Directory_Part|File_Name_Part|Extension_Part|Ascii_Upper)\b/tilvane::$1/g' "${code[@]}"
  perl -pi -e 's{#include "tiles/file_names.h"}{#include "support/path_text.h"}' core/codecs/picture_file.cpp
}

case ${1:-} in
  codecs | image | support) "$1" ;;
  path-text) path_text ;;
  *) echo "usage: rename-names.sh codecs|image|support|path-text" >&2; exit 2 ;;
esac

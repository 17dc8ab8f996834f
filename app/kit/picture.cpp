#include "kit/picture.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "codecs/little_endian.h"
#include "codecs/picture_file.h"
#include "support/error.h"
#include "support/file_io.h"
#include "tiles/file_names.h"
#include "win/text.h"
#include "win/windows_error.h"

namespace tilvane::kit {
namespace {

constexpr std::uint32_t kPlaceable_Key = 0x9AC6CDD7;
constexpr std::size_t kPlaceable_Header_Bytes = 22;
constexpr std::size_t kMetafile_Header_Bytes = 18;

std::string Lower_Ascii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

win::Windows_Error Not_Valid(const char* kind) { return win::Windows_Error(win::Windows_Failure::Picture_Not_Valid, kind); }

// A top-down 24-bit DIB section holding the image's pixels.
win::Gdi_Object<HBITMAP> To_Bitmap(const Raster_Image& image) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = image.Width();
    info.bmiHeader.biHeight = -image.Height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    win::Gdi_Object<HBITMAP> bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap) throw win::Windows_Error(win::Windows_Failure::Out_Of_Resources);
    const std::size_t stride = (image.Row_Bytes() + 3) / 4 * 4;
    for (int y = 0; y < image.Height(); ++y)
        std::memcpy(static_cast<std::uint8_t*>(bits) + stride * static_cast<std::size_t>(y), image.Row(y), image.Row_Bytes());
    return bitmap;
}

// The picture's size on the screen, from the metafile's frame in hundredths of a millimetre.
SIZE Metafile_Size(HENHMETAFILE metafile) {
    ENHMETAHEADER header{};
    GetEnhMetaFileHeader(metafile, sizeof header, &header);
    const win::Window_Dc screen(nullptr);
    const int dpi_x = GetDeviceCaps(screen.Get(), LOGPIXELSX), dpi_y = GetDeviceCaps(screen.Get(), LOGPIXELSY);
    const RECTL& frame = header.rclFrame;
    return {MulDiv(frame.right - frame.left, dpi_x, 2540), MulDiv(frame.bottom - frame.top, dpi_y, 2540)};
}

// A Windows metafile, with or without the placeable header that gives its size in inches.
win::Enhanced_Metafile Load_Windows_Metafile(const std::vector<std::uint8_t>& bytes) {
    const bool placeable = bytes.size() >= kPlaceable_Header_Bytes && Load_U32_Le(bytes.data()) == kPlaceable_Key;
    const std::size_t start = placeable ? kPlaceable_Header_Bytes : 0;
    if (bytes.size() < start + kMetafile_Header_Bytes) throw Not_Valid("Metafile");
    const std::uint16_t type = Load_U16_Le(bytes.data() + start), header_words = Load_U16_Le(bytes.data() + start + 2);
    if ((type != 1 && type != 2) || header_words != 9) throw Not_Valid("Metafile");
    METAFILEPICT picture{MM_ANISOTROPIC, 0, 0, nullptr};
    if (placeable) {
        const auto left = static_cast<std::int16_t>(Load_U16_Le(bytes.data() + 6));
        const auto top = static_cast<std::int16_t>(Load_U16_Le(bytes.data() + 8));
        const auto right = static_cast<std::int16_t>(Load_U16_Le(bytes.data() + 10));
        const auto bottom = static_cast<std::int16_t>(Load_U16_Le(bytes.data() + 12));
        const int inch = std::max<int>(Load_U16_Le(bytes.data() + 14), 1);
        picture.xExt = MulDiv(std::abs(right - left), 2540, inch);
        picture.yExt = MulDiv(std::abs(bottom - top), 2540, inch);
    }
    win::Enhanced_Metafile metafile(SetWinMetaFileBits(static_cast<UINT>(bytes.size() - start), bytes.data() + start,
                                                       nullptr, placeable ? &picture : nullptr));
    if (!metafile) throw Not_Valid("Metafile");
    return metafile;
}

}  // namespace

Picture Picture::Load_File(const std::string& utf8_path, Picture_Formats formats) {
    const std::string_view typed_extension = tilvane::Extension_Part(utf8_path);
    const std::string extension = Lower_Ascii(typed_extension);
    Picture picture;
    // Of the core's formats, the picture control shows those it always has; the others only
    // where every format is taken.
    const Picture_Format* format = Format_For_Path(utf8_path);
    if (format && (format->previewed_without_photo_formats || formats == Picture_Formats::By_Extension)) {
        const Raster_Image image = Load_Picture(utf8_path);
        picture.bitmap_ = To_Bitmap(image);
        picture.size_ = {image.Width(), image.Height()};
    } else if (extension == ".ico") {
        Input_File readable(utf8_path);  // an unreadable file fails as every other picture does
        picture.icon_.Reset(static_cast<HICON>(
            LoadImageW(nullptr, win::To_Wide(utf8_path).c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE)));
        if (!picture.icon_) throw Not_Valid("Icon");
        ICONINFO info{};
        GetIconInfo(picture.icon_.Get(), &info);
        const win::Gdi_Object<HBITMAP> mask_bitmap(info.hbmMask), colour_bitmap(info.hbmColor);
        BITMAP mask{};
        GetObjectW(mask_bitmap.Get(), sizeof mask, &mask);
        picture.size_ = {mask.bmWidth, colour_bitmap ? mask.bmHeight : mask.bmHeight / 2};
    } else if (extension == ".wmf" || extension == ".emf") {
        const std::vector<std::uint8_t> bytes = Read_Whole_File(utf8_path);
        picture.metafile_ = extension == ".wmf" ? Load_Windows_Metafile(bytes)
                                                : win::Enhanced_Metafile(SetEnhMetaFileBits(
                                                      static_cast<UINT>(bytes.size()), bytes.data()));
        if (!picture.metafile_) throw Not_Valid("Metafile");
        picture.size_ = Metafile_Size(picture.metafile_.Get());
    } else {
        throw Error::Unknown_Extension(utf8_path);
    }
    return picture;
}

void Picture::Draw(HDC dc) const {
    if (bitmap_) {
        const win::Memory_Dc memory(CreateCompatibleDC(dc));
        const win::Selected selected(memory.Get(), bitmap_.Get());
        BitBlt(dc, 0, 0, size_.cx, size_.cy, memory.Get(), 0, 0, SRCCOPY);
    } else if (icon_) {
        DrawIconEx(dc, 0, 0, icon_.Get(), size_.cx, size_.cy, 0, nullptr, DI_NORMAL);
    } else if (metafile_) {
        const RECT area{0, 0, size_.cx, size_.cy};
        PlayEnhMetaFile(dc, metafile_.Get(), &area);
    }
}

}  // namespace tilvane::kit

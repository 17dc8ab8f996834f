#include "codecs/picture_format.h"

#include <algorithm>

#include "support/error.h"
#include "support/path_text.h"

namespace tilvane {

bool Picture_Format::Claims_Extension(std::string_view upper_extension) const {
    return std::any_of(extensions.begin(), extensions.end(),
                       [&](const char* extension) { return extension && upper_extension == extension; });
}

bool Picture_Format::Starts(std::span<const std::uint8_t> head) const {
    if (head.size() < signature.size()) return false;
    for (std::size_t i = 0; i < signature.size(); ++i)
        if (signature[i] != '?' && head[i] != static_cast<std::uint8_t>(signature[i])) return false;
    return true;
}

const Picture_Format& Bitmap_Format() { return Picture_Format_Table().front(); }

std::span<const Picture_Format> Formats_Taken(Picture_Formats formats) {
    return formats == Picture_Formats::Bmp_Only ? Picture_Format_Table().first(1) : Picture_Format_Table();
}

const Picture_Format* Format_For_Path(std::string_view path) {
    const std::string extension = tilvane::Ascii_Upper(tilvane::Extension_Part(path));
    for (const Picture_Format& format : Picture_Format_Table())
        if (format.Claims_Extension(extension)) return &format;
    return nullptr;
}

const Picture_Format* Output_Format(std::string_view path, Picture_Formats formats) {
    if (formats == Picture_Formats::Bmp_Only) return &Bitmap_Format();
    const Picture_Format* format = Format_For_Path(path);
    return format && format->open_writer ? format : nullptr;
}

const Picture_Format& Format_To_Read(std::string_view path, const Byte_Source& source, Picture_Formats formats) {
    if (formats == Picture_Formats::Bmp_Only) return Bitmap_Format();
    const Picture_Format* named = Format_For_Path(path);
    if (!named) throw Error::Unknown_Extension(std::string(path));
    std::array<std::uint8_t, 16> head{};
    const std::size_t length = std::min<std::uint64_t>(head.size(), source.size());
    if (!source.Read(0, std::span(head).first(length))) return *named;
    for (const Picture_Format& other : Picture_Format_Table())
        if (other.Starts(std::span(head).first(length))) return other;
    return *named;
}

}  // namespace tilvane

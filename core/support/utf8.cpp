#include "support/utf8.h"

#include <cstddef>

namespace tilvane {

bool Is_Valid_Utf8(std::string_view text) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char lead = byte(i);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        // The lead byte gives the length and the range of the first continuation byte, which
        // rules out overlong forms, surrogates and code points past U+10FFFF.
        std::size_t length = 0;
        unsigned char low = 0x80, high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            if (lead == 0xE0) low = 0xA0;
            if (lead == 0xED) high = 0x9F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            if (lead == 0xF0) low = 0x90;
            if (lead == 0xF4) high = 0x8F;
        } else {
            return false;
        }
        if (text.size() - i < length) return false;
        if (byte(i + 1) < low || byte(i + 1) > high) return false;
        for (std::size_t k = 2; k < length; ++k) {
            if ((byte(i + k) & 0xC0) != 0x80) return false;
        }
        i += length;
    }
    return true;
}

std::string File_Text_As_Utf8(std::string_view bytes, const Legacy_Text_Decoder& decode_legacy) {
    constexpr std::string_view kByte_Order_Mark = "\xEF\xBB\xBF";
    if (bytes.starts_with(kByte_Order_Mark)) bytes.remove_prefix(kByte_Order_Mark.size());
    return decode_legacy && !Is_Valid_Utf8(bytes) ? decode_legacy(bytes) : std::string(bytes);
}

}  // namespace tilvane

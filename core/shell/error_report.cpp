#include "shell/error_report.h"

namespace tilvane::shell {

std::string Error_Text(const std::exception& error) {
    const auto* core = dynamic_cast<const Error*>(&error);
    if (!core) return error.what();
    switch (core->Kind()) {
        case Error_Kind::Cannot_Open: return "Cannot open file " + core->Path();
        case Error_Kind::Not_Valid: return "Bitmap image is not valid";
        case Error_Kind::Cannot_Create: return "Cannot create file " + core->Path();
        case Error_Kind::Invalid_Pixel_Format: return "Invalid pixel format";
        case Error_Kind::Jpeg_Not_Valid: return "JPEG image is not valid";
        case Error_Kind::Png_Not_Valid: return "PNG image is not valid";
    }
    return core->what();
}

std::string With_Full_Stop(std::string text) {
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
    return text;
}

}  // namespace tilvane::shell

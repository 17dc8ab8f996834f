#include "support/error.h"

namespace tilvane {

const char* Error::what() const noexcept {
    switch (kind_) {
        case Error_Kind::Cannot_Open: return "tilvane::Error: cannot open";
        case Error_Kind::Not_Valid: return "tilvane::Error: not a valid bitmap";
        case Error_Kind::Cannot_Create: return "tilvane::Error: cannot create";
        case Error_Kind::Invalid_Pixel_Format: return "tilvane::Error: invalid pixel format";
        case Error_Kind::Jpeg_Not_Valid: return "tilvane::Error: not a valid JPEG image";
        case Error_Kind::Png_Not_Valid: return "tilvane::Error: not a valid PNG image";
    }
    return "tilvane::Error";
}

}  // namespace tilvane

#include "shell/error_text.h"

namespace tilvane::shell {

std::string With_Full_Stop(std::string text) {
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
    return text;
}

}  // namespace tilvane::shell

#include "kit/fonts.h"

#include <map>
#include <tuple>

#include "win/handles.h"

namespace tilvane::kit {
namespace {

class Font_Cache {
public:
    HFONT Get(int points, bool bold, bool underline) {
        auto [it, added] = fonts_.try_emplace({points, bold, underline});
        if (added) {
            it->second.Reset(CreateFontW(-MulDiv(points, kDesign_Dpi, 72), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE,
                                         underline, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                         DEFAULT_QUALITY, DEFAULT_PITCH | FF_ROMAN, L"Times New Roman"));
        }
        return it->second.Get();
    }

private:
    std::map<std::tuple<int, bool, bool>, win::Gdi_Object<HFONT>> fonts_;
};

}  // namespace

int Screen_Dpi() {
    const win::Window_Dc screen(nullptr);
    const int dpi = GetDeviceCaps(screen.Get(), LOGPIXELSY);
    return dpi > 0 ? dpi : kDesign_Dpi;
}

HFONT Times_Font(int points, bool bold, bool underline) {
    static Font_Cache cache;
    return cache.Get(points, bold, underline);
}

}  // namespace tilvane::kit

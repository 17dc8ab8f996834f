#include "about/about_box.h"

#include <cmath>

namespace tilvane::app {
namespace {

constexpr int kClient_Width = 622, kClient_Height = 411;

}  // namespace

TAboutBox::TAboutBox(progress::Clock& clock, shell::Random_Source& random)
    : Form({L"TAboutBox", L"About Tilvane v1.0f ...", kClient_Width, kClient_Height, WS_POPUP | WS_CAPTION}),
      OKButton(*this, {"OKButton", {(kClient_Width - 90) / 2, kClient_Height - 40, 90, 28}, L"OK"}) {
    Set_Client_Size(kClient_Width, kClient_Height);
    random.Seed(static_cast<std::uint64_t>(std::llround(clock.Now() * progress::kMilliseconds_Per_Day)));
    OKButton.On_Click = [this] { OKButtonClick(); };
    On_Cancel = [this] { OKButtonClick(); };
}

void TAboutBox::OKButtonClick() { Hide(); }

}  // namespace tilvane::app

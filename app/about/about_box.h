#pragma once
// The About box. Its full content comes with its own change; for now it is a plain modal window
// with its caption and an OK button. Its creation seeds the program's one random generator.
#include "kit/controls.h"
#include "kit/form.h"
#include "progress/progress_clock.h"
#include "shell/random_source.h"

namespace tilvane::app {

class TAboutBox final : public kit::Form {
public:
    TAboutBox(progress::Clock& clock, shell::Random_Source& random);
    ~TAboutBox() override { Destroy_Window(); }

    void OKButtonClick();

    kit::Push_Button OKButton;
};

}  // namespace tilvane::app

#pragma once
// The program's three windows, created once each in this order, and the services they share.
#include "about/about_box.h"
#include "main_window/main_form.h"
#include "main_window/program_services.h"
#include "progress/progress_form.h"

namespace tilvane::app {

class Program {
public:
    explicit Program(const Program_Services& services);

    Program_Services Services;
    TMainForm1 MainForm1;
    TAboutBox AboutBox;
    TProgress_Form Progress_Form;
};

}  // namespace tilvane::app

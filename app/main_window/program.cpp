#include "main_window/program.h"

#include "kit/application.h"
#include "tiles/file_names.h"

namespace tilvane::app {
namespace {

// Every window made after this reports its errors through these boxes.
const Program_Services& Connected(const Program_Services& services) {
    kit::Current_Application().Use_Message_Boxes(services.boxes);
    return services;
}

}  // namespace

Program::Program(const Program_Services& services)
    : Services(Connected(services)),
      MainForm1(Services, AboutBox, Progress_Form),
      AboutBox(MainForm1.Handle(), Services.clock, Services.random, Services.shell,
               std::string(tilvane::File_Name_Part(Services.program_path))),
      Progress_Form(Services.clock, MainForm1.Handle()) {}

}  // namespace tilvane::app

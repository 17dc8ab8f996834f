// The Help buttons and the Help menu's documents: the guide opened by the shell, the catalog in
// Notepad.
#include "desktop/file_system.h"
#include "kit/application.h"
#include "main_window/main_form.h"
#include "about/about_box.h"
#include "win/text.h"

namespace tilvane::app {
namespace {

void Inform(HWND owner, std::wstring text) {
    kit::Application& application = kit::Current_Application();
    application.Boxes().Show(owner, {std::move(text), application.Title, desktop::Box_Icon::Information,
                                     desktop::Box_Buttons::Ok});
}

}  // namespace

void TMainForm1::Connect_Help_Handlers() {
    mosaic_page.Help_BitBtn.On_Click = [this] { Help_BitBtnClick(); };
    extract_page.BitBtn1.On_Click = [this] { Help_BitBtnClick(); };
    Help_and_StepbyStepGuide_Option.On_Click = [this] { Help_and_StepbyStepGuide_OptionClick(); };
    View_Shareware_Catalog_Option.On_Click = [this] { View_Shareware_Catalog_OptionClick(); };
}

void TMainForm1::Help_BitBtnClick() { services_.shell.Shell_Open_File(Program_Directory() + "Tilvane.pdf"); }

void TMainForm1::Help_and_StepbyStepGuide_OptionClick() { Help_BitBtnClick(); }

void TMainForm1::View_Shareware_Catalog_OptionClick() {
    View_Catalog_Text(about_box_.Product_Name_Label.Text());
}

void TMainForm1::View_Catalog_Text(const std::wstring& product_name) {
    const std::string path = Program_Directory() + "catalog.txt";
    if (desktop::File_Exists(path)) {
        View_Text_File(path);
        return;
    }
    Inform(Handle(), L"Varnok's Shareware Catalog is not in the same directory as " + product_name + L".  " +
                         L"The required file 'catalog.txt' was included in the " +
                         L"distribution ZIP file.  Please unzip this file and try again.");
}

void TMainForm1::View_Text_File(const std::string& path) {
    desktop::Desktop_Shell& shell = services_.shell;
    if (!desktop::File_Exists(shell.Windows_Directory() + "\\Notepad.EXE")) {
        Inform(Handle(), L"Windows Notepad could not be found.");
        return;
    }
    // Unquoted, as Notepad takes the rest of its command line as one name, spaces and all.
    shell.Start_Program("Notepad.exe " + path);
}

}  // namespace tilvane::app

#include <gtest/gtest.h>

#include <windows.h>

#include <commdlg.h>

#include <filesystem>
#include <string>
#include <vector>

#include "main_window/main_form.h"
#include "test_support.h"
#include "win/text.h"

namespace tilvane::app {
namespace {

class FileNameTest : public ::testing::Test, protected testing_support::Test_Program {
protected:
    FileNameTest() { main.Show_Main_Window(); }
    ~FileNameTest() override { testing_support::Pump_And_Forget_Quit(); }

    static void Click(const kit::Control& button) { SendMessageW(button.Handle(), BM_CLICK, 0, 0); }
    std::wstring Program_Directory() const { return win::To_Wide(folder.Path()); }

    TMainForm1& main = program.MainForm1;
};

struct Single_Picker {
    const char* name;
    kit::Push_Button& (*button)(TMainForm1&);
    kit::Edit& (*field)(TMainForm1&);
    const wchar_t* title;
    DWORD options;
};

const Single_Picker kSingle_Pickers[] = {
    {"original", [](TMainForm1& m) -> kit::Push_Button& { return m.mosaic_page.Input_File_Name_SpeedButton; },
     [](TMainForm1& m) -> kit::Edit& { return m.mosaic_page.Input_File_Name_Edit; }, L"Select Original Picture :",
     OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST},
    {"output", [](TMainForm1& m) -> kit::Push_Button& { return m.mosaic_page.Output_File_Name_SpeedButton; },
     [](TMainForm1& m) -> kit::Edit& { return m.mosaic_page.Output_File_Name_Edit; }, L"Select Output Mosaic File :",
     OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT},
    {"mosaic to cut",
     [](TMainForm1& m) -> kit::Push_Button& { return m.extract_page.Extract_Mosaic_Bitmap_File_Name_SpeedButton; },
     [](TMainForm1& m) -> kit::Edit& { return m.extract_page.Extract_Mosaic_Bitmap_File_Name_Edit; },
     L"Select Original Picture :", OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST},
};

TEST_F(FileNameTest, ASinglePickerStartsInTheRememberedDirectoryAndFillsItsFieldOnOk) {
    for (const Single_Picker& p : kSingle_Pickers) {
        SCOPED_TRACE(p.name);
        kit::Edit& field = p.field(main);
        field.Set_Text(L"");
        main.file_fields.Last_Mosaic_Directory_Edit = L"..";
        picker.answers.push_back({L"C:\\Pics\\\\x.bmp"});
        Click(p.button(main));
        const desktop::Picker_Request& request = picker.requests.back();
        EXPECT_EQ(request.title, p.title);
        EXPECT_EQ(request.filter, L"Bitmap files (*.bmp)|*.bmp");
        EXPECT_EQ(request.options, p.options);
        EXPECT_EQ(request.initial_directory, Program_Directory()) << "\"..\" is no usable directory";
        EXPECT_EQ(request.file_name, L"");
        EXPECT_EQ(field.Text(), L"C:\\Pics\\\\x.bmp");
        EXPECT_EQ(main.file_fields.Last_Mosaic_Directory_Edit, L"C:\\Pics\\") << "normalised";
        EXPECT_TRUE(boxes.shown.empty());
    }
}

TEST_F(FileNameTest, ASinglePickerOpenedOnAnExistingFileStartsThereAndKeepsThatDirectoryOnCancel) {
    std::filesystem::create_directory(win::To_Wide(folder.Path() + "sub"));
    const std::string existing = folder.Path() + "sub\\\\m.bmp";
    testing_support::Write_File(existing, "x");
    for (const Single_Picker& p : kSingle_Pickers) {
        SCOPED_TRACE(p.name);
        kit::Edit& field = p.field(main);
        field.Set_Text(win::To_Wide(existing));
        main.file_fields.Last_Mosaic_Directory_Edit = L"C:\\elsewhere\\";
        Click(p.button(main));  // Cancel
        const desktop::Picker_Request& request = picker.requests.back();
        EXPECT_EQ(request.initial_directory, win::To_Wide(folder.Path() + "sub\\\\")) << "not normalised";
        EXPECT_EQ(request.file_name, win::To_Wide(existing));
        EXPECT_EQ(main.file_fields.Last_Mosaic_Directory_Edit, win::To_Wide(folder.Path() + "sub\\\\"));
        EXPECT_EQ(field.Text(), win::To_Wide(existing));

        field.Set_Text(L"C:\\not\\there.bmp");
        main.file_fields.Last_Mosaic_Directory_Edit = win::To_Wide(folder.Path() + "sub\\");
        Click(p.button(main));  // Cancel: the pre-filled name is cleared, the existing directory kept
        EXPECT_EQ(picker.requests.back().file_name, L"");
        EXPECT_EQ(picker.requests.back().initial_directory, win::To_Wide(folder.Path() + "sub\\"));
        EXPECT_EQ(field.Text(), L"C:\\not\\there.bmp");
    }
}

TEST_F(FileNameTest, ViewButtonsHandAnyExistingFileToTheShellAndOtherwiseSayWhy) {
    const std::string text_file = folder.Path() + "notes \xe2\x98\x95.txt";
    testing_support::Write_File(text_file, "x");
    const struct {
        const char* name;
        kit::Push_Button& (*button)(TMainForm1&);
        kit::Edit& (*field)(TMainForm1&);
        const wchar_t* message;
    } cases[] = {
        {"original", [](TMainForm1& m) -> kit::Push_Button& { return m.mosaic_page.View_Original_Image_SpeedButton; },
         [](TMainForm1& m) -> kit::Edit& { return m.mosaic_page.Input_File_Name_Edit; },
         L"Error: The Original Image file name is blank or the file does not exist."},
        {"output", [](TMainForm1& m) -> kit::Push_Button& { return m.mosaic_page.View_Mosaic_SpeedButton; },
         [](TMainForm1& m) -> kit::Edit& { return m.mosaic_page.Output_File_Name_Edit; },
         L"Error: The Output file name is blank or the file does not exist."},
        {"mosaic to cut", [](TMainForm1& m) -> kit::Push_Button& { return m.extract_page.View_Mosaic_2_SpeedButton; },
         [](TMainForm1& m) -> kit::Edit& { return m.extract_page.Extract_Mosaic_Bitmap_File_Name_Edit; },
         L"Error: The Mosaic file name is blank or the file does not exist."},
    };

    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        kit::Edit& field = c.field(main);
        for (const std::wstring& absent : {std::wstring(), std::wstring(L"notes"), win::To_Wide(folder.Path())}) {
            boxes.shown.clear();
            field.Set_Text(absent);
            main.mosaic_page.Exit_BitBtn.Focus();
            Click(c.button(main));
            ASSERT_EQ(boxes.shown.size(), 1u);
            EXPECT_EQ(boxes.shown[0].text, c.message);
            EXPECT_EQ(boxes.shown[0].icon, desktop::Box_Icon::Error);
            EXPECT_EQ(GetFocus(), field.Handle());
            EXPECT_EQ(field.Text(), absent) << "no completion";
        }
        shell.opened.clear();
        field.Set_Text(win::To_Wide(text_file));
        boxes.shown.clear();  // naming a file in the mosaic field previews it, with its own report
        Click(c.button(main));
        EXPECT_TRUE(boxes.shown.empty());
        EXPECT_EQ(shell.opened, std::vector<std::string>{text_file});
    }
}

}  // namespace
}  // namespace tilvane::app

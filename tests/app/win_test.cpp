#include <gtest/gtest.h>

#include <stdexcept>
#include <utility>

#include "support/error.h"
#include "test_support.h"
#include "win/guarded.h"
#include "win/handles.h"
#include "win/text.h"
#include "win/windows_error.h"

namespace tilvane::win {
namespace {

using testing_support::Boxes_In_Use;
using testing_support::Recording_Message_Boxes;

TEST(Guarded, AnEscapingErrorIsReportedAndTheCallbackGivesItsFallback) {
    Recording_Message_Boxes boxes;
    const Boxes_In_Use in_use(boxes);
    EXPECT_EQ(Guarded([] { return 7; }, -1), 7);
    EXPECT_EQ(Guarded([]() -> int { throw Error::Cannot_Open("C:\\gone.bmp"); }, -1), -1);
    EXPECT_EQ(Guarded([]() -> int { throw std::runtime_error("Out of system resources"); }, 1), 1);
    EXPECT_EQ(Guarded([]() -> LRESULT { throw 42; }), 0);
    ASSERT_EQ(boxes.shown.size(), 3u);
    EXPECT_EQ(boxes.shown[0].text, L"Cannot open file C:\\gone.bmp.");
    EXPECT_EQ(boxes.shown[1].text, L"Out of system resources.");
    EXPECT_EQ(boxes.shown[2].text, L"Unexpected error.");
}

// The adapters' errors carry what failed; the report gives them the words the user has always read.
TEST(Guarded, TheAdaptersErrorsReachTheReportInTheirWords) {
    using F = Windows_Failure;
    const std::pair<Windows_Error, std::wstring> cases[] = {
        {Windows_Error(F::Registry_Write_Refused, "\\Software\\Run", 5, "A.EXE"),
         L"The registry refused to store \"A.EXE\" in the registry key \"\\Software\\Run\" (error 5)"},
        {Windows_Error(F::Registry_Value_Not_Text, "K", 0, "v"), L"The value \"v\" in the registry key \"K\" is not text."},
        {Windows_Error(F::Registry_Read_Failed, "K", 234, "v"),
         L"The value \"v\" in the registry key \"K\" could not be read (error 234)"},
        {Windows_Error(F::Shortcut_Step_Failed, "asking for IPersistFile", 0x80004002UL),
         L"The shell could not make a shortcut: asking for IPersistFile failed (0x80004002)"},
        {Windows_Error(F::Picker_Failed, {}, 12290), L"The file picker failed (12290)"},
        {Windows_Error(F::Picture_Not_Valid, "Icon"), L"Icon image is not valid."},
        {Windows_Error(F::Out_Of_Resources), L"Out of system resources."},
        {Windows_Error(F::Window_Not_Created), L"Windows refused to create a window."},
        {Windows_Error(F::Window_Not_Created, "Tiles_ListBox"), L"Windows refused to create the control Tiles_ListBox."},
        {Windows_Error(F::List_Too_Long, {}, 70000), L"The list cannot hold 70000 items."},
        {Windows_Error(F::Program_Path_Unknown), L"The program's own path is not known."},
        {Windows_Error(F::Windows_Directory_Unknown), L"The Windows directory is not known."},
        {Windows_Error(F::No_Sort_Key, "caf\xc3\xa9"), L"No sort key for caf\u00e9."},
    };
    Recording_Message_Boxes boxes;
    const Boxes_In_Use in_use(boxes);
    for (const auto& [error, text] : cases) {
        SCOPED_TRACE(To_Utf8(text));
        boxes.shown.clear();
        EXPECT_EQ(Guarded([&error]() -> int { throw error; }, -1), -1);
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].text, text);
    }
}

TEST(Owned, AHandleIsClosedOnceByWhicheverOwnerHoldsItLast) {
    const auto open = [](HANDLE handle) {
        DWORD flags = 0;
        return GetHandleInformation(handle, &flags) != FALSE;
    };
    const HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    {
        Kernel_Handle first(event);
        Kernel_Handle second(std::move(first));
        EXPECT_FALSE(first);
        first = std::move(second);
        EXPECT_TRUE(open(event));
    }
    EXPECT_FALSE(open(event));
}

}  // namespace
}  // namespace tilvane::win

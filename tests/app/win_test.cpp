#include <gtest/gtest.h>

#include <stdexcept>
#include <utility>

#include "support/error.h"
#include "test_support.h"
#include "win/guarded.h"
#include "win/handles.h"

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

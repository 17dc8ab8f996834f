#include "support/work_crew.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>

namespace tilvane {
namespace {

TEST(WorkCrewTest, RunsEveryPartOfEveryJobOnce) {
    Work_Crew crew(3);
    ASSERT_EQ(crew.Size(), 3u);
    for (int job = 0; job < 50; ++job) {
        std::vector<std::atomic<int>> runs(crew.Size());
        crew.Run([&](unsigned part) { ++runs[part]; });
        for (const auto& count : runs) ASSERT_EQ(count.load(), 1) << "job " << job;
    }
}

TEST(WorkCrewTest, RethrowsTheLowestFailingPartAndStaysUsable) {
    Work_Crew crew(3);
    try {
        crew.Run([](unsigned part) {
            if (part > 0) throw std::runtime_error("part " + std::to_string(part));
        });
        ADD_FAILURE() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "part 1");
    }
    std::atomic<int> runs{0};
    crew.Run([&](unsigned) { ++runs; });
    EXPECT_EQ(runs.load(), 3);
}

}  // namespace
}  // namespace tilvane

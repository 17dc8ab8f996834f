#pragma once
// A fresh folder per test under the system's temporary folder, removed afterwards, with paths
// handed out as the UTF-8 text the core works with. The process id keeps two runs of the suite
// at once (native and sanitized, two checkouts) out of each other's files.
#include <gtest/gtest.h>
#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

#include <filesystem>
#include <string>
#include <vector>

namespace tilvane::testing_support {

class Temp_Folder {
public:
    Temp_Folder() {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        folder_ = std::filesystem::temp_directory_path() /
                  (std::string("tilvane-") + test->test_suite_name() + "-" + test->name() + "-" +
                   std::to_string(Process_Id()));
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
    }
    ~Temp_Folder() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    Temp_Folder(const Temp_Folder&) = delete;
    Temp_Folder& operator=(const Temp_Folder&) = delete;

    const std::filesystem::path& Folder() const { return folder_; }
    std::string Path(const std::string& name) const {
        const std::u8string text = (folder_ / std::filesystem::path(std::u8string(name.begin(), name.end()))).u8string();
        return {text.begin(), text.end()};
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder_)) {
            const std::u8string name = entry.path().filename().u8string();
            names.emplace_back(name.begin(), name.end());
        }
        return names;
    }

private:
#ifdef _WIN32
    static int Process_Id() { return _getpid(); }
#else
    static int Process_Id() { return static_cast<int>(getpid()); }
#endif
    std::filesystem::path folder_;
};

}  // namespace tilvane::testing_support

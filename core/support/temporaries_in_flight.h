#pragma once
#include <filesystem>

namespace tilvane {

// Marks a temporary file as being written while it lives, so that a program being ended by a
// signal can remove it first (Remove_Temporaries_In_Flight).
class Temporary_In_Flight {
public:
    explicit Temporary_In_Flight(const std::filesystem::path& path);
    ~Temporary_In_Flight();
    Temporary_In_Flight(const Temporary_In_Flight&) = delete;
    Temporary_In_Flight& operator=(const Temporary_In_Flight&) = delete;

private:
    int slot_ = -1;
    std::filesystem::path::value_type* name_ = nullptr;
};

// Removes every temporary file being written at this moment. Safe in a signal handler; the
// saves those files belonged to fail, so the program should end after it.
void Remove_Temporaries_In_Flight() noexcept;

}  // namespace tilvane

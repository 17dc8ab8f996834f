#include "about/free_resources.h"

#include <cmath>

namespace tilvane::app {

std::wstring Free_Resources_Percent(const MEMORYSTATUSEX& status) {
    const double total_physical = double(status.ullTotalPhys / 1024);
    const double free_physical = double(status.ullAvailPhys / 1024);
    const double total_page_file = double(status.ullTotalPageFile) / 1024.0;
    const double free_page_file = double(status.ullAvailPageFile) / 1024.0;
    const double total = total_physical + total_page_file;
    if (total <= 0) return L"0%";
    // Scaled before dividing, so that a share of exactly one half percent rounds up as it should.
    return std::to_wstring(std::llround((free_physical + free_page_file) * 100.0 / total)) + L"%";
}

std::wstring Free_Resources_Percent() {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    if (!GlobalMemoryStatusEx(&status)) return L"0%";
    return Free_Resources_Percent(status);
}

}  // namespace tilvane::app

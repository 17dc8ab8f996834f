#pragma once
// The About box's free-memory figure: free physical memory and page file together as a share of
// their totals, from the 64-bit memory status so that it is right past 4 GB.
#include <windows.h>

#include <string>

namespace tilvane::app {

// The share, rounded to a whole percent, as "57%". Physical figures count in whole KiB, the page
// file's exactly; with no totals at all the share is "0%".
[[nodiscard]] std::wstring Free_Resources_Percent(const MEMORYSTATUSEX& status);
// The same for the machine now.
[[nodiscard]] std::wstring Free_Resources_Percent();

}  // namespace tilvane::app

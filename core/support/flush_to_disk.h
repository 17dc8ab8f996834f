#pragma once

namespace tilvane {

// Whether a save waits until its data is on the disk before it takes the old file's place, so
// that a power cut leaves the old file or the new one. Files written by the thousand, which
// the user can write again, may skip the wait.
enum class Flush_To_Disk : bool { No, Yes };

}  // namespace tilvane

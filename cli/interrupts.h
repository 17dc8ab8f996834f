#pragma once

namespace tilvane::cli {

// Makes Ctrl-C and a request to end (SIGTERM, and a closed terminal where there is one) remove
// the file a save is writing before the tool ends as those signals end it.
void Remove_Temporaries_On_Interrupt();

}  // namespace tilvane::cli

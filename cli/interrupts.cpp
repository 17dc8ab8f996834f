#include "interrupts.h"

#include <csignal>

#include "support/temporaries_in_flight.h"

namespace tilvane::cli {
namespace {

extern "C" void on_interrupt(int signal) {
    Remove_Temporaries_In_Flight();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

}  // namespace

void Remove_Temporaries_On_Interrupt() {
    constexpr int kEnding_Signals[] = {SIGINT, SIGTERM,
#ifdef SIGHUP
                                      SIGHUP,
#endif
    };
    for (const int signal : kEnding_Signals) {
        // A signal the tool was started to ignore (a background job's Ctrl-C) stays ignored.
        if (std::signal(signal, on_interrupt) == SIG_IGN) std::signal(signal, SIG_IGN);
    }
}

}  // namespace tilvane::cli

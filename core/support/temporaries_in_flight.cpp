#include "temporaries_in_flight.h"

#include <algorithm>
#include <atomic>

#include "file_system.h"

namespace tilvane {
namespace {

using Char = std::filesystem::path::value_type;

// Whoever takes a name out of its slot (the save when done, or the signal handler) owns it, so
// the handler never reads a name being freed. More saves at once than slots go unmarked.
constexpr int kSlots = 64;
std::atomic<Char*> slots[kSlots];
static_assert(std::atomic<Char*>::is_always_lock_free);

}  // namespace

Temporary_In_Flight::Temporary_In_Flight(const std::filesystem::path& path) {
    const auto& text = path.native();
    name_ = new Char[text.size() + 1];
    std::copy(text.c_str(), text.c_str() + text.size() + 1, name_);
    for (int i = 0; i < kSlots; ++i) {
        Char* empty = nullptr;
        if (slots[i].compare_exchange_strong(empty, name_)) {
            slot_ = i;
            return;
        }
    }
}

Temporary_In_Flight::~Temporary_In_Flight() {
    // A handler that took the name is ending the program; leave the name to it.
    if (slot_ < 0 || slots[slot_].exchange(nullptr) == name_) delete[] name_;
}

void remove_temporaries_in_flight() noexcept {
    for (auto& slot : slots) {
        if (Char* name = slot.exchange(nullptr)) file_system::remove_file_now(name);
    }
}

}  // namespace tilvane

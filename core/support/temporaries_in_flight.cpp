#include "temporaries_in_flight.h"

#include <algorithm>
#include <atomic>

#include "file_system.h"

namespace tilvane {
namespace {

using Char = std::filesystem::path::value_type;

// The signal handler takes a name out of its slot, removes the file and hands the name back in
// removed[] for its save to free, so it never reads a name being freed and allocates nothing.
// More saves at once than slots go unmarked.
constexpr int kSlots = 64;
std::atomic<Char*> slots[kSlots];
std::atomic<Char*> removed[kSlots];
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
    Char* own = name_;
    if (slot_ >= 0 && !slots[slot_].compare_exchange_strong(own, nullptr)) {
        // The handler has it: wait until it is done with the name.
        for (own = name_; !removed[slot_].compare_exchange_weak(own, nullptr); own = name_) {
        }
    }
    delete[] name_;
}

void Remove_Temporaries_In_Flight() noexcept {
    for (int i = 0; i < kSlots; ++i) {
        if (Char* name = slots[i].exchange(nullptr)) {
            file_system::Remove_File_Now(name);
            removed[i].store(name);
        }
    }
}

}  // namespace tilvane

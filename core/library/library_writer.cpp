#include "library_writer.h"

namespace tilvane::library {

Library_Writer::Library_Writer(Library_File& file, std::size_t batch_photos)
    : file_(file), batch_photos_(std::max<std::size_t>(1, batch_photos)), thread_([this] { Write_Batches(); }) {}

Library_Writer::~Library_Writer() {
    try {
        Finish();
    } catch (...) {  // the caller is already leaving on another error
    }
}

void Library_Writer::Put(Read_Photo photo) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return failure_ || queued_.size() < 2 * batch_photos_; });
    if (failure_) std::rethrow_exception(failure_);
    queued_.push_back(std::move(photo));
    changed_.notify_all();
}

void Library_Writer::Remove(std::string path) {
    const std::lock_guard lock(mutex_);
    if (failure_) std::rethrow_exception(failure_);
    removals_.push_back(std::move(path));
    changed_.notify_all();
}

void Library_Writer::Finish() {
    {
        const std::lock_guard lock(mutex_);
        finishing_ = true;
        changed_.notify_all();
    }
    if (thread_.joinable()) thread_.join();
    const std::lock_guard lock(mutex_);
    if (failure_) std::rethrow_exception(failure_);
}

std::size_t Library_Writer::Written() const {
    const std::lock_guard lock(mutex_);
    return written_;
}

void Library_Writer::Write_Batches() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [&] { return finishing_ || queued_.size() >= batch_photos_; });
        if (queued_.empty() && removals_.empty()) {
            if (finishing_) return;
            continue;
        }
        std::vector<Read_Photo> batch;
        const std::size_t count = std::min(queued_.size(), batch_photos_);
        batch.assign(std::make_move_iterator(queued_.begin()), std::make_move_iterator(queued_.begin() + static_cast<std::ptrdiff_t>(count)));
        queued_.erase(queued_.begin(), queued_.begin() + static_cast<std::ptrdiff_t>(count));
        std::vector<std::string> removals = std::move(removals_);
        removals_.clear();
        changed_.notify_all();  // room in the queue
        lock.unlock();
        try {
            file_.Change(batch, removals);
        } catch (...) {
            lock.lock();
            failure_ = std::current_exception();
            changed_.notify_all();
            return;
        }
        lock.lock();
        written_ += batch.size();
    }
}

}  // namespace tilvane::library

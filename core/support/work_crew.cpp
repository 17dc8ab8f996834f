#include "work_crew.h"

#include <algorithm>
#include <atomic>

namespace tilvane {

Work_Crew::Work_Crew(unsigned size) {
    if (size == 0) size = std::max(1u, std::thread::hardware_concurrency());
    errors_.resize(size);
    for (unsigned member = 1; member < size; ++member) threads_.emplace_back([this, member] { Serve(member); });
}

Work_Crew::~Work_Crew() {
    {
        std::lock_guard lock(mutex_);
        closing_ = true;
    }
    job_posted_.notify_all();
    for (std::thread& t : threads_) t.join();
}

void Work_Crew::Do_Part(unsigned member) {
    try {
        (*job_)(member);
    } catch (...) {
        errors_[member] = std::current_exception();
    }
}

void Work_Crew::Serve(unsigned member) {
    std::uint64_t seen = 0;
    for (;;) {
        {
            std::unique_lock lock(mutex_);
            job_posted_.wait(lock, [&] { return closing_ || generation_ != seen; });
            if (closing_) return;
            seen = generation_;
        }
        Do_Part(member);
        std::lock_guard lock(mutex_);
        if (--parts_left_ == 0) part_done_.notify_one();
    }
}

void Work_Crew::Run(const std::function<void(unsigned part)>& part) {
    {
        std::lock_guard lock(mutex_);
        job_ = &part;
        parts_left_ = Size() - 1;
        ++generation_;
        std::fill(errors_.begin(), errors_.end(), nullptr);
    }
    job_posted_.notify_all();
    Do_Part(0);
    {
        std::unique_lock lock(mutex_);
        part_done_.wait(lock, [&] { return parts_left_ == 0; });
        job_ = nullptr;
    }
    for (const std::exception_ptr& error : errors_)
        if (error) std::rethrow_exception(error);
}

void Share_Out(Work_Crew& crew, std::size_t count,
               const std::function<void(unsigned member, std::size_t first, std::size_t end)>& part) {
    const std::size_t share = (count + crew.Size() - 1) / crew.Size();
    crew.Run([&](unsigned member) {
        const std::size_t first = std::min(count, member * share);
        part(member, first, std::min(count, first + share));
    });
}

void Share_Each(Work_Crew& crew, std::size_t count, const std::function<void(std::size_t item)>& each,
                const std::function<bool(std::size_t done)>& go_on) {
    std::atomic<std::size_t> next{0};
    std::atomic<std::size_t> done{0};
    std::atomic<bool> stop{false};
    crew.Run([&](unsigned member) {
        for (std::size_t i; !stop && (i = next++) < count;) {
            each(i);
            const std::size_t finished = ++done;
            if (member == 0 && !go_on(finished)) stop = true;
        }
    });
}

}  // namespace tilvane

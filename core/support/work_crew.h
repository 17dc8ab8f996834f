#pragma once
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace tilvane {

// A fixed set of threads that run one job at a time, split into as many parts as there are
// members; the calling thread is one of them. Run returns when every part is done.
class Work_Crew {
public:
    // size 0 takes one member per processor.
    explicit Work_Crew(unsigned size = 0);
    ~Work_Crew();
    Work_Crew(const Work_Crew&) = delete;
    Work_Crew& operator=(const Work_Crew&) = delete;

    unsigned Size() const { return static_cast<unsigned>(threads_.size()) + 1; }

    // Calls part(i) for i in 0 .. Size() - 1, each on its own thread. If parts throw, the
    // exception of the lowest part is rethrown here.
    void Run(const std::function<void(unsigned part)>& part);

private:
    void Serve(unsigned member);
    void Do_Part(unsigned member);

    std::vector<std::thread> threads_;
    std::mutex mutex_;
    std::condition_variable job_posted_;
    std::condition_variable part_done_;
    const std::function<void(unsigned)>* job_ = nullptr;
    std::uint64_t generation_ = 0;
    unsigned parts_left_ = 0;
    bool closing_ = false;
    std::vector<std::exception_ptr> errors_;
};

// Splits 0 .. count - 1 into one run of neighbours per member of the crew and calls
// part(member, first, end) for each run, as Run does.
void Share_Out(Work_Crew& crew, std::size_t count,
               const std::function<void(unsigned member, std::size_t first, std::size_t end)>& part);

// Calls each(i) for i in 0 .. count - 1, every member taking the next item as it comes free, so
// that slow items do not hold up the rest. After every item it finishes, the calling thread (a
// member too) asks go_on(items finished so far), where it may show progress and let window
// messages run; once go_on says no, no further item is started. each must not throw.
void Share_Each(Work_Crew& crew, std::size_t count, const std::function<void(std::size_t item)>& each,
                const std::function<bool(std::size_t done)>& go_on);

}  // namespace tilvane

#pragma once
// Fills a tile library from photos read on any number of threads: the photos queue up, and one
// thread of its own writes them into the file, a transaction per batch, so that an update cut
// short by a crash, a kill or a full disk keeps every batch written before it.
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

#include "library/library_file.h"

namespace tilvane::library {

class Library_Writer {
public:
    // A batch is written once it holds this many photos (a few megabytes), or when the writer
    // is finished.
    static constexpr std::size_t kBatch_Photos = 64;

    explicit Library_Writer(Library_File& file, std::size_t batch_photos = kBatch_Photos);
    // Writes what is queued, as Finish does, but keeps its error to itself.
    ~Library_Writer();
    Library_Writer(const Library_Writer&) = delete;
    Library_Writer& operator=(const Library_Writer&) = delete;

    // Queues a photo for writing; waits while two batches are queued, so that memory stays
    // bounded. Safe on several threads. Throws the error that stopped the writing, if any
    // (Error::Cannot_Create for a full disk), and then queues nothing.
    void Put(Read_Photo photo);
    // Queues the removal of a photo's entry, written with the next batch.
    void Remove(std::string path);

    // Writes what is queued and ends the writing thread; throws the error that stopped it.
    void Finish();

    // The photos written so far, in committed batches.
    std::size_t Written() const;

private:
    void Write_Batches();

    Library_File& file_;
    std::size_t batch_photos_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Read_Photo> queued_;
    std::vector<std::string> removals_;
    std::size_t written_ = 0;
    bool finishing_ = false;
    std::exception_ptr failure_;
    std::thread thread_;
};

}  // namespace tilvane::library

#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

// Watches a read-only mapping of a file for the file shrinking under it.
//
// Another process may cut a file short while we have it mapped; reading a
// page past the new end then raises SIGBUS, which would kill the process.
// While a region is watched, the SIGBUS handler maps zero pages over it from
// the faulting page to its end and notes that it did: the read goes on over
// zeros, and the owner refuses the file once it sees Shrank(). A SIGBUS for
// any other address goes to the handler that was there before us, or, if
// there was none, kills the process exactly as it would have.
//
// The owner must stop watching (destroy the watch) before it unmaps the
// region, so that the handler never maps over memory that is not the file's.
class ShrinkWatch {
public:
    ShrinkWatch(const void* start, std::size_t size);
    ~ShrinkWatch();
    ShrinkWatch(const ShrinkWatch&) = delete;
    ShrinkWatch& operator=(const ShrinkWatch&) = delete;

    bool Shrank() const { return shrank_.load(std::memory_order_acquire); }

private:
    friend struct ShrinkWatchList;

    // Everything the handler reads is a lock-free atomic, so reading it from
    // a signal handler is defined whichever thread wrote it.
    std::atomic<std::uintptr_t> start_;
    std::atomic<std::size_t> size_;
    std::atomic<bool> shrank_{false};
    std::atomic<ShrinkWatch*> next_{nullptr};
};

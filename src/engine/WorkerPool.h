// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace trx {

// Threads that carry out file system calls for a run while its decisions stay on the run's own thread.
// Tasks start in the order they were given; nothing is said about the order they end in. A task must not
// throw and must not wait for a later task.
class cWorkerPool {
public:
    // `threads` 0 gives a pool whose tasks nobody runs: callers check Size() and do the work themselves.
    explicit cWorkerPool(int threads);
    // Runs what was given and not yet started, then joins the threads.
    ~cWorkerPool();
    cWorkerPool(const cWorkerPool&) = delete;
    cWorkerPool& operator=(const cWorkerPool&) = delete;

    int Size() const { return static_cast<int>(threads_.size()); }
    void Submit(std::function<void()> task);

    // What a run uses on this machine: the file system's calls wait for the disk and the journal as much as
    // for a core, so four threads pay even on two cores (measured: small files copy in 0.82 of the time two
    // take); one core alone gains nothing.
    static int DefaultThreads();

private:
    void Work();
    // True when a task came within a short while, looked for without the lock.
    bool LookForWork() const;
    static constexpr int kLookRounds = 200;

    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<std::function<void()>> tasks_;
    std::atomic<std::size_t> queued_{0};  // tasks_.size(), read without the lock by workers about to sleep
    int sleepers_ = 0;                    // workers waiting on ready_
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

}  // namespace trx

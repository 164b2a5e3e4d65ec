// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/WorkerPool.h"

#include <algorithm>

namespace trx {

cWorkerPool::cWorkerPool(int threads) {
    threads_.reserve(static_cast<std::size_t>(std::max(threads, 0)));
    for (int i = 0; i < threads; ++i) {
        threads_.emplace_back([this] { Work(); });
    }
}

cWorkerPool::~cWorkerPool() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    ready_.notify_all();
    for (std::thread& thread : threads_) {
        thread.join();
    }
}

void cWorkerPool::Submit(std::function<void()> task) {
    bool wake = false;
    {
        const std::lock_guard lock(mutex_);
        tasks_.push_back(std::move(task));
        ++queued_;
        wake = sleepers_ > 0;
    }
    // Waking a sleeping thread is a system call, dearer than many small tasks: a worker that just ran
    // out of work looks again for a moment before it sleeps.
    if (wake) {
        ready_.notify_one();
    }
}

int cWorkerPool::DefaultThreads() {
    const unsigned cores = std::thread::hardware_concurrency();
    return cores <= 1 ? 0 : 4;
}

bool cWorkerPool::LookForWork() const {
    for (int round = 0; round < kLookRounds; ++round) {
        if (queued_.load(std::memory_order_relaxed) != 0) {
            return true;
        }
        std::this_thread::yield();
    }
    return false;
}

void cWorkerPool::Work() {
    for (;;) {
        std::function<void()> task;
        {
            std::unique_lock lock(mutex_);
            if (tasks_.empty() && !stopping_) {
                lock.unlock();
                LookForWork();
                lock.lock();
            }
            ++sleepers_;
            ready_.wait(lock, [this] { return stopping_ || !tasks_.empty(); });
            --sleepers_;
            if (tasks_.empty()) {
                return;
            }
            task = std::move(tasks_.front());
            tasks_.pop_front();
            --queued_;
        }
        task();
    }
}

}  // namespace trx

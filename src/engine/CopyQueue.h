// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/SafeCopy.h"

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

namespace trx {

class cWorkerPool;

// Copies that the workers carry out while the walk goes on deciding, and everything the walk says
// meanwhile (hooks, protocol lines, problems), said on the walk's thread in exactly the order a walk on
// one thread would say it: what the walk says behind a copy under way waits for that copy's outcome.
// Without workers every copy is carried out where it is added.
class cCopyQueue {
public:
    // `pump` lets the user interface breathe while the walk waits for a copy.
    cCopyQueue(cWorkerPool* pool, std::function<void()> pump);
    // Waits for the copies under way; what they would say is lost. Call Drain before.
    ~cCopyQueue();
    cCopyQueue(const cCopyQueue&) = delete;
    cCopyQueue& operator=(const cCopyQueue&) = delete;

    bool Parallel() const { return pool_ != nullptr; }

    // Says `report` now when nothing waits (or from within a report), else behind what waits.
    template <class F>
    void Say(F&& report) {
        if (pending_.empty() || saying_) {
            report();
        } else {
            pending_.push_back({std::function<void()>(std::forward<F>(report)), nullptr});
            LimitPending();
        }
    }

    // Carries out `copy` (on a worker thread: it must touch nothing the walk changes) and says its
    // outcome through `report` in order.
    void Add(std::function<CopyOutcome()> copy, std::function<void(CopyOutcome)> report);

    // Says what has become due at the front without waiting.
    void SayDone();
    // Says everything, waiting for the copies under way (pumping meanwhile). Within a report it does
    // nothing, so that a report may write to the protocol, which drains first.
    void Drain();

    // At most this many copies, and this many things said, wait at a time.
    static constexpr std::size_t kMaxCopies = 32;
    static constexpr std::size_t kMaxWaiting = 4096;

private:
    struct cCopy;
    struct cItem {
        std::function<void()> Say;
        std::shared_ptr<cCopy> Copy;
    };

    // Says the front item; with `wait` it waits for its copy, else only when the copy is done. False when
    // nothing was said.
    bool SayFront(bool wait);
    // Waits until the copy is done, pumping every little while.
    void WaitFor(const cCopy& copy);
    void LimitPending();

    cWorkerPool* pool_;
    std::function<void()> pump_;
    std::deque<cItem> pending_;
    std::size_t copies_ = 0;  // copies among pending_
    bool saying_ = false;
    // A copy that ends while the walk sleeps on done_ wakes it; the walk sleeps only after looking for a
    // while, so most copies end without the system call of a wake-up.
    std::mutex mutex_;
    std::condition_variable done_;
    std::atomic<bool> waiting_{false};
    std::atomic<int> running_{0};  // copies on workers
};

}  // namespace trx

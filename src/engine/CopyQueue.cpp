// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/CopyQueue.h"

#include "engine/WorkerPool.h"

#include <chrono>

namespace trx {

namespace {
// How long the walk waits for a copy before it lets the user interface handle its events.
constexpr std::chrono::milliseconds kPumpEvery{20};
}  // namespace

struct cCopyQueue::cCopy {
    std::function<CopyOutcome()> Work;
    std::function<void(CopyOutcome)> Report;
    bool Done = false;  // under the queue's mutex
    CopyOutcome Outcome = CopyOutcome::Failed;
};

cCopyQueue::cCopyQueue(cWorkerPool* pool, std::function<void()> pump)
    : pool_(pool != nullptr && pool->Size() > 0 ? pool : nullptr), pump_(std::move(pump)) {}

cCopyQueue::~cCopyQueue() {
    std::unique_lock lock(mutex_);
    done_.wait(lock, [this] { return running_ == 0; });
}

void cCopyQueue::Add(std::function<CopyOutcome()> copy, std::function<void(CopyOutcome)> report) {
    if (pool_ == nullptr) {
        report(copy());
        return;
    }
    auto item = std::make_shared<cCopy>();
    item->Work = std::move(copy);
    item->Report = std::move(report);
    {
        const std::lock_guard lock(mutex_);
        ++running_;
    }
    pool_->Submit([this, item] {
        const CopyOutcome outcome = item->Work();
        const std::lock_guard lock(mutex_);
        item->Outcome = outcome;
        item->Done = true;
        --running_;
        done_.notify_all();
    });
    pending_.push_back({nullptr, std::move(item)});
    ++copies_;
    LimitPending();
}

void cCopyQueue::SayDone() {
    while (!saying_ && SayFront(false)) {
    }
}

void cCopyQueue::Drain() {
    while (!saying_ && SayFront(true)) {
    }
}

bool cCopyQueue::SayFront(bool wait) {
    if (pending_.empty()) {
        return false;
    }
    cItem& front = pending_.front();
    if (front.Copy) {
        std::unique_lock lock(mutex_);
        while (!front.Copy->Done) {
            if (!wait) {
                return false;
            }
            if (!done_.wait_for(lock, kPumpEvery, [&] { return front.Copy->Done; }) && pump_) {
                lock.unlock();
                pump_();
                lock.lock();
            }
        }
    }
    cItem item = std::move(front);
    pending_.pop_front();
    copies_ -= item.Copy ? 1 : 0;
    saying_ = true;
    // Reports run on the walk's thread and may throw no more than the walk's own reports do.
    if (item.Copy) {
        item.Copy->Report(item.Copy->Outcome);
    } else {
        item.Say();
    }
    saying_ = false;
    return true;
}

void cCopyQueue::LimitPending() {
    SayDone();
    while (!saying_ && (copies_ >= kMaxCopies || pending_.size() >= kMaxWaiting) && SayFront(true)) {
    }
}

}  // namespace trx

// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/CopyQueue.h"

#include "engine/WorkerPool.h"

#include <chrono>
#include <thread>

namespace trx {

namespace {
// How long the walk waits for a copy before it lets the user interface handle its events.
constexpr std::chrono::milliseconds kPumpEvery{20};
// How often the walk looks whether a copy is done before it sleeps.
constexpr int kLookRounds = 100;
}  // namespace

struct cCopyQueue::cCopy {
    std::function<CopyOutcome()> Work;
    std::function<void(CopyOutcome)> Report;
    CopyOutcome Outcome = CopyOutcome::Failed;  // published by Done
    std::atomic<bool> Done{false};
};

cCopyQueue::cCopyQueue(cWorkerPool* pool, std::function<void()> pump)
    : pool_(pool != nullptr && pool->Size() > 0 ? pool : nullptr), pump_(std::move(pump)) {}

cCopyQueue::~cCopyQueue() {
    while (running_.load() != 0) {
        std::this_thread::yield();
    }
}

void cCopyQueue::Add(std::function<CopyOutcome()> copy, std::function<void(CopyOutcome)> report) {
    if (pool_ == nullptr) {
        report(copy());
        return;
    }
    auto item = std::make_shared<cCopy>();
    item->Work = std::move(copy);
    item->Report = std::move(report);
    ++running_;
    pool_->Submit([this, item] {
        item->Outcome = item->Work();
        item->Done.store(true);
        if (waiting_.load()) {
            const std::lock_guard lock(mutex_);
            done_.notify_all();
        }
        --running_;  // the last touch of the queue: it may be gone right after
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
    if (front.Copy && !front.Copy->Done.load()) {
        if (!wait) {
            return false;
        }
        WaitFor(*front.Copy);
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

void cCopyQueue::WaitFor(const cCopy& copy) {
    for (int round = 0; round < kLookRounds && !copy.Done.load(); ++round) {
        std::this_thread::yield();
    }
    while (!copy.Done.load()) {
        waiting_.store(true);
        bool done = false;
        {
            std::unique_lock lock(mutex_);
            done = done_.wait_for(lock, kPumpEvery, [&] { return copy.Done.load(); });
        }
        waiting_.store(false);
        if (!done && pump_) {
            pump_();
        }
    }
}

void cCopyQueue::LimitPending() {
    SayDone();
    while (!saying_ && (copies_ >= kMaxCopies || pending_.size() >= kMaxWaiting) && SayFront(true)) {
    }
}

}  // namespace trx

// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/StatPrefetch.h"

#include "engine/WorkerPool.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <thread>

namespace trx {

namespace {
enum : std::uint8_t { kFree, kTaking, kTaken };
}  // namespace

struct cStatPrefetch::cWindow {
    explicit cWindow(std::size_t first, std::size_t size) : First(first), Stats(size), State(size) {}
    std::size_t First;
    std::vector<cStats> Stats;
    std::vector<std::atomic<std::uint8_t>> State;
    std::atomic<std::size_t> Next{0};  // the next slot a worker tries
    std::atomic<int> Running{0};       // workers inside the window
    std::atomic<bool> Stopped{false};
};

cStatPrefetch::cStatPrefetch(cWorkerPool* pool, platform::Directory& sourceDir, platform::Directory* targetDir,
                             std::vector<cRequest> requests)
    : pool_(pool != nullptr && pool->Size() > 0 ? pool : nullptr),
      sourceDir_(sourceDir),
      targetDir_(targetDir),
      requests_(std::move(requests)) {
    current_ = StartWindow(0);
    next_ = StartWindow(kWindow);
}

cStatPrefetch::~cStatPrefetch() {
    for (const auto& window : {current_, next_}) {
        if (!window) {
            continue;
        }
        // Seen by every worker that enters later (both sides are sequentially consistent), so none of them
        // touches a folder after this returns.
        window->Stopped = true;
        while (window->Running.load() != 0) {
            std::this_thread::yield();  // a worker finishes the stat it is taking
        }
    }
}

const cStatPrefetch::cStats& cStatPrefetch::Get(std::size_t k) {
    if (k >= current_->First + current_->Stats.size()) {
        current_->Stopped = true;  // its workers are done with it: every slot was taken
        current_ = next_;
        next_ = StartWindow(current_->First + kWindow);
    }
    cWindow& window = *current_;
    const std::size_t slot = k - window.First;
    if (!TryTake(window, slot)) {
        // A worker is at it: meanwhile the walk takes later ones itself rather than wait idle. A stat is a
        // matter of microseconds, so a wait spins instead of sleeping: waking a sleeper costs more.
        for (std::size_t later = slot + 1; later < window.Stats.size() && window.State[slot] != kTaken; ++later) {
            TryTake(window, later);
        }
        for (int spins = 0; window.State[slot].load() != kTaken; ++spins) {
            if (spins > 16) {
                std::this_thread::yield();
            }
        }
    }
    return window.Stats[slot];
}

bool cStatPrefetch::TryTake(cWindow& window, std::size_t slot) const {
    std::uint8_t free = kFree;
    if (!window.State[slot].compare_exchange_strong(free, kTaking)) {
        return false;
    }
    Take(window, slot);
    return true;
}

std::shared_ptr<cStatPrefetch::cWindow> cStatPrefetch::StartWindow(std::size_t first) {
    if (first >= requests_.size()) {
        return nullptr;
    }
    auto window = std::make_shared<cWindow>(first, std::min(kWindow, requests_.size() - first));
    if (pool_ == nullptr) {
        return window;
    }
    for (int i = 0; i < pool_->Size(); ++i) {
        pool_->Submit([this, window] {
            ++window->Running;
            while (!window->Stopped) {
                const std::size_t slot = window->Next++;
                if (slot >= window->Stats.size()) {
                    break;
                }
                TryTake(*window, slot);
            }
            --window->Running;
        });
    }
    return window;
}

void cStatPrefetch::Take(cWindow& window, std::size_t slot) const {
    const cRequest& request = requests_[window.First + slot];
    cStats& stats = window.Stats[slot];
    stats.Source = sourceDir_.Stat(*request.Name);
    if (request.WithTarget && targetDir_ != nullptr) {
        stats.Target = targetDir_->Stat(*request.Name);
    }
    window.State[slot].store(kTaken);
}

}  // namespace trx

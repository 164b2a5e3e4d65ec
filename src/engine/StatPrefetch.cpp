// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/StatPrefetch.h"

#include "engine/WorkerPool.h"
#include "platform/FileSystem.h"

#include <algorithm>

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
        for (int running = window->Running.load(); running != 0; running = window->Running.load()) {
            window->Running.wait(running);
        }
    }
}

const cStatPrefetch::cStats& cStatPrefetch::Get(std::size_t k) {
    if (k >= current_->First + current_->Stats.size()) {
        current_->Stopped = true;  // its workers are done with it: every slot was taken
        current_ = next_;
        next_ = StartWindow(current_->First + kWindow);
    }
    const std::size_t slot = k - current_->First;
    std::atomic<std::uint8_t>& state = current_->State[slot];
    std::uint8_t seen = kFree;
    if (state.compare_exchange_strong(seen, kTaking)) {
        Take(*current_, slot);
    } else {
        while (seen != kTaken) {
            state.wait(seen);
            seen = state.load();
        }
    }
    return current_->Stats[slot];
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
                std::uint8_t free = kFree;
                if (window->State[slot].compare_exchange_strong(free, kTaking)) {
                    Take(*window, slot);
                }
            }
            if (--window->Running == 0) {
                window->Running.notify_all();
            }
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
    window.State[slot].notify_all();
}

}  // namespace trx

// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/FolderReadAhead.h"

#include "engine/WorkerPool.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <thread>

namespace trx {

namespace {
enum : std::uint8_t { kFree, kReading, kRead, kTaken, kSkipped };
}  // namespace

struct cFolderReadAhead::cBatch {
    cBatch(platform::Directory& sourceDir, platform::Directory* targetDir, std::vector<std::string> names)
        : SourceDir(sourceDir),
          TargetDir(targetDir),
          Names(std::move(names)),
          Snapshots(Names.size()),
          State(Names.size()) {}
    platform::Directory& SourceDir;
    platform::Directory* TargetDir;
    std::vector<std::string> Names;
    std::vector<std::unique_ptr<cFolderSnapshot>> Snapshots;
    std::vector<std::atomic<std::uint8_t>> State;
    std::atomic<int> Running{0};  // workers reading one of its folders
    std::atomic<bool> Closed{false};
};

cFolderReadAhead::cFolderReadAhead(cWorkerPool* pool) : pool_(pool != nullptr && pool->Size() > 0 ? pool : nullptr) {}

cFolderReadAhead::~cFolderReadAhead() {
    {
        const std::lock_guard lock(mutex_);
        pending_.clear();
    }
    for (;;) {
        {
            const std::lock_guard lock(mutex_);
            if (readers_ == 0) {
                return;
            }
        }
        std::this_thread::yield();
    }
}

std::shared_ptr<cFolderReadAhead::cBatch> cFolderReadAhead::Ask(platform::Directory& sourceDir,
                                                                platform::Directory* targetDir,
                                                                std::vector<std::string> names) {
    if (pool_ == nullptr || names.empty()) {
        return nullptr;
    }
    auto batch = std::make_shared<cBatch>(sourceDir, targetDir, std::move(names));
    {
        const std::lock_guard lock(mutex_);
        for (std::size_t k = batch->Names.size(); k-- > 0;) {
            pending_.push_back({batch, k});
        }
    }
    StartReaders();
    return batch;
}

std::unique_ptr<cFolderSnapshot> cFolderReadAhead::Take(cBatch& batch, std::size_t k) {
    std::uint8_t free = kFree;
    if (batch.State[k].compare_exchange_strong(free, kSkipped)) {
        return nullptr;
    }
    // A folder is read in well under a millisecond: the wait spins rather than sleeps.
    for (int spins = 0; batch.State[k].load() != kRead; ++spins) {
        if (spins > 16) {
            std::this_thread::yield();
        }
    }
    std::unique_ptr<cFolderSnapshot> snapshot = std::move(batch.Snapshots[k]);
    batch.State[k] = kTaken;
    --held_;
    StartReaders();
    return snapshot;
}

void cFolderReadAhead::Close(cBatch& batch) {
    // Seen by every worker that claims later (both sides are sequentially consistent), so none of them
    // touches the batch's folders after this returns.
    batch.Closed = true;
    while (batch.Running.load() != 0) {
        std::this_thread::yield();
    }
    int dropped = 0;
    for (std::size_t k = 0; k < batch.State.size(); ++k) {
        if (batch.State[k].load() == kRead) {
            batch.Snapshots[k].reset();
            batch.State[k] = kTaken;
            ++dropped;
        }
    }
    if (dropped > 0) {
        held_ -= dropped;
        StartReaders();
    }
}

void cFolderReadAhead::StartReaders() {
    const std::lock_guard lock(mutex_);
    while (readers_ < pool_->Size() && readers_ < static_cast<int>(pending_.size()) && held_.load() < kMaxHeld) {
        ++readers_;
        pool_->Submit([this] { ReadPending(); });
    }
}

void cFolderReadAhead::ReadPending() {
    cPending next;
    while (Claim(next)) {
        Read(*next.Batch, next.K);
        --next.Batch->Running;
    }
}

bool cFolderReadAhead::Claim(cPending& next) {
    const std::lock_guard lock(mutex_);
    while (!pending_.empty() && held_.load() < kMaxHeld) {
        next = std::move(pending_.back());
        pending_.pop_back();
        cBatch& batch = *next.Batch;
        ++batch.Running;
        std::uint8_t free = kFree;
        if (!batch.Closed.load() && batch.State[next.K].compare_exchange_strong(free, kReading)) {
            ++held_;
            return true;
        }
        --batch.Running;
    }
    // Said under the lock, so that a take that frees room afterwards starts a reader again.
    --readers_;
    return false;
}

void cFolderReadAhead::Read(cBatch& batch, std::size_t k) const {
    const std::string& name = batch.Names[k];
    auto snapshot = std::make_unique<cFolderSnapshot>();
    if (auto opened = batch.SourceDir.OpenSub(name)) {
        snapshot->SourceDir = std::move(*opened);
        snapshot->Entries = snapshot->SourceDir->List();
        if (batch.TargetDir != nullptr) {
            if (auto target = batch.TargetDir->OpenSub(name)) {
                snapshot->TargetDir = std::move(*target);
            }
        }
    } else {
        snapshot.reset();  // the walk tries itself and reports what it finds
    }
    if (snapshot && snapshot->Entries) {
        const std::vector<platform::ListedEntry>& entries = *snapshot->Entries;
        const std::size_t count = std::min(entries.size(), kStatsAhead);
        snapshot->Stats.reserve(count);
        for (std::size_t i = 0; i < count && !batch.Closed.load(std::memory_order_relaxed); ++i) {
            cStatPrefetch::cStats& stats = snapshot->Stats.emplace_back();
            stats.Source = snapshot->SourceDir->Stat(entries[i].Name);
            if (snapshot->TargetDir && entries[i].Kind != platform::FileKind::Directory) {
                stats.Target = snapshot->TargetDir->Stat(entries[i].Name);
            }
        }
    }
    batch.Snapshots[k] = std::move(snapshot);
    batch.State[k] = kRead;
}

}  // namespace trx

// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/FolderReadAhead.h"

#include "engine/WorkerPool.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <iterator>
#include <thread>

namespace trx {

namespace {
enum : std::uint8_t { kFree, kReading, kRead, kTaken, kSkipped };
}  // namespace

struct cReadAheadBatch {
    cReadAheadBatch(cFolderReadAhead& owner, cFolderReadAhead::cPlace place, platform::Directory& sourceDir,
                    platform::Directory* targetDir, std::vector<std::string> names)
        : Owner(owner),
          Place(std::move(place)),
          SourceDir(sourceDir),
          TargetDir(targetDir),
          Names(std::move(names)),
          Snapshots(Names.size()),
          State(Names.size()) {}
    cFolderReadAhead& Owner;
    cFolderReadAhead::cPlace Place;  // of the folder whose sub-folders these are
    platform::Directory& SourceDir;
    platform::Directory* TargetDir;
    std::vector<std::string> Names;
    std::vector<std::unique_ptr<cFolderSnapshot>> Snapshots;
    std::vector<std::atomic<std::uint8_t>> State;
    std::atomic<int> Running{0};  // workers reading one of its folders
    std::atomic<bool> Closed{false};
};

cFolderSnapshot::~cFolderSnapshot() {
    if (SubFolders) {
        SubFolders->Owner.Close(*SubFolders);
    }
}

cFolderReadAhead::cFolderReadAhead(cWorkerPool* pool, cOptions options)
    : pool_(pool != nullptr && pool->Size() > 0 ? pool : nullptr), options_(options) {}

cFolderReadAhead::~cFolderReadAhead() {
    // Destroyed here, while the members are whole: what they still hold closes batches in turn.
    cQueue pending;
    cQueue held;
    {
        const std::lock_guard lock(mutex_);
        pending.swap(pending_);
        held.swap(held_);
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

cFolderReadAhead::cPlace cFolderReadAhead::PlaceOf(const cBatch& batch, std::size_t k) {
    cPlace place = batch.Place;
    place.push_back(static_cast<std::uint32_t>(k));
    return place;
}

std::shared_ptr<cFolderReadAhead::cBatch> cFolderReadAhead::MakeBatch(cPlace place, platform::Directory& sourceDir,
                                                                      platform::Directory* targetDir,
                                                                      std::vector<std::string> names,
                                                                      const std::vector<std::size_t>& skipped) {
    auto batch = std::make_shared<cBatch>(*this, std::move(place), sourceDir, targetDir, std::move(names));
    for (const std::size_t k : skipped) {
        batch->State[k] = kSkipped;
    }
    const std::lock_guard lock(mutex_);
    for (std::size_t k = 0; k < batch->Names.size(); ++k) {
        if (batch->State[k].load() == kFree) {
            pending_.emplace(PlaceOf(*batch, k), cPending{batch, k});
        }
    }
    return batch;
}

std::shared_ptr<cFolderReadAhead::cBatch> cFolderReadAhead::Ask(cPlace place, platform::Directory& sourceDir,
                                                                platform::Directory* targetDir,
                                                                std::vector<std::string> names,
                                                                const std::vector<std::size_t>& skipped) {
    if (pool_ == nullptr || names.empty()) {
        return nullptr;
    }
    auto batch = MakeBatch(std::move(place), sourceDir, targetDir, std::move(names), skipped);
    StartReaders();
    return batch;
}

std::unique_ptr<cFolderSnapshot> cFolderReadAhead::Take(cBatch& batch, std::size_t k) {
    // A folder is read in well under a millisecond: a wait for a worker spins rather than sleeps.
    for (int spins = 0;; ++spins) {
        std::uint8_t state = batch.State[k].load();
        if (state == kFree && batch.State[k].compare_exchange_strong(state, kSkipped)) {
            return nullptr;
        }
        if (state == kSkipped) {
            return nullptr;
        }
        if (state == kRead && batch.State[k].compare_exchange_strong(state, kTaken)) {
            break;
        }
        if (spins > 16) {
            std::this_thread::yield();
        }
    }
    std::unique_ptr<cFolderSnapshot> snapshot = Unhold(batch, k);
    {
        const std::lock_guard lock(mutex_);
        held_.erase(PlaceOf(batch, k));
    }
    StartReaders();
    return snapshot;
}

std::unique_ptr<cFolderSnapshot> cFolderReadAhead::Unhold(cBatch& batch, std::size_t k) {
    std::unique_ptr<cFolderSnapshot> snapshot = std::move(batch.Snapshots[k]);
    heldEntries_ -= snapshot ? snapshot->Listed : 0;
    return snapshot;
}

void cFolderReadAhead::Close(cBatch& batch) {
    // Seen by every worker that claims later (both sides are sequentially consistent), so none of them
    // touches the batch's folders after this returns.
    batch.Closed = true;
    while (batch.Running.load() != 0) {
        std::this_thread::yield();
    }
    std::vector<std::unique_ptr<cFolderSnapshot>> dropped;
    {
        const std::lock_guard lock(mutex_);
        for (std::size_t k = 0; k < batch.State.size(); ++k) {
            std::uint8_t read = kRead;
            if (batch.State[k].compare_exchange_strong(read, kTaken)) {
                dropped.push_back(Unhold(batch, k));
                held_.erase(PlaceOf(batch, k));
            }
        }
    }
    if (!dropped.empty()) {
        dropped.clear();  // closes what was read below them in turn, outside the lock
        StartReaders();
    }
}

void cFolderReadAhead::StartReaders() {
    const std::lock_guard lock(mutex_);
    while (readers_ < pool_->Size() && static_cast<std::size_t>(readers_) < pending_.size()) {
        ++readers_;
        pool_->Submit([this] { ReadPending(); });
    }
}

void cFolderReadAhead::ReadPending() {
    cPending next;
    std::vector<std::unique_ptr<cFolderSnapshot>> dropped;
    while (Claim(next, dropped)) {
        dropped.clear();
        Read(*next.Batch, next.K);
        --next.Batch->Running;
        next = {};
    }
}

bool cFolderReadAhead::Claim(cPending& next, std::vector<std::unique_ptr<cFolderSnapshot>>& dropped) {
    const std::lock_guard lock(mutex_);
    while (!pending_.empty()) {
        const auto first = pending_.begin();
        cBatch& batch = *first->second.Batch;
        if (batch.Closed.load() || batch.State[first->second.K].load() != kFree) {
            pending_.erase(first);
            continue;
        }
        if (!held_.empty() && (held_.size() >= kMaxHeld || heldEntries_.load() >= kMaxHeldEntries)) {
            if (!(first->first < std::prev(held_.end())->first) || !DropLastHeld(dropped)) {
                break;
            }
            continue;
        }
        ++batch.Running;
        std::uint8_t free = kFree;
        if (batch.Closed.load() || !batch.State[first->second.K].compare_exchange_strong(free, kReading)) {
            --batch.Running;
            pending_.erase(first);
            continue;
        }
        next = first->second;
        held_.insert(pending_.extract(first));
        return true;
    }
    // Said under the lock, so that a take that frees room afterwards starts a reader again.
    --readers_;
    return false;
}

bool cFolderReadAhead::DropLastHeld(std::vector<std::unique_ptr<cFolderSnapshot>>& dropped) {
    const auto last = std::prev(held_.end());
    cBatch& batch = *last->second.Batch;
    std::uint8_t state = kRead;
    if (batch.State[last->second.K].compare_exchange_strong(state, kFree)) {
        dropped.push_back(Unhold(batch, last->second.K));
        pending_.insert(held_.extract(last));  // read again when its turn comes
        return true;
    }
    if (state == kReading) {
        return false;  // a worker is at it
    }
    held_.erase(last);  // taken or dropped meanwhile
    return true;
}

void cFolderReadAhead::Read(cBatch& batch, std::size_t k) {
    const std::string& name = batch.Names[k];
    auto snapshot = std::make_unique<cFolderSnapshot>();
    if (auto opened = batch.SourceDir.OpenSub(name)) {
        snapshot->SourceDir = std::move(*opened);
        snapshot->Entries = snapshot->SourceDir->List();
        snapshot->Listed = snapshot->Entries ? snapshot->Entries->size() : 0;
        heldEntries_ += snapshot->Listed;
        if (batch.TargetDir != nullptr) {
            if (auto target = batch.TargetDir->OpenSub(name)) {
                snapshot->TargetDir = std::move(*target);
                ReadFolders(*snapshot);
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
        snapshot->SubFolders = AskWithin(batch, k, *snapshot);
    }
    batch.Snapshots[k] = std::move(snapshot);
    batch.State[k] = kRead;
}

void cFolderReadAhead::ReadFolders(cFolderSnapshot& snapshot) const {
    snapshot.Reads.Target = snapshot.TargetDir->Stat(".");
    if (options_.Attributes) {
        snapshot.Reads.TargetAttributes = snapshot.TargetDir->ReadAttributes();
        snapshot.Reads.SourceAttributes = snapshot.SourceDir->ReadAttributes();
    }
}

std::shared_ptr<cFolderReadAhead::cBatch> cFolderReadAhead::AskWithin(const cBatch& parent, std::size_t k,
                                                                      cFolderSnapshot& snapshot) {
    const std::vector<platform::ListedEntry>& entries = *snapshot.Entries;
    std::vector<std::string> names;
    std::vector<std::size_t> skipped;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].Kind != platform::FileKind::Directory) {
            continue;
        }
        const bool destination = options_.SkipKnown && i < snapshot.Stats.size() && snapshot.Stats[i].Source &&
                                 snapshot.Stats[i].Source->Device == options_.SkipDevice &&
                                 snapshot.Stats[i].Source->Inode == options_.SkipInode;
        if (destination) {
            skipped.push_back(names.size());
        }
        names.push_back(entries[i].Name);
    }
    if (names.empty()) {
        return nullptr;
    }
    return MakeBatch(PlaceOf(parent, k), *snapshot.SourceDir, snapshot.TargetDir.get(), std::move(names), skipped);
}

}  // namespace trx

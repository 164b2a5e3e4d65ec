// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/StatPrefetch.h"
#include "platform/FileTypes.h"
#include "platform/Result.h"

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace trx {

namespace platform {
class Directory;
}
class cWorkerPool;

// What the workers read of a folder before the walk enters it.
struct cFolderSnapshot {
    std::unique_ptr<platform::Directory> SourceDir;
    platform::Result<std::vector<platform::ListedEntry>> Entries{platform::Failure(EIO)};
    // The target folder of the same name, where one was there to be opened.
    std::unique_ptr<platform::Directory> TargetDir;
    // The stats of the first entries, in the listing's order; a target entry only where TargetDir is
    // open and the source entry was listed as no folder.
    std::vector<cStatPrefetch::cStats> Stats;
};

// Reads sub-folders ahead of the walk on the workers: opens them (and their target folders), lists them
// and stats their first entries. A real tree is mostly folders of a few files each, and a walk that did
// all this itself, folder after folder, would leave the workers idle. Only reading is done ahead; the walk
// makes every decision and every change. Folders asked for later are read first (the walk goes deep
// before it goes on), and at most kMaxHeld are read and not yet taken, so memory and open handles stay few.
class cFolderReadAhead {
public:
    struct cBatch;

    // `pool` may be null or have no threads: nothing is read ahead then.
    explicit cFolderReadAhead(cWorkerPool* pool);
    // Every batch MUST be closed before.
    ~cFolderReadAhead();
    cFolderReadAhead(const cFolderReadAhead&) = delete;
    cFolderReadAhead& operator=(const cFolderReadAhead&) = delete;

    // Reads ahead the sub-folders `names` of the folder open as `sourceDir` (and `targetDir`, which may
    // be null). Both handles MUST stay open until the batch is closed. Null when nothing is read ahead.
    std::shared_ptr<cBatch> Ask(platform::Directory& sourceDir, platform::Directory* targetDir,
                                std::vector<std::string> names);
    // What was read of the k-th name, waiting while a worker reads it; null when no worker has begun it,
    // which then none will (the walk reads it itself).
    std::unique_ptr<cFolderSnapshot> Take(cBatch& batch, std::size_t k);
    // No more takes: waits for the workers reading the batch's folders and drops what was not taken.
    void Close(cBatch& batch);

    static constexpr int kMaxHeld = 32;
    static constexpr std::size_t kStatsAhead = cStatPrefetch::kWindow;

private:
    struct cPending {
        std::shared_ptr<cBatch> Batch;
        std::size_t K;
    };
    // A worker's task: reads pending folders until none is left or enough are held.
    void ReadPending();
    // The next folder to read, claimed; false when there is none or enough are held.
    bool Claim(cPending& next);
    void Read(cBatch& batch, std::size_t k) const;
    // Starts workers on pending folders, as many as may help.
    void StartReaders();
    void Dropped();

    cWorkerPool* pool_;
    std::mutex mutex_;
    std::vector<cPending> pending_;  // the back is read next
    int readers_ = 0;                // workers in ReadPending
    std::atomic<int> held_{0};       // folders being read or read and not taken
};

}  // namespace trx

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/StatPrefetch.h"
#include "engine/TargetFolders.h"
#include "platform/FileTypes.h"
#include "platform/Result.h"

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace trx {

namespace platform {
class Directory;
}
class cWorkerPool;

class cFolderReadAhead;
struct cReadAheadBatch;

// What the workers read of a folder before the walk enters it.
struct cFolderSnapshot {
    cFolderSnapshot() = default;
    // Closes the read-ahead of its sub-folders (see cFolderReadAhead::Close).
    ~cFolderSnapshot();
    cFolderSnapshot(const cFolderSnapshot&) = delete;
    cFolderSnapshot& operator=(const cFolderSnapshot&) = delete;

    std::unique_ptr<platform::Directory> SourceDir;
    platform::Result<std::vector<platform::ListedEntry>> Entries{platform::Failure(EIO)};
    // The target folder of the same name, where one was there to be opened.
    std::unique_ptr<platform::Directory> TargetDir;
    // The stats of the first entries, in the listing's order; a target entry only where TargetDir is
    // open and the source entry was listed as no folder.
    std::vector<cStatPrefetch::cStats> Stats;
    // The target folder's own status and attributes and the source folder's attributes; only where
    // TargetDir is open.
    cFolderReads Reads;
    std::size_t Listed = 0;  // entries in the listing, held while it waits for the walk
    // Its own sub-folders, read ahead in turn: one place for every entry listed as a folder, in the
    // listing's order. Its handles MUST outlive it, wherever the walk moves them.
    std::shared_ptr<cReadAheadBatch> SubFolders;
};

// Reads folders ahead of the walk on the workers: opens them (and their target folders), lists them and
// stats their first entries, then goes on with their sub-folders in turn. A real tree is mostly folders of
// a few files each, and a walk that did all this itself, folder after folder, would leave the workers
// idle. Only reading is done ahead; the walk makes every decision and every change.
// Every folder has its place in the walk's order (the places of the folders above it and its own), and
// the workers always read the first pending one. At most kMaxHeld folders (and what kMaxHeldEntries
// entries take) are being read or read and not yet taken, so memory and open handles stay few; when the walk needs folders before those held (it read
// one itself, or workers read a later folder before an earlier one was known), the last one held is
// dropped to make room, and read again later.
class cFolderReadAhead {
public:
    using cBatch = cReadAheadBatch;
    using cPlace = std::vector<std::uint32_t>;

    struct cOptions {
        bool Attributes = false;  // the folders' attributes are read too
        // A folder never read ahead (the destination inside a source), where known.
        bool SkipKnown = false;
        std::uint64_t SkipDevice = 0;
        std::uint64_t SkipInode = 0;
    };

    // `pool` may be null or have no threads: nothing is read ahead then.
    cFolderReadAhead(cWorkerPool* pool, cOptions options);
    // Every batch MUST be closed before.
    ~cFolderReadAhead();
    cFolderReadAhead(const cFolderReadAhead&) = delete;
    cFolderReadAhead& operator=(const cFolderReadAhead&) = delete;

    // Reads ahead the sub-folders `names` of the folder at `place`, open as `sourceDir` (and `targetDir`,
    // which may be null), but for the places `skipped`, and theirs in turn. Both handles MUST stay open
    // until the batch is closed. Null when nothing is read ahead.
    std::shared_ptr<cBatch> Ask(cPlace place, platform::Directory& sourceDir, platform::Directory* targetDir,
                                std::vector<std::string> names, const std::vector<std::size_t>& skipped);
    // What was read of the k-th name, waiting while a worker reads it; null when it was not read, which
    // then it never will be (the walk reads it itself).
    std::unique_ptr<cFolderSnapshot> Take(cBatch& batch, std::size_t k);
    // No more takes: waits for the workers reading the batch's folders and drops what was not taken.
    void Close(cBatch& batch);
    // The place of the batch's k-th folder.
    static cPlace PlaceOf(const cBatch& batch, std::size_t k);

    static constexpr std::size_t kMaxHeld = 64;
    static constexpr std::size_t kMaxHeldEntries = 65536;
    static constexpr std::size_t kStatsAhead = cStatPrefetch::kWindow;

private:
    struct cPending {
        std::shared_ptr<cBatch> Batch;
        std::size_t K = 0;
    };
    using cQueue = std::map<cPlace, cPending>;
    // A worker's task: reads pending folders until none is left or enough are held.
    void ReadPending();
    // The next folder to read, claimed; false when there is none or enough are held. What it drops to
    // make room goes to `dropped`, for the caller to destroy outside the lock.
    bool Claim(cPending& next, std::vector<std::unique_ptr<cFolderSnapshot>>& dropped);
    // The k-th snapshot, moved out by whoever changed its state from read; its entries are no longer held.
    std::unique_ptr<cFolderSnapshot> Unhold(cBatch& batch, std::size_t k);
    // Drops the last folder held to make room for an earlier one; false when it cannot.
    bool DropLastHeld(std::vector<std::unique_ptr<cFolderSnapshot>>& dropped);
    void Read(cBatch& batch, std::size_t k);
    // What the walk reads of a folder and its target folder when it enters them.
    void ReadFolders(cFolderSnapshot& snapshot) const;
    // The batch of a snapshot's sub-folders.
    std::shared_ptr<cBatch> AskWithin(const cBatch& parent, std::size_t k, cFolderSnapshot& snapshot);
    std::shared_ptr<cBatch> MakeBatch(cPlace place, platform::Directory& sourceDir, platform::Directory* targetDir,
                                      std::vector<std::string> names, const std::vector<std::size_t>& skipped);
    // Starts workers on pending folders, as many as may help.
    void StartReaders();

    cWorkerPool* pool_;
    cOptions options_;
    std::mutex mutex_;
    cQueue pending_;  // the first is read next
    cQueue held_;     // being read, or read and not taken
    std::atomic<std::size_t> heldEntries_{0};  // listed in the folders read and not taken
    int readers_ = 0;  // workers in ReadPending
};

}  // namespace trx

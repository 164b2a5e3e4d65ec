// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/CompiledFilters.h"
#include "engine/CopyQueue.h"
#include "engine/DestinationRunState.h"
#include "engine/FileInputs.h"
#include "engine/FolderReadAhead.h"
#include "engine/HardLinks.h"
#include "engine/HeldBack.h"
#include "engine/StatPrefetch.h"
#include "engine/TargetFolders.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace trx {

namespace platform {
class Directory;
struct EntryInfo;
struct ListedEntry;
}  // namespace platform
class cBackUpDestination;
class cBackUpOptions;
class cBackUpSource;
class cRunContext;
class cSubDir;
struct cCopyRequest;

// Backs up one source into its target directory: walks it, records the catalogue, copies what is new or
// changed, and reports through the destination's hooks and the protocol.
class cSourceRun {
public:
    cSourceRun(cRunContext& run, cBackUpSource& source, cDestinationRunState& state);

    // Backs the source up. Throws cInvalidMaskError when a file reaches an invalid mask (the destination
    // run reports the source as failed); every file system problem becomes a protocol line instead.
    void BackUp();

    // True when the source directory itself could not be listed.
    bool SourceUnreachable() const { return sourceUnreachable_; }
    // True when the source directory listed empty although its catalogue knows names: its deletions wait.
    bool SourceHeldBack() const { return sourceHeldBack_; }

private:
    // One directory being walked: its catalogue node, the destination-tree node of its target folder, and
    // both folders open.
    struct cFolder {
        cSubDir& Catalogue;
        cSubDir& Target;
        platform::Directory& SourceDir;
        platform::Directory* TargetDir;  // null in a preview where the run would make the folder
        bool TargetFresh;        // made by this walk (or to be made), so nothing in it needs a change test
        std::uint64_t Device;    // the file system the source folder is on
        bool MountPoint;         // on another file system than its parent
        std::string SourcePath;  // both with their trailing "/"
        std::string TargetPath;
        cFolderCopy Copy{};  // what the target folder was when entered
        // Below the root, the handles belong to the folder and to the copies and the finish still waiting
        // for it, so that the walk may leave it while they run.
        std::shared_ptr<platform::Directory> SourceOwner{};
        std::shared_ptr<platform::Directory> TargetOwner{};
        // What the workers read of it before the walk came, if they did.
        std::unique_ptr<cFolderSnapshot> Snapshot{};
        // Its sub-folders, being read ahead while the walk is in it, and its own place in the walk's order.
        std::shared_ptr<cFolderReadAhead::cBatch> SubFolders{};
        cFolderReadAhead::cPlace Place{};
    };

    // The source's target folder, made where missing (a preview only opens what is there). `reachable` is
    // false when the run cannot have it.
    std::unique_ptr<platform::Directory> OpenTargetRoot(std::unique_ptr<platform::Directory>& destinationDir,
                                                        bool& reachable);
    // Walks the source folder into `targetDir` (null in a preview of a folder the run would make).
    void WalkRoot(platform::Directory& sourceDir, platform::Directory* targetDir, cSubDir& targetNode,
                  const std::string& targetPath);
    // Walks one directory: first the name tests and the catalogue, then copying and recursion. Its copies
    // may still be under way when it returns.
    void BackUpDir(cFolder& folder);
    // Gives a sub-folder its owner, attributes, bits and times once its copies are complete, without
    // waiting for them where it can.
    void LeaveSubDir(cFolder& folder, bool shaping);
    // The second pass over the candidates, each stat'ed afresh (on the workers, a little ahead).
    void BackUpCandidates(cFolder& folder, const std::vector<platform::ListedEntry>& entries,
                          const std::vector<int>& position, int candidates);
    // One candidate of the second pass; false when it is gone. `refusal`: the problem line of a name the
    // destination cannot hold ("" for none).
    // `subFolder`: its place among the folder's sub-folders read ahead (-1 for none).
    bool BackUpEntry(cFolder& folder, const std::string& name, const cStatPrefetch::cStats& stats,
                     const std::string& refusal, int subFolder);
    // Pass 1: name tests, candidates, the catalogue and the destination tree. Gives every entry its 1-based
    // place among the candidates (0 for none) and returns the number of candidates.
    int ListCandidates(cFolder& folder, const std::vector<platform::ListedEntry>& entries,
                       std::vector<int>& position);
    // The name tests of pass 1 (folders are always candidates, but never the destination itself).
    // `known`: the entry's stat where the workers took it already (null otherwise).
    bool IsCandidate(cFolder& folder, const platform::ListedEntry& entry,
                     const platform::Result<platform::EntryInfo>* known);
    // Lets the workers read the folder's sub-folders ahead; gives each its place (-1 for none).
    void ReadAheadSubFolders(cFolder& folder, const std::vector<platform::ListedEntry>& entries,
                             const std::vector<int>& position, const std::vector<std::string>& refused,
                             std::vector<int>& subFolder);
    // Tells the destination tree (or, without deletions, the other sources) which catalogued names the
    // walk saw in this folder: `seen` holds their indexes into the catalogue node's Files.
    void RecordSeen(cFolder& folder, const std::vector<std::size_t>& seen);
    // `place`: its place among the sub-folders of `parent` that are read ahead (-1 for none).
    void BackUpSubDir(cFolder& parent, const std::string& name, const platform::EntryInfo& info, int place);
    // The target folder `name`, made where missing. A file or link of that name, the copy of what the
    // source had before it became a folder, goes first. Null when it cannot be had. Takes the folder the
    // workers opened where there is one.
    std::unique_ptr<platform::Directory> OpenTargetSub(cFolder& parent, const std::string& name, bool& made,
                                                       cFolderSnapshot* snapshot);
    // `target`: the stat of the copy's entry (not taken in a folder made by this walk).
    void BackUpFile(cFolder& folder, const std::string& name, const platform::EntryInfo& info,
                    const platform::Result<platform::EntryInfo>& target);
    bool PassesDateAndSize(const std::string& name, const platform::EntryInfo& info);
    // Copies one file or link fail-safe and reports the outcome. `found`: the result of the stat of the
    // target entry `existing`. A preview only writes the decision into the plan.
    void CopyFile(cFolder& folder, const std::string& name, const platform::EntryInfo& info, int found,
                  const platform::EntryInfo& existing);
    void PlanCopy(cFolder& folder, const std::string& name, const platform::EntryInfo& info, int found,
                  const platform::EntryInfo& existing);
    void CarryOutCopy(cFolder& folder, const std::string& name, const platform::EntryInfo& info, int found,
                      bool replacesFolder);
    // A copy that needs nothing of the walk but its own two folders (and the version store, which
    // locks): a file of one chunk or a link, without further names, that does not replace a folder.
    bool CopiesOnWorker(const platform::EntryInfo& info, bool replacesFolder) const;
    // `keepVersion`: the copy it replaces becomes an earlier version.
    void CopyOnWorker(cFolder& folder, const std::string& name, const platform::EntryInfo& info,
                      cCopyRequest request, bool keepVersion);
    void ReportCopy(const std::string& sourceFile, const std::string& targetPath, const platform::EntryInfo& info,
                    CopyOutcome outcome);
    // The copy of a file that is a folder now (the source's file took a folder's place): the folder goes
    // first, by the deletion rules. False when it must stay.
    bool MakeRoomFor(cFolder& folder, const std::string& name);
    // The copy `name` that a new one is about to replace becomes an earlier version; false when it could
    // not (reported): the new copy is dropped then and the old one stays.
    bool KeepVersion(cFolder& folder, const std::string& name);
    // True when that folder holds so many catalogued copies that its deletion waits for the user (reported).
    bool HoldBackReplacedFolder(cFolder& folder, const std::string& name);

    // Entries the destination cannot take under their names, each with its report: names that differ only
    // in case from another one on a destination that folds case, and names whose trailing dots or blanks
    // it would drop. Empty when there are none.
    std::vector<std::string> RefusedNames(cFolder& folder, const std::vector<platform::ListedEntry>& entries,
                                          const std::vector<int>& position);
    void ReportRefused(cFolder& folder, const std::string& name, const std::string& report);
    // The target root of this source is also the destination folder or another source's: only ever closed.
    bool TargetRootShared() const;
    // What the copy of `info` keeps besides its data, in `folder`.
    void KeepRequest(cFolder& folder, const platform::EntryInfo& info, cCopyRequest& request);
    // A further name of a file whose copy this walk has: becomes a further name of that copy. False when
    // there is none, or it cannot be linked (it is copied then).
    bool LinkToPartner(cFolder& folder, const std::string& name, const platform::EntryInfo& info, int found,
                       const platform::EntryInfo& existing);
    // A copy that is up to date gets the bits and owner its source has now, and is remembered as the copy
    // of a file with further names.
    void KeepUpToDateCopy(cFolder& folder, const std::string& name, const platform::EntryInfo& info,
                          const platform::EntryInfo& existing);
    void RememberCopy(cFolder& folder, const std::string& name, const platform::EntryInfo& info);

    // A directory that lists empty: true when its deletions are held back because that looks like a
    // medium that is not mounted (reported).
    bool HoldBackEmpty(cFolder& folder);
    // Holds back the deletions below catalogue children that were mount points and are gone now.
    void HoldBackGoneMounts(cFolder& folder, const std::vector<platform::ListedEntry>& entries);
    void HoldBack(cHeldBack::Reason why, const std::string& path, std::uint64_t entries,
                  const cSubDir& catalogueNode, cSubDir& targetNode, const std::string& message);
    void MarkUnreachable(const cSubDir& node, cSubDir& targetNode, const std::string& path);

    // A protocol line judged by the source's own protocol level.
    void LogForSource(const std::string& text, int level);
    // Removes temporary copies of an interrupted run from `targetDir`, sparing names the source has now.
    void RemoveStaleCopies(platform::Directory& targetDir, const std::vector<std::string>& candidates);
    bool IsDestination(platform::Directory& dir, const std::string& name,
                       const platform::Result<platform::EntryInfo>* known);

    cRunContext& run_;
    cBackUpSource& source_;
    cBackUpDestination& destination_;
    const cBackUpOptions& options_;
    cDestinationRunState& state_;
    cCompiledFilters filters_;  // compiled once for the whole walk
    cFileInputs inputs_;        // refilled for every entry, so its strings keep their storage
    cTargetFolders folders_;
    cHardLinks hardLinks_;
    cCopyQueue copies_;
    cFolderReadAhead readAhead_;
    // Folders left by the walk whose copies are still under way; each holds its two handles open.
    int foldersWaiting_ = 0;
    static constexpr int kMaxFoldersWaiting = 64;
    platform::Directory* destinationDir_ = nullptr;  // open while the source is backed up
    bool needAttributes_ = false;
    bool sourceUnreachable_ = false;
    bool sourceHeldBack_ = false;
};

}  // namespace trx

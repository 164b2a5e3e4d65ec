// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/SourceRun.h"

#include "engine/Catalogue.h"
#include "engine/CatalogueJournal.h"
#include "engine/ChangeTest.h"
#include "engine/FilterCriteria.h"
#include "engine/FormatSize.h"
#include "engine/KeptMetadata.h"
#include "engine/Messages.h"
#include "engine/MissingMedium.h"
#include "engine/PlanRecorder.h"
#include "engine/PackedTime.h"
#include "engine/RunContext.h"
#include "engine/SafeCopy.h"
#include "engine/TargetDirectory.h"
#include "engine/TargetPath.h"
#include "engine/VersionStore.h"
#include "model/BackUpDestination.h"
#include "model/BackUpOptions.h"
#include "model/BackUpSource.h"
#include "platform/FileSystem.h"
#include "platform/TemporaryName.h"
#include "platform/Text.h"

#include <algorithm>
#include <cerrno>
#include <iterator>
#include <memory>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace trx {

namespace {
// The source folder's own file system could not be asked: no folder below it counts as a mount point.
constexpr std::uint64_t kUnknownDevice = ~std::uint64_t{0};
}  // namespace

cSourceRun::cSourceRun(cRunContext& run, cBackUpSource& source, cDestinationRunState& state)
    : run_(run),
      source_(source),
      destination_(*source.Destination),
      options_(*source.Options),
      state_(state),
      filters_(*source.Options),
      folders_(run.Fs, state, source.Options->TimeOriginal),
      copies_(run.Workers, [&run] { run.Pump(); }),
      readAhead_(source.Options->SubFolders ? run.Workers : nullptr,
                 {state.Abilities.KeepsAttributes, state.DestinationKnown, state.DestinationDevice,
                  state.DestinationInode}) {
    // Without an attribute test the walk needs no stat in its first pass.
    needAttributes_ = options_.Filters[0].Attributes != 0 || options_.Filters[1].Attributes != 0;
}

void cSourceRun::BackUp() {
    // A source whose walk did not happen keeps the total of its last run: the run window takes it as the
    // source's expected size.
    const std::uint64_t previousTotal = source_.TotalSize;
    source_.TotalSize = 0;
    source_.TargetSubPath = GetTargetSubPath(source_.Path, options_.TransferFlags);
    const std::string targetPath = destination_.Path + source_.TargetSubPath;
    cSubDir& targetNode = *destination_.Tree.GetChild(source_.TargetSubPath);
    if (run_.Plan != nullptr) {
        run_.Plan->BeginGroup(destination_.Path, source_.Path, targetPath);
    }

    // Every protocol line of the walk waits for the copies before it; the last ones are said at its end,
    // also when a filter stops it.
    struct cQueueInstalled {
        cRunContext& Run;
        cCopyQueue& Copies;
        ~cQueueInstalled() {
            Copies.Drain();
            Run.Copies = nullptr;
        }
    } installed{run_, copies_};
    run_.Copies = &copies_;

    bool reachable = false;
    std::unique_ptr<platform::Directory> destinationDir;
    std::unique_ptr<platform::Directory> targetDir = OpenTargetRoot(destinationDir, reachable);
    if (!reachable) {
        run_.ReportProblem(messages::TargetUnreachable(targetPath), nullptr);
        sourceUnreachable_ = true;  // nothing was walked: nothing may be compared
        state_.LeftOut[&source_.Catalogue] = &targetNode;
    } else if (auto sourceDir = run_.Fs.OpenDirectory(source_.Path); !sourceDir) {
        sourceUnreachable_ = true;
        MarkUnreachable(source_.Catalogue, targetNode, source_.Path);
    } else {
        WalkRoot(**sourceDir, targetDir.get(), targetNode, targetPath);
    }
    destinationDir_ = nullptr;
    if (sourceUnreachable_ || sourceHeldBack_) {
        source_.TotalSize = previousTotal;
    }
}

std::unique_ptr<platform::Directory> cSourceRun::OpenTargetRoot(std::unique_ptr<platform::Directory>& destinationDir,
                                                                bool& reachable) {
    // A target path that would climb out of the destination ("..") is as unreachable as a missing one.
    std::unique_ptr<platform::Directory> targetDir;
    if (auto opened = run_.Fs.OpenDirectory(destination_.Path)) {
        destinationDir = std::move(*opened);
        destinationDir_ = destinationDir.get();
        targetDir = run_.DryRun ? OpenBelow(*destinationDir, source_.TargetSubPath)
                                : folders_.OpenTargetRoot(*destinationDir, source_.TargetSubPath, source_.Path);
    }
    // A preview goes on without the folders the run would make.
    reachable = targetDir != nullptr || (run_.DryRun && IsPlainRelativePath(source_.TargetSubPath));
    return targetDir;
}

void cSourceRun::WalkRoot(platform::Directory& sourceDir, platform::Directory* targetDir, cSubDir& targetNode,
                          const std::string& targetPath) {
    const auto rootStat = sourceDir.Stat(".");
    const bool rootKnown = rootStat.Ok();
    const platform::EntryInfo root = rootKnown ? *rootStat : platform::EntryInfo{};
    const std::uint64_t device = rootKnown ? root.Device : kUnknownDevice;
    cFolder folder{source_.Catalogue, targetNode, sourceDir, targetDir, targetDir == nullptr, device, false,
                   source_.Path,      targetPath};
    const bool shaping = rootKnown && targetDir != nullptr && !run_.DryRun;
    if (shaping) {
        folders_.Enter(*targetDir, root, TargetRootShared(), folder.Copy);
    }
    BackUpDir(folder);
    // The root's handles belong to the caller: its copies are complete before it is left.
    copies_.Drain();
    if (shaping) {
        folders_.Finish(*targetDir, sourceDir, folder.Copy, targetNode);
    }
}

void cSourceRun::BackUpDir(cFolder& folder) {
    if (destination_.OnDirEntered) {
        copies_.Say([this, path = folder.Catalogue.GetPath(false)] { destination_.OnDirEntered(destination_, path); });
    }
    run_.Pump();

    auto listed = folder.Snapshot ? std::move(folder.Snapshot->Entries) : folder.SourceDir.List();
    if (!listed) {
        // Never let a directory that cannot be read look empty: the comparison would delete its copies.
        if (&folder.Catalogue == &source_.Catalogue) {
            sourceUnreachable_ = true;
        }
        MarkUnreachable(folder.Catalogue, folder.Target, folder.SourcePath);
        return;
    }
    const std::vector<platform::ListedEntry>& entries = *listed;
    if (entries.empty() && HoldBackEmpty(folder)) {
        return;
    }
    HoldBackGoneMounts(folder, entries);

    // One listing serves both passes; the second pass stats every candidate afresh, so an entry that
    // vanished in between is neither copied nor counted.
    std::vector<int> position;
    const int candidates = ListCandidates(folder, entries, position);
    if (candidates > 0) {
        BackUpCandidates(folder, entries, position, candidates);
    }
}

void cSourceRun::BackUpCandidates(cFolder& folder, const std::vector<platform::ListedEntry>& entries,
                                  const std::vector<int>& position, int candidates) {
    const std::vector<std::string> refused = RefusedNames(folder, entries, position);
    std::vector<int> subFolder;
    ReadAheadSubFolders(folder, entries, position, refused, subFolder);
    struct cBatchClosed {
        cFolderReadAhead& ReadAhead;
        cFolder& Folder;
        ~cBatchClosed() {
            if (Folder.SubFolders) {
                ReadAhead.Close(*Folder.SubFolders);
            }
        }
    } closed{readAhead_, folder};
    // The stats the workers took with the listing serve the first entries; the rest are taken now.
    const std::vector<cStatPrefetch::cStats> none;
    const std::vector<cStatPrefetch::cStats>& ahead = folder.Snapshot ? folder.Snapshot->Stats : none;
    const bool targetStats = !folder.TargetFresh && folder.TargetDir != nullptr;
    std::vector<cStatPrefetch::cRequest> requests;
    int candidatesAhead = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (position[i] != 0 && i < ahead.size()) {
            ++candidatesAhead;
        } else if (position[i] != 0) {
            requests.push_back({&entries[i].Name, targetStats && entries[i].Kind != platform::FileKind::Directory});
        }
    }
    cStatPrefetch stats(run_.Workers, folder.SourceDir, folder.TargetDir, std::move(requests));
    for (std::size_t i = 0; i < entries.size() && !run_.Cancelled(); ++i) {
        if (position[i] == 0) {
            continue;
        }
        const cStatPrefetch::cStats& stat =
            i < ahead.size() ? ahead[i] : stats.Get(static_cast<std::size_t>(position[i] - 1 - candidatesAhead));
        if (!BackUpEntry(folder, entries[i].Name, stat, refused.empty() ? std::string() : refused[i],
                         subFolder.empty() ? -1 : subFolder[i])) {
            continue;
        }
        if (destination_.OnProgress && &folder.Catalogue == &source_.Catalogue) {
            copies_.Say([this, at = position[i], candidates] { destination_.OnProgress(destination_, at, candidates); });
        }
        copies_.SayDone();
        run_.Pump();
    }
}

void cSourceRun::ReadAheadSubFolders(cFolder& folder, const std::vector<platform::ListedEntry>& entries,
                                     const std::vector<int>& position, const std::vector<std::string>& refused,
                                     std::vector<int>& subFolder) {
    if (!options_.SubFolders || !copies_.Parallel()) {
        return;
    }
    // One place for every entry listed as a folder, as the workers give them when they read ahead.
    const bool asked = folder.Snapshot && folder.Snapshot->SubFolders;  // the workers are at it already
    std::vector<std::string> names;
    std::vector<std::size_t> skipped;
    subFolder.assign(entries.size(), -1);
    int places = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].Kind != platform::FileKind::Directory) {
            continue;
        }
        if (!asked && (position[i] == 0 || (!refused.empty() && !refused[i].empty()))) {
            skipped.push_back(names.size());
        }
        if (!asked) {
            names.push_back(entries[i].Name);
        }
        subFolder[i] = places++;
    }
    folder.SubFolders = asked ? folder.Snapshot->SubFolders
                              : readAhead_.Ask(folder.Place, folder.SourceDir, folder.TargetDir,
                                               std::move(names), skipped);
}

bool cSourceRun::BackUpEntry(cFolder& folder, const std::string& name, const cStatPrefetch::cStats& stats,
                             const std::string& refusal, int subFolder) {
    const auto& info = stats.Source;
    if (!info) {
        return false;  // gone since the listing: neither copied nor counted
    }
    if (!refusal.empty()) {
        ReportRefused(folder, name, refusal);
    } else if (info->Kind == platform::FileKind::Directory) {
        if (options_.SubFolders) {
            BackUpSubDir(folder, name, *info, subFolder);
        }
    } else {
        BackUpFile(folder, name, *info, stats.Target);
    }
    return true;
}

int cSourceRun::ListCandidates(cFolder& folder, const std::vector<platform::ListedEntry>& entries,
                               std::vector<int>& position) {
    position.assign(entries.size(), 0);
    int candidates = 0;
    std::vector<std::string>& files = folder.Catalogue.Files;
    // Files stays as it is during the loop, so views into it hold; new names are added after it.
    std::unordered_map<std::string_view, std::size_t> catalogued;
    catalogued.reserve(files.size());
    for (std::size_t k = 0; k < files.size(); ++k) {
        catalogued.emplace(files[k], k);
    }
    std::vector<std::string> added;
    added.reserve(entries.size());  // never moves: `adding` holds views into it
    std::unordered_map<std::string_view, std::size_t> adding;
    std::vector<std::size_t> seen;  // index into Files (or beyond it, into `added`) of every candidate
    for (std::size_t i = 0; i < entries.size() && !run_.Cancelled(); ++i) {
        const cStatPrefetch::cStats* known =
            folder.Snapshot && i < folder.Snapshot->Stats.size() ? &folder.Snapshot->Stats[i] : nullptr;
        if (!IsCandidate(folder, entries[i], known != nullptr ? &known->Source : nullptr)) {
            continue;
        }
        position[i] = ++candidates;
        std::string upper = text::UpperCase(entries[i].Name);
        if (const auto it = catalogued.find(upper); it != catalogued.end()) {
            seen.push_back(it->second);
        } else if (const auto at = adding.find(upper); at != adding.end()) {
            seen.push_back(at->second);
        } else {
            seen.push_back(files.size() + added.size());
            added.push_back(std::move(upper));
            adding.emplace(added.back(), seen.back());
        }
    }
    if (run_.Journal != nullptr) {
        run_.Journal->Added(source_, folder.Catalogue, added);  // before any of them is copied
    }
    files.reserve(files.size() + added.size());
    std::move(added.begin(), added.end(), std::back_inserter(files));
    RecordSeen(folder, seen);
    return candidates;
}

bool cSourceRun::IsCandidate(cFolder& folder, const platform::ListedEntry& entry,
                             const platform::Result<platform::EntryInfo>* known) {
    if (entry.Kind == platform::FileKind::Directory) {
        // The run's own output is never copied into itself.
        return !IsDestination(folder.SourceDir, entry.Name, known);
    }
    inputs_.SetName(entry.Name);
    if (needAttributes_) {
        const auto info = known != nullptr ? *known : folder.SourceDir.Stat(entry.Name);
        if (!info) {
            return false;  // gone already
        }
        inputs_.Attributes = platform::AttributesOf(entry.Name, info->Kind, info->Mode);
    }
    return filters_.PassesNameTests(inputs_);
}

void cSourceRun::RecordSeen(cFolder& folder, const std::vector<std::size_t>& seen) {
    const std::vector<std::string>& files = folder.Catalogue.Files;
    if (options_.DelDeletedFiles) {
        folder.Target.Seen.reserve(folder.Target.Seen.size() + seen.size());
    }
    for (const std::size_t k : seen) {
        if (options_.DelDeletedFiles) {
            // Another source's comparison may follow this source's, which moves its catalogue's names.
            if (state_.SharedTargets) {
                folder.Target.AddSeenCopy(files[k]);
            } else {
                folder.Target.AddSeen(files[k]);
            }
        } else if (state_.SharedTargets) {
            state_.Protected.Add(folder.Target, files[k]);
        }
    }
    if (state_.StaleCopiesPossible && !folder.TargetFresh && folder.TargetDir != nullptr && !run_.Cancelled()) {
        std::vector<std::string> candidateNames;
        for (const std::size_t k : seen) {
            candidateNames.push_back(files[k]);
        }
        RemoveStaleCopies(*folder.TargetDir, candidateNames);
    }
}

void cSourceRun::BackUpSubDir(cFolder& parent, const std::string& name, const platform::EntryInfo& info,
                              int place) {
    std::unique_ptr<cFolderSnapshot> snapshot;
    if (place >= 0 && parent.SubFolders) {
        snapshot = readAhead_.Take(*parent.SubFolders, static_cast<std::size_t>(place));
    }
    bool made = false;
    const bool targetAhead = snapshot && snapshot->TargetDir;
    std::shared_ptr<platform::Directory> targetSub = OpenTargetSub(parent, name, made, snapshot.get());
    cSubDir& catalogueChild = *parent.Catalogue.GetChild(name);
    cSubDir& targetChild = *parent.Target.GetChild(name);
    const bool mounted = parent.Device != kUnknownDevice && info.Device != parent.Device;
    if (mounted) {
        catalogueChild.MountPoint = true;  // remembered, for the day it is not mounted
    }
    const std::string sourcePath = parent.SourcePath + name + "/";
    if (!targetSub && !made) {
        // Said aloud, not skipped in silence: a whole sub-tree is missing from the backup. The comparison
        // leaves it out, so that nothing of it is deleted on the strength of a walk that never happened.
        state_.LeftOut[&catalogueChild] = &targetChild;
        run_.ReportProblem(messages::TargetUnreachable(parent.TargetPath + name + "/"), nullptr);
        return;
    }
    std::shared_ptr<platform::Directory> sourceSub;
    if (snapshot) {
        sourceSub = std::move(snapshot->SourceDir);
        if (!targetAhead && !made) {
            snapshot->Stats.clear();  // taken without the target folder the walk has now
        }
    } else if (auto opened = parent.SourceDir.OpenSub(name)) {
        sourceSub = std::move(*opened);
    } else {
        MarkUnreachable(catalogueChild, targetChild, sourcePath);
        return;
    }
    cFolder folder{catalogueChild, targetChild, *sourceSub,
                   targetSub.get(), made,       info.Device,
                   mounted,        sourcePath,  parent.TargetPath + name + "/"};
    folder.SourceOwner = sourceSub;
    folder.TargetOwner = targetSub;
    folder.Snapshot = std::move(snapshot);
    if (place >= 0 && parent.SubFolders) {
        folder.Place = cFolderReadAhead::PlaceOf(*parent.SubFolders, static_cast<std::size_t>(place));
    }
    const bool shaping = targetSub != nullptr && !run_.DryRun;
    if (shaping) {
        folders_.Enter(*targetSub, info, false, folder.Copy, targetAhead ? &folder.Snapshot->Reads : nullptr);
    }
    BackUpDir(folder);
    LeaveSubDir(folder, shaping);
}

void cSourceRun::LeaveSubDir(cFolder& folder, bool shaping) {
    if (!shaping || foldersWaiting_ >= kMaxFoldersWaiting) {
        copies_.Drain();
    }
    if (!shaping) {
        return;
    }
    // Said behind the folder's copies, so its times and bits come last; meanwhile the walk goes on (a
    // nightly run has a changed file in many a folder, and a wait for each cost more than its copy).
    ++foldersWaiting_;
    copies_.Say([this, source = folder.SourceOwner, target = folder.TargetOwner, copy = folder.Copy,
                 &node = folder.Target] {
        --foldersWaiting_;
        folders_.Finish(*target, *source, copy, node);
    });
}

std::unique_ptr<platform::Directory> cSourceRun::OpenTargetSub(cFolder& parent, const std::string& name,
                                                               bool& made, cFolderSnapshot* snapshot) {
    made = false;
    if (snapshot != nullptr && snapshot->TargetDir) {
        return std::move(snapshot->TargetDir);
    }
    if (parent.TargetDir == nullptr) {
        made = true;  // a preview below a folder the run would make: this one would be made too
        return nullptr;
    }
    platform::Directory& dir = *parent.TargetDir;
    // Opened first: on the nightly run the folder is there, and trying to make it would only fail.
    if (auto opened = dir.OpenSub(name)) {
        return std::move(*opened);
    }
    if (const auto existing = dir.Stat(name); existing) {
        // The copy of a file or link that a folder took the place of at the source goes first.
        copies_.Drain();  // its deletion is planned and said in the walk's order
        cCatalogueSync sync(run_, state_);
        if (existing->Kind == platform::FileKind::Directory || !sync.Remove(dir, parent.TargetPath, name)) {
            return nullptr;
        }
    } else if (existing.Error() != ENOENT) {
        return nullptr;
    }
    if (run_.DryRun) {
        made = true;  // the run makes it
        return nullptr;
    }
    const platform::Status making = dir.MakeSub(name, 0700);
    made = making.Ok();
    if (!making && making.Error() != EEXIST) {
        return nullptr;
    }
    auto opened = dir.OpenSub(name);
    return opened ? std::move(*opened) : nullptr;
}

void cSourceRun::BackUpFile(cFolder& folder, const std::string& name, const platform::EntryInfo& info,
                            const platform::Result<platform::EntryInfo>& target) {
    if (destination_.OnFileCompared) {
        copies_.Say([this] { destination_.OnFileCompared(destination_, source_); });
    }
    source_.TotalSize += info.Size;
    platform::EntryInfo existing;
    int found = ENOENT;
    if (!folder.TargetFresh && folder.TargetDir != nullptr) {
        found = target.Error();
        existing = target ? *target : existing;
    }
    if (cHardLinks::HasPartners(info) && LinkToPartner(folder, name, info, found, existing)) {
        return;
    }
    const bool outOfDate =
        found != 0 || !options_.OnlyNewFiles || CopyIsOutOfDate(info, existing, state_.Abilities);
    if (outOfDate && PassesDateAndSize(name, info)) {
        CopyFile(folder, name, info, found, existing);
    } else if (found == 0 && !outOfDate && !run_.DryRun) {
        KeepUpToDateCopy(folder, name, info, existing);
    }
}

bool cSourceRun::PassesDateAndSize(const std::string& name, const platform::EntryInfo& info) {
    inputs_.SetName(name);
    inputs_.ModificationDate = PackedToDayNumber(PackLocalTime(info.Modified));
    inputs_.CreationDate = LocalDayNumber(info.Created);
    inputs_.Size = info.Size;
    return filters_.PassesDateAndSizeTests(inputs_);
}

void cSourceRun::CopyFile(cFolder& folder, const std::string& name, const platform::EntryInfo& info,
                          int found, const platform::EntryInfo& existing) {
    const bool replacesFolder = found == 0 && existing.Kind == platform::FileKind::Directory;
    if (replacesFolder && HoldBackReplacedFolder(folder, name)) {
        return;
    }
    PlanCopy(folder, name, info, found, existing);
    if (!run_.DryRun) {
        CarryOutCopy(folder, name, info, found, replacesFolder);
    }
}

void cSourceRun::PlanCopy(cFolder& folder, const std::string& name, const platform::EntryInfo& info, int found,
                          const platform::EntryInfo& existing) {
    if (run_.Plan == nullptr) {
        return;
    }
    const bool replacesFolder = found == 0 && existing.Kind == platform::FileKind::Directory;
    copies_.Say([this, relative = folder.Catalogue.GetPath(false), targetPath = folder.TargetPath, name, info,
                 replacesFolder, copy = found == 0 ? std::optional(existing) : std::nullopt] {
        if (replacesFolder) {
            // The folder of copies goes first, then the file takes its name.
            run_.Plan->Delete(targetPath, name, true, 0);
            run_.Plan->Copy(relative, name, info, nullptr);
        } else {
            run_.Plan->Copy(relative, name, info, copy ? &*copy : nullptr);
        }
    });
}

void cSourceRun::CarryOutCopy(cFolder& folder, const std::string& name, const platform::EntryInfo& info, int found,
                              bool replacesFolder) {
    if (destination_.OnFileProgress) {
        copies_.Say([this, name, size = info.Size] { destination_.OnFileProgress(destination_, 0, size, &name); });
    }
    cCopyRequest request;
    request.keepTimes = options_.TimeOriginal;
    request.targetAbsent = found == ENOENT;
    if (CopiesOnWorker(info, replacesFolder)) {
        CopyOnWorker(folder, name, info, std::move(request), found == 0 && state_.Versions != nullptr);
        return;
    }
    copies_.Drain();  // its chunks are said as they come
    request.chunks = &state_.Chunks;
    request.onChunk = [&](std::uint64_t done) {
        if (destination_.OnFileProgress) {
            destination_.OnFileProgress(destination_, done, info.Size, nullptr);
        }
        run_.Pump();
    };
    request.cancelled = [&] { return run_.Cancelled(); };
    KeepRequest(folder, info, request);
    if (replacesFolder) {
        request.makeRoom = [&] { return MakeRoomFor(folder, name); };
    } else if (found == 0 && state_.Versions != nullptr) {
        request.makeRoom = [&] { return KeepVersion(folder, name); };
    }
    const CopyOutcome outcome = CopyEntrySafely(folder.SourceDir, *folder.TargetDir, name, info, request);
    if (outcome == CopyOutcome::Copied && cHardLinks::HasPartners(info)) {
        RememberCopy(folder, name, info);
    }
    ReportCopy(folder.SourcePath + name, folder.TargetPath, info, outcome);
}

bool cSourceRun::CopiesOnWorker(const platform::EntryInfo& info, bool replacesFolder) const {
    if (!copies_.Parallel() || replacesFolder || cHardLinks::HasPartners(info)) {
        return false;
    }
    // One chunk, so that no chunk progress is missed and a cancel waits for no more than one chunk.
    return info.Size <= std::min(state_.Chunks.Current(), kCopyChunk);
}

void cSourceRun::CopyOnWorker(cFolder& folder, const std::string& name, const platform::EntryInfo& info,
                              cCopyRequest request, bool keepVersion) {
    request.cancelled = [&run = run_] { return run.Cancelled(); };
    KeepRequest(folder, info, request);
    platform::Directory& sourceDir = folder.SourceDir;
    platform::Directory& targetDir = *folder.TargetDir;
    // The copy it replaces becomes an earlier version on the worker; the walk says so behind it.
    std::shared_ptr<cVersionStore::cSaid> kept;
    if (keepVersion) {
        kept = std::make_shared<cVersionStore::cSaid>();
        request.makeRoom = [&targetDir, &versions = *state_.Versions, name, path = folder.TargetPath + name, kept] {
            return versions.KeepReplacedQuietly(targetDir, name, path, *kept) != cVersionStore::Outcome::Failed;
        };
    }
    // The owners keep a sub-folder's handles open until the copy is done (the root's outlive its copies).
    copies_.Add([&sourceDir, &targetDir, owners = std::make_pair(folder.SourceOwner, folder.TargetOwner), name,
                 info, request = std::move(request)] {
                    (void)owners;
                    // A copy of one chunk never looks at the cancel on its own; those still waiting when
                    // the user cancels must not hold the run up.
                    return request.cancelled() ? CopyOutcome::Cancelled
                                               : CopyEntrySafely(sourceDir, targetDir, name, info, request);
                },
                [this, sourceFile = folder.SourcePath + name, targetPath = folder.TargetPath, info, kept](
                    CopyOutcome outcome) {
                    if (kept) {
                        state_.Versions->Say(*kept);
                    }
                    ReportCopy(sourceFile, targetPath, info, outcome);
                });
}

void cSourceRun::ReportCopy(const std::string& sourceFile, const std::string& targetPath,
                            const platform::EntryInfo& info, CopyOutcome outcome) {
    switch (outcome) {
        case CopyOutcome::Copied:
            // Counted as copied only now that the copy is in place.
            if (destination_.OnFileProgress) {
                destination_.OnFileProgress(destination_, info.Size, info.Size, nullptr);
            }
            LogForSource(messages::FileCopied(sourceFile, targetPath, FormatSize(info.Size, run_.Formats)), 2);
            break;
        case CopyOutcome::Changed:
            run_.ReportProblem(messages::FileChangedWhileCopied(sourceFile, targetPath), source_.Options);
            break;
        case CopyOutcome::Failed:
            run_.ReportProblem(messages::FileNotCopied(sourceFile, targetPath), source_.Options);
            break;
        case CopyOutcome::Cancelled:
            // Said in the protocol, but no problem of the run: the user stopped it.
            LogForSource(messages::FileNotCopied(sourceFile, targetPath), 1);
            break;
    }
}

bool cSourceRun::KeepVersion(cFolder& folder, const std::string& name) {
    return state_.Versions->KeepReplaced(*folder.TargetDir, name, folder.TargetPath + name) !=
           cVersionStore::Outcome::Failed;
}

bool cSourceRun::MakeRoomFor(cFolder& folder, const std::string& name) {
    // Another source of this destination that put files into that folder in this run keeps it.
    const cSubDir* node = folder.Target.FindChild(name);
    if (node != nullptr && !node->Seen.empty()) {
        return false;
    }
    cCatalogueSync sync(run_, state_);
    return sync.DeleteTree(*folder.TargetDir, name, folder.TargetPath + name);
}

bool cSourceRun::HoldBackReplacedFolder(cFolder& folder, const std::string& name) {
    cSubDir* node = folder.Catalogue.FindChild(name);
    const std::uint64_t known = node != nullptr ? CountNames(*node) : 0;
    if (run_.ReleaseHeldBack || known < kManyNames) {
        return false;  // a few copies go as any deletion would
    }
    // Deleting a whole folder of copies because a file of that name took its place waits like any other
    // mass deletion: the copy of the file waits with it.
    const std::string path = folder.TargetPath + name + "/";
    HoldBack(cHeldBack::Reason::ManyDeletions, path, known, *node, *folder.Target.GetChild(name),
             messages::FolderReplacedHeldBack(folder.SourcePath + name, path, known));
    return true;
}

void cSourceRun::LogForSource(const std::string& text, int level) {
    run_.WriteProtocol(text, level, source_.Options);
}

void cSourceRun::RemoveStaleCopies(platform::Directory& targetDir,
                                   const std::vector<std::string>& candidates) {
    const auto entries = targetDir.List();
    if (!entries) {
        return;
    }
    const std::unordered_set<std::string> current(candidates.begin(), candidates.end());
    for (const platform::ListedEntry& entry : *entries) {
        if (entry.Kind != platform::FileKind::Directory && platform::IsTemporaryName(entry.Name) &&
            current.count(text::UpperCase(entry.Name)) == 0) {
            (void)targetDir.Remove(entry.Name, false);
        }
    }
}

void cSourceRun::MarkUnreachable(const cSubDir& node, cSubDir& targetNode, const std::string& path) {
    state_.LeftOut[&node] = &targetNode;
    run_.ReportProblem(messages::DirectoryUnreachable(path), nullptr);
}

bool cSourceRun::HoldBackEmpty(cFolder& folder) {
    if (run_.ReleaseHeldBack) {
        return false;
    }
    const std::uint64_t known = CountNames(folder.Catalogue);
    if (&folder.Catalogue == &source_.Catalogue) {
        // The source itself: whatever it held before, an empty source folder is what a disk or share
        // that is not mounted looks like.
        if (known == 0) {
            return false;
        }
        sourceHeldBack_ = true;
        HoldBack(cHeldBack::Reason::SourceEmpty, folder.SourcePath, known, folder.Catalogue, folder.Target,
                 messages::SourceEmptyHeldBack(folder.SourcePath, known));
        return true;
    }
    if (!EmptyFolderLooksUnmounted(known, folder.MountPoint, folder.Catalogue.MountPoint)) {
        return false;
    }
    HoldBack(cHeldBack::Reason::FolderEmpty, folder.SourcePath, known, folder.Catalogue, folder.Target,
             messages::FolderEmptyHeldBack(folder.SourcePath, known));
    return true;
}

void cSourceRun::HoldBackGoneMounts(cFolder& folder, const std::vector<platform::ListedEntry>& entries) {
    if (run_.ReleaseHeldBack) {
        return;
    }
    std::unordered_set<std::string> listed;
    const std::vector<std::string>& files = folder.Catalogue.Files;
    for (cSubDir* child : folder.Catalogue.SubDirs) {
        if (!child->MountPoint || !IsPlainName(child->Name)) {
            continue;
        }
        if (listed.empty()) {
            for (const platform::ListedEntry& entry : entries) {
                listed.insert(text::UpperCase(entry.Name));
            }
        }
        std::string upper = text::UpperCase(child->Name);
        const bool catalogued = std::find(files.begin(), files.end(), upper) != files.end();
        const std::uint64_t known = catalogued ? CountNames(*child) : 0;  // a folder deleted long ago: none
        if (listed.count(upper) != 0 || known == 0) {
            continue;
        }
        // The desktop removes the folders it mounts media on: the folder's own name must stay too.
        state_.Protected.Add(folder.Target, std::move(upper));
        const std::string path = folder.SourcePath + child->Name + "/";
        HoldBack(cHeldBack::Reason::FolderGone, path, known, *child, *folder.Target.GetChild(child->Name),
                 messages::FolderGoneHeldBack(path, known));
    }
}

void cSourceRun::HoldBack(cHeldBack::Reason why, const std::string& path, std::uint64_t entries,
                          const cSubDir& catalogueNode, cSubDir& targetNode, const std::string& message) {
    state_.LeftOut[&catalogueNode] = &targetNode;
    run_.ReportHeldBack({why, path, entries}, message);
}

bool cSourceRun::IsDestination(platform::Directory& dir, const std::string& name,
                               const platform::Result<platform::EntryInfo>* known) {
    if (!state_.DestinationKnown) {
        return false;
    }
    const auto info = known != nullptr ? *known : dir.Stat(name);
    return info && info->Device == state_.DestinationDevice && info->Inode == state_.DestinationInode;
}

std::vector<std::string> cSourceRun::RefusedNames(cFolder& folder,
                                                  const std::vector<platform::ListedEntry>& entries,
                                                  const std::vector<int>& position) {
    std::vector<std::string> refused;
    const cDestinationAbilities& abilities = state_.Abilities;
    if (!abilities.FoldsCase && !abilities.DropsTrailingDots) {
        return refused;
    }
    const auto sourceName = [&](std::size_t i) {
        return folder.SourcePath + entries[i].Name +
               (entries[i].Kind == platform::FileKind::Directory ? "/" : "");
    };
    std::unordered_map<std::string, std::vector<std::size_t>> byUpper;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::string& name = entries[i].Name;
        if (position[i] == 0) {
            continue;
        }
        if (abilities.DropsTrailingDots && (name.back() == '.' || name.back() == ' ')) {
            refused.resize(entries.size());
            refused[i] = messages::NameNotHeld(sourceName(i), folder.TargetPath);
        } else if (abilities.FoldsCase) {
            byUpper[text::UpperCase(name)].push_back(i);
        }
    }
    std::unordered_set<std::string> present;  // the target's real names, listed only when names clash
    bool listed = false;
    for (const auto& [upper, members] : byUpper) {
        if (members.size() < 2) {
            continue;
        }
        if (!listed && !folder.TargetFresh && folder.TargetDir != nullptr) {
            if (const auto targetEntries = folder.TargetDir->List()) {
                for (const platform::ListedEntry& entry : *targetEntries) {
                    present.insert(entry.Name);
                }
            }
        }
        listed = true;
        // The one whose copy is there keeps it; otherwise the first by name, so that every run keeps the
        // same one and none is ever copied over another's copy.
        const auto before = [&](std::size_t a, std::size_t b) {
            const bool aThere = present.count(entries[a].Name) != 0;
            const bool bThere = present.count(entries[b].Name) != 0;
            return aThere != bThere ? aThere : entries[a].Name < entries[b].Name;
        };
        const std::size_t kept = *std::min_element(members.begin(), members.end(), before);
        refused.resize(entries.size());
        for (const std::size_t i : members) {
            if (i != kept) {
                refused[i] = messages::CaseClash(sourceName(i), folder.TargetPath, entries[kept].Name);
            }
        }
    }
    return refused;
}

void cSourceRun::ReportRefused(cFolder& folder, const std::string& name, const std::string& report) {
    run_.ReportProblem(report, source_.Options);
    // Its catalogued names are not compared: on this destination they would reach the copy of the other.
    if (cSubDir* child = folder.Catalogue.FindChild(name); child != nullptr) {
        state_.LeftOut[child] = folder.Target.GetChild(name);
    }
}

bool cSourceRun::TargetRootShared() const {
    if (source_.TargetSubPath.empty()) {
        return true;  // the destination folder itself
    }
    for (const cBackUpSource* other : destination_.Sources) {
        if (other != &source_ &&
            GetTargetSubPath(other->Path, other->Options->TransferFlags) == source_.TargetSubPath) {
            return true;
        }
    }
    return false;
}

void cSourceRun::KeepRequest(cFolder& folder, const platform::EntryInfo& info, cCopyRequest& request) {
    request.copyAttributes = state_.Abilities.KeepsAttributes && info.Kind == platform::FileKind::Regular;
    request.dropInheritedAcl = request.copyAttributes && cTargetFolders::InheritsAcl(folder.Copy);
    request.keepHoles = state_.Abilities.KeepsHoles;
    cOwnerChange change;
    if (OwnerToGive(state_.Abilities, state_.Identity, info, state_.Identity.User,
                    folders_.NewGroup(folder.Copy), change)) {
        request.owner = change.Owner;
        request.group = change.Group;
    }
}

bool cSourceRun::LinkToPartner(cFolder& folder, const std::string& name, const platform::EntryInfo& info,
                               int found, const platform::EntryInfo& existing) {
    const cHardLinks::cCopy* partner = hardLinks_.Find(info);
    if (partner == nullptr || (found == 0 && existing.Kind == platform::FileKind::Directory)) {
        return false;
    }
    if (found == 0 && existing.Device == partner->Device && existing.Inode == partner->Inode) {
        return true;  // one file with its partner already
    }
    std::unique_ptr<platform::Directory> partnerDir;
    platform::Directory* dir = folder.TargetDir;
    if (partner->Folder != folder.TargetPath) {
        if (destinationDir_ == nullptr || !partner->Folder.starts_with(destination_.Path)) {
            return false;
        }
        partnerDir = OpenBelow(*destinationDir_, partner->Folder.substr(destination_.Path.size()));
        dir = partnerDir.get();
    }
    std::function<bool()> keepVersion;
    if (found == 0 && state_.Versions != nullptr) {
        keepVersion = [&] { return KeepVersion(folder, name); };
    }
    if (dir == nullptr || LinkEntrySafely(*dir, partner->Name, *folder.TargetDir, name, found == ENOENT,
                                          keepVersion) != CopyOutcome::Copied) {
        return false;
    }
    // Planned as the copy it stands for (a separate copy that was up to date is no change of the plan).
    if (run_.Plan != nullptr && (found != 0 || CopyIsOutOfDate(info, existing, state_.Abilities))) {
        copies_.Say([this, relative = folder.Catalogue.GetPath(false), name, info,
                     copy = found == 0 ? std::optional(existing) : std::nullopt] {
            run_.Plan->Copy(relative, name, info, copy ? &*copy : nullptr);
        });
    }
    if (destination_.OnFileProgress) {
        copies_.Say([this, name, size = info.Size] {
            destination_.OnFileProgress(destination_, 0, size, &name);
            destination_.OnFileProgress(destination_, size, size, nullptr);
        });
    }
    LogForSource(messages::FileCopied(folder.SourcePath + name, folder.TargetPath,
                                      FormatSize(info.Size, run_.Formats)),
                 2);
    return true;
}

void cSourceRun::KeepUpToDateCopy(cFolder& folder, const std::string& name, const platform::EntryInfo& info,
                                  const platform::EntryInfo& existing) {
    // A change of bits or owner alone leaves the modification time alone: the copy follows it here.
    if (state_.Abilities.KeepsPermissions && existing.Kind == platform::FileKind::Regular &&
        KeptMode(existing.Mode, existing.Kind) != KeptMode(info.Mode, info.Kind)) {
        (void)folder.TargetDir->SetModeOf(name, KeptMode(info.Mode, info.Kind));
    }
    cOwnerChange change;
    if (OwnerToGive(state_.Abilities, state_.Identity, info, existing.Owner, existing.Group, change)) {
        (void)folder.TargetDir->SetOwnerOf(name, change.Owner, change.Group);
    }
    if (cHardLinks::HasPartners(info)) {
        hardLinks_.Remember(info, {folder.TargetPath, name, existing.Device, existing.Inode});
    }
}

void cSourceRun::RememberCopy(cFolder& folder, const std::string& name, const platform::EntryInfo& info) {
    if (const auto copy = folder.TargetDir->Stat(name)) {
        hardLinks_.Remember(info, {folder.TargetPath, name, copy->Device, copy->Inode});
    }
}

}  // namespace trx

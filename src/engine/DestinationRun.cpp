// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/DestinationRun.h"

#include "engine/Catalogue.h"
#include "engine/DestinationRunState.h"
#include "engine/FormatSize.h"
#include "engine/Messages.h"
#include "engine/MissingMedium.h"
#include "engine/PlanRecorder.h"
#include "engine/RunContext.h"
#include "engine/SourceRun.h"
#include "engine/TargetDirectory.h"
#include "engine/TargetPath.h"
#include "engine/VersionFolders.h"
#include "engine/VersionStore.h"
#include "model/BackUpDestination.h"
#include "model/BackUpOptions.h"
#include "model/BackUpSource.h"
#include "platform/FileSystem.h"

#include <cerrno>
#include <exception>
#include <memory>
#include <vector>

namespace trx {

namespace {

bool BackedUpBefore(const cBackUpDestination& destination) {
    for (const cBackUpSource* source : destination.Sources) {
        if (HoldsNames(source->Catalogue)) {
            return true;
        }
    }
    return false;
}

std::uint64_t KnownNames(const cBackUpDestination& destination) {
    std::uint64_t known = 0;
    for (const cBackUpSource* source : destination.Sources) {
        known += CountNames(source->Catalogue);
    }
    return known;
}

}  // namespace

void cDestinationRun::BackUp() {
    if (run_.Plan != nullptr) {
        run_.Plan->BeginGroup(destination_.Path, {}, destination_.Path);
    }
    bool proceed = false;
    std::unique_ptr<platform::Directory> destinationDir = OpenDestination(BackedUpBefore(destination_), proceed);
    std::unique_ptr<platform::FileLock> lock;
    if (!proceed || (destinationDir && !LockDestination(*destinationDir, lock))) {
        return;
    }
    cDestinationRunState state;
    PrepareState(destinationDir.get(), state);
    const std::unique_ptr<cVersionStore> versions = OpenVersions(destinationDir.get());
    state.Versions = versions.get();
    BackUpSources(state);
    if (!run_.Cancelled() && destinationDir) {
        // After all sources, so that a name seen by any source protects the file of that name.
        CompareCatalogues(state, *destinationDir);
    }
    destination_.Tree.ClearFiles();
}

std::unique_ptr<platform::Directory> cDestinationRun::OpenDestination(bool backedUpBefore, bool& proceed) {
    platform::FileSystem& fs = run_.Fs;
    const std::string& path = destination_.Path;
    const bool guarded = backedUpBefore && !run_.ReleaseHeldBack;
    proceed = false;
    if (!fs.IsDirectory(path)) {
        if (guarded) {
            // Backed up before and gone now: the disk is not mounted. Made anew, the folder would take a full
            // backup onto the system disk below the bare mount point.
            HoldBack(cHeldBack::Reason::DestinationMissing, path, KnownNames(destination_),
                     messages::DestinationMissingHeldBack(path));
            return nullptr;
        }
        if (run_.DryRun) {
            proceed = IsDirectoryOrMissing(path);  // made by the run: everything in it will be new
            return nullptr;
        }
        // One level only: a destination on a missing drive must not be built anew below the mount point.
        std::string trimmed = path;
        while (trimmed.size() > 1 && trimmed.back() == '/') {
            trimmed.pop_back();
        }
        if (!fs.MakeDirectory(trimmed)) {
            run_.ReportProblem(messages::DestinationUnreachable(path), nullptr);
            return nullptr;
        }
    }
    auto dir = fs.OpenDirectory(path);
    if (!dir) {
        run_.ReportProblem(messages::DestinationUnreachable(path), nullptr);
        return nullptr;
    }
    const auto entries = guarded ? (*dir)->List() : platform::Result<std::vector<platform::ListedEntry>>(std::vector<platform::ListedEntry>{});
    if (guarded && entries && entries->empty()) {
        const std::uint64_t known = KnownNames(destination_);
        HoldBack(cHeldBack::Reason::DestinationEmpty, path, known,
                 messages::DestinationEmptyHeldBack(path, known));
        return nullptr;
    }
    proceed = true;
    return std::move(*dir);
}

bool cDestinationRun::IsDirectoryOrMissing(const std::string& path) {
    // A preview cannot make the folder: it tells whether the run could, one level only, as the run does.
    std::string parent = path;
    while (parent.size() > 1 && parent.back() == '/') {
        parent.pop_back();
    }
    parent = parent.substr(0, parent.rfind('/') + 1);
    if (!parent.empty() && run_.Fs.IsDirectory(parent)) {
        return true;
    }
    run_.ReportProblem(messages::DestinationUnreachable(path), nullptr);
    return false;
}

bool cDestinationRun::LockDestination(platform::Directory& dir, std::unique_ptr<platform::FileLock>& lock) {
    // A file system without locks (some network shares) still takes the run: the project lock remains.
    auto locked = dir.Lock();
    if (locked) {
        lock = std::move(*locked);
    }
    if (locked.Error() != EWOULDBLOCK) {
        return true;
    }
    run_.ReportProblem(messages::DestinationBusy(destination_.Path), nullptr);
    return false;
}

void cDestinationRun::PrepareState(platform::Directory* dir, cDestinationRunState& state) {
    platform::FileSystem& fs = run_.Fs;
    if (const auto info = dir != nullptr ? dir->Stat(".") : platform::Result<platform::EntryInfo>(platform::Failure{EBADF})) {
        state.DestinationKnown = true;
        state.DestinationDevice = info->Device;
        state.DestinationInode = info->Inode;
    }
    state.StaleCopiesPossible = run_.PreviousRunKilled;
    state.SharedTargets = destination_.Sources.Count() > 1;
    state.Identity = fs.Identity();
    if (run_.DryRun || dir == nullptr) {
        // A preview tries nothing out on the destination: it takes what the last run found.
        state.Abilities = AbilitiesFromText(destination_.Abilities);
        return;
    }
    state.Abilities = ProbeDestination(*dir, state.Identity);
    destination_.Abilities = AbilitiesText(state.Abilities);
    if (const std::string missing = MissingAbilities(state.Abilities); !missing.empty()) {
        run_.WriteProtocol(messages::DestinationKeepsLess(destination_.Path, missing), 2, nullptr);
    }
}

std::unique_ptr<cVersionStore> cDestinationRun::OpenVersions(platform::Directory* dir) {
    if (!run_.Versions.Keep || run_.DryRun || dir == nullptr) {
        return nullptr;
    }
    const std::string name = ChooseVersionsFolder(destination_, run_.Fs);
    if (name != kVersionsFolder) {
        run_.WriteProtocol(messages::VersionsFolderMoved(destination_.Path, destination_.Path + name + "/"), 1,
                           nullptr);
    }
    const std::string stamp = run_.VersionStamp.empty() ? VersionStamp(platform::LocalNow()) : run_.VersionStamp;
    auto store = std::make_unique<cVersionStore>(run_, *dir, destination_.Path, name, stamp);
    if (!name.empty()) {
        run_.VersionFolders.push_back(store->FolderPath());
    }
    return store;
}

void cDestinationRun::BackUpSources(cDestinationRunState& state) {
    cBackUpSource* previous = nullptr;
    for (int i = 0; i < destination_.Sources.Count() && !run_.Cancelled(); ++i) {
        cBackUpSource& source = *destination_.Sources[i];
        if (destination_.OnSourceStart) {
            destination_.OnSourceStart(destination_, previous, source);
        }
        previous = &source;
        if (!run_.Fs.IsDirectory(source.Path)) {
            source.Failed = true;
            // The problem belongs to this source, not to the one before it.
            BeginPlanGroup(source, GetTargetSubPath(source.Path, source.Options->TransferFlags));
            run_.ReportProblem(messages::DirectoryUnreachable(source.Path), nullptr);
            continue;
        }
        source.Failed = false;
        const std::uint64_t previousTotal = source.TotalSize;
        try {
            cSourceRun sourceRun(run_, source, state);
            sourceRun.BackUp();
            if (sourceRun.SourceUnreachable() || sourceRun.SourceHeldBack()) {
                source.Failed = true;  // already reported; its catalogue stays as it was
            } else if (run_.Cancelled()) {
                run_.WriteProtocol(messages::SourceCancelled(source.Path), 1, nullptr);
            } else {
                run_.WriteProtocol(
                    messages::SourceDone(source.Path, FormatSize(source.TotalSize, run_.Formats)), 1,
                    nullptr);
            }
        } catch (...) {
            // An invalid mask or anything the platform raised: what was copied stays, the next source runs.
            run_.ReportProblem(messages::SourceFailed(source.Path), nullptr);
            source.Failed = true;
            source.TotalSize = previousTotal;  // with it the saved project keeps the source's catalogue
        }
    }
}

void cDestinationRun::CompareCatalogues(cDestinationRunState& state, platform::Directory& dir) {
    cSubDir& tree = destination_.Tree;
    cCatalogueSync sync(run_, state);
    // First what every source keeps, then the deletions: no source's comparison may delete a copy that
    // another source of this destination wrote or kept in this run.
    std::vector<cBackUpSource*> compared;
    for (cBackUpSource* source : destination_.Sources) {
        const std::string target = GetTargetSubPath(source->Path, source->Options->TransferFlags);
        if (!IsPlainRelativePath(target)) {
            continue;
        }
        if (state.SharedTargets) {
            state.Protected.AddPath(tree, target);
        }
        BeginPlanGroup(*source, target);
        bool compare = !source->Failed;
        if (compare && source->Options->DelDeletedFiles && !run_.ReleaseHeldBack) {
            const std::uint64_t known = CountNames(source->Catalogue);
            std::unique_ptr<platform::Directory> targetDir = OpenBelow(dir, target);
            const std::uint64_t deletions =
                sync.CountDeletions(tree.GetChild(target), source->Catalogue, targetDir.get());
            if (TooManyDeletions(deletions, known)) {
                HoldBack(cHeldBack::Reason::ManyDeletions, source->Path, deletions,
                         messages::ManyDeletionsHeldBack(source->Path, deletions, known));
                compare = false;
            }
        }
        if (compare) {
            compared.push_back(source);
        } else {
            state.LeftOut[&source->Catalogue] = tree.GetChild(target);
        }
    }
    if (state.SharedTargets) {
        for (const auto& [catalogueNode, targetNode] : state.LeftOut) {
            state.Protected.AddCatalogue(*targetNode, *catalogueNode);
        }
    }
    for (cBackUpSource* source : compared) {
        BeginPlanGroup(*source, source->TargetSubPath);
        std::unique_ptr<platform::Directory> targetDir = OpenBelow(dir, source->TargetSubPath);
        sync.SyncCatalogue(*tree.GetChild(source->TargetSubPath), source->Catalogue,
                           !source->Options->DelDeletedFiles, targetDir.get());
    }
}

void cDestinationRun::BeginPlanGroup(const cBackUpSource& source, const std::string& targetSubPath) {
    if (run_.Plan != nullptr) {
        run_.Plan->BeginGroup(destination_.Path, source.Path, destination_.Path + targetSubPath);
    }
}

void cDestinationRun::HoldBack(cHeldBack::Reason why, const std::string& path, std::uint64_t entries,
                               const std::string& message) {
    run_.ReportHeldBack({why, path, entries}, message);
}

}  // namespace trx

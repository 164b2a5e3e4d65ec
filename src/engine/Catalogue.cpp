// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/Catalogue.h"

#include "engine/DestinationRunState.h"
#include "engine/LazyFolder.h"
#include "engine/Messages.h"
#include "engine/MissingMedium.h"
#include "engine/PlanRecorder.h"
#include "engine/RunContext.h"
#include "engine/TargetDirectory.h"
#include "engine/VersionStore.h"
#include "model/SubDir.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"

#include <memory>
#include <optional>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace trx {

bool cCatalogueSync::LeftOut(const cSubDir& c) const {
    return state_.LeftOut.count(&c) != 0;
}

cCatalogueSync::NamesByUpper cCatalogueSync::ListNames(platform::Directory& dir) {
    NamesByUpper names;
    auto entries = dir.List();
    if (!entries) {
        return names;
    }
    for (platform::ListedEntry& entry : *entries) {
        names[text::UpperCase(entry.Name)].push_back(std::move(entry.Name));
    }
    return names;
}

std::uint64_t cCatalogueSync::CountDeletions(const cSubDir* t, const cSubDir& c, platform::Directory* targetDir) {
    cLazyFolder target(targetDir);
    return CountDeletions(t, c, target);
}

void cCatalogueSync::SyncCatalogue(cSubDir& t, cSubDir& c, bool dropOnly, platform::Directory* targetDir) {
    cLazyFolder target(targetDir);
    SyncCatalogue(t, c, dropOnly, target);
}

std::uint64_t cCatalogueSync::CountDeletions(const cSubDir* t, const cSubDir& c, cLazyFolder& target) {
    if (LeftOut(c)) {
        return 0;
    }
    std::unordered_set<std::string_view> seen;
    if (t != nullptr) {
        seen.insert(t->Seen.begin(), t->Seen.end());
    }
    std::uint64_t count = 0;
    std::optional<NamesByUpper> present;  // listed only when a name is gone
    for (const std::string& name : c.Files) {
        if (!IsPlainName(name)) {
            continue;
        }
        const bool gone = seen.count(name) == 0 && !(t != nullptr && state_.Protected.Contains(*t, name));
        if (gone) {
            platform::Directory* targetDir = target.Get();
            if (targetDir == nullptr) {
                return 0;  // nothing can be deleted where nothing is, nor below
            }
            if (!present) {
                present = ListNames(*targetDir);
            }
            // A name without a copy (never copied, or gone by hand) deletes nothing.
            if (present->count(name) == 0) {
                continue;
            }
            ++count;
        }
        for (const cSubDir* child : c.FindChildrenUpper(name)) {
            if (gone) {
                count += LeftOut(*child) ? 0 : CountNames(*child);
            } else {
                cLazyFolder childFolder(target, child->Name);
                count += CountDeletions(t != nullptr ? t->FindChild(child->Name) : nullptr, *child, childFolder);
            }
        }
    }
    return count;
}

void cCatalogueSync::SyncCatalogue(cSubDir& t, cSubDir& c, bool dropOnly, cLazyFolder& target) {
    if (LeftOut(c)) {
        return;
    }
    const std::string targetPath = t.GetPath(true);
    const std::unordered_set<std::string_view> seen(t.Seen.begin(), t.Seen.end());

    // From the last name to the first, as names leave the list; kept names are compacted afterwards so
    // that many deletions in one directory stay linear.
    std::vector<bool> keep(c.Files.size(), true);
    NamesByUpper names;
    bool listed = false;
    std::unordered_set<std::string> removedFolders;  // gone now (or, in a preview, as good as gone)
    for (std::size_t i = c.Files.size(); i-- > 0;) {
        const std::string& name = c.Files[i];
        if (!IsPlainName(name)) {
            keep[i] = false;  // never joined to a path, whatever the file says
        } else if (seen.count(name) == 0) {
            if (dropOnly) {
                keep[i] = false;
            } else if (state_.Protected.Contains(t, name)) {
                // Another source of this destination still has it there: not a deletion of anybody's.
            } else if (platform::Directory* targetDir = target.Get()) {
                if (!listed) {
                    // The catalogue keeps upper-cased names while Linux names are case-sensitive: a name
                    // stands for every entry that upper-cases to it.
                    names = ListNames(*targetDir);
                    listed = true;
                }
                keep[i] = !DeleteMatching(*targetDir, targetPath, name, names, removedFolders);
            }
        }
    }
    std::size_t kept = 0;
    for (std::size_t i = 0; i < c.Files.size(); ++i) {
        if (keep[i]) {
            if (kept != i) {
                c.Files[kept] = std::move(c.Files[i]);
            }
            ++kept;
        }
    }
    c.Files.resize(kept);
    if (listed && !run_.DryRun) {
        RestoreFolderTimes(t, *target.Get());
    }
    SyncSubFolders(t, c, dropOnly, target, removedFolders);
}

void cCatalogueSync::SyncSubFolders(cSubDir& t, cSubDir& c, bool dropOnly, cLazyFolder& target,
                                    const std::unordered_set<std::string>& removedFolders) {
    for (int i = 0; i < c.SubDirs.Count(); ++i) {
        cSubDir& child = *c.SubDirs[i];
        if (!IsPlainName(child.Name) || LeftOut(child)) {
            continue;
        }
        cSubDir& targetChild = *t.GetChild(child.Name);
        if (removedFolders.count(targetChild.Name) != 0) {
            cLazyFolder gone(nullptr);
            SyncCatalogue(targetChild, child, dropOnly, gone);
        } else {
            cLazyFolder childFolder(target, targetChild.Name);
            SyncCatalogue(targetChild, child, dropOnly, childFolder);
        }
    }
}

void cCatalogueSync::RestoreFolderTimes(const cSubDir& t, platform::Directory& targetDir) {
    const auto it = state_.FolderTimes.find(&t);
    if (it != state_.FolderTimes.end()) {
        (void)targetDir.SetTimes(it->second.first, it->second.second);
    }
}

bool cCatalogueSync::DeleteMatching(platform::Directory& dir, const std::string& targetPath,
                                    const std::string& upperName, const NamesByUpper& names,
                                    std::unordered_set<std::string>& removedFolders) {
    const auto it = names.find(upperName);
    if (it == names.end()) {
        return false;  // deleted by hand, or never copied: the name stays and is looked up again
    }
    bool allGone = true;
    for (const std::string& real : it->second) {
        bool folder = false;
        const bool gone = Remove(dir, targetPath, real, &folder);
        if (gone && folder) {
            removedFolders.insert(real);
        }
        allGone = gone && allGone;
    }
    return allGone;
}

bool cCatalogueSync::Remove(platform::Directory& parent, const std::string& folderPath, const std::string& name,
                            bool* wasFolder) {
    const auto info = parent.Stat(name);
    if (!info) {
        return false;  // nothing of that name: no message
    }
    const bool folder = info->Kind == platform::FileKind::Directory;
    if (wasFolder != nullptr) {
        *wasFolder = folder;
    }
    if (run_.Plan != nullptr) {
        run_.Plan->Delete(folderPath, name, folder, folder ? 0 : info->Size,
                          folder ? platform::FileTime{} : info->Modified);
    }
    return run_.DryRun || DeleteTree(parent, name, folderPath + name);
}

bool cCatalogueSync::DeleteTree(platform::Directory& parent, const std::string& name,
                                const std::string& path) {
    const auto info = state_.Versions != nullptr ? parent.Stat(name) : platform::Result<platform::EntryInfo>(platform::Failure{ENOENT});
    if (!info) {
        return RemoveTree(parent, name, path);
    }
    switch (state_.Versions->KeepDeleted(parent, name, path)) {
        case cVersionStore::Outcome::Kept:
            return true;
        case cVersionStore::Outcome::AlreadyKept:
            return RemoveTree(parent, name, path);  // made by this run: its earlier version is kept already
        case cVersionStore::Outcome::Failed:
            break;
    }
    run_.ReportProblem(info->Kind == platform::FileKind::Directory ? messages::DirectoryNotDeleted(path)
                                                                    : messages::FileNotDeleted(path),
                       nullptr);
    return false;
}

bool cCatalogueSync::RemoveTree(platform::Directory& parent, const std::string& name,
                                const std::string& path) {
    const auto info = parent.Stat(name);
    if (!info) {
        return false;  // nothing of that name: no message
    }
    if (info->Kind != platform::FileKind::Directory) {
        // Files and links alike: a link is removed itself, never what it points to.
        if (parent.Remove(name, false)) {
            run_.WriteProtocol(messages::FileDeleted(path), 2, nullptr);
            return true;
        }
        run_.ReportProblem(messages::FileNotDeleted(path), nullptr);
        return false;
    }
    if (auto dir = parent.OpenSub(name)) {
        const auto entries = (*dir)->List();
        for (const platform::ListedEntry& entry : entries ? *entries : std::vector<platform::ListedEntry>{}) {
            if (!RemoveTree(**dir, entry.Name, path + "/" + entry.Name)) {
                return false;  // the directory stays, without a message of its own
            }
        }
    }
    if (parent.Remove(name, true)) {
        run_.WriteProtocol(messages::DirectoryDeleted(path), 2, nullptr);
        return true;
    }
    run_.ReportProblem(messages::DirectoryNotDeleted(path), nullptr);
    return false;
}

}  // namespace trx

// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/KeptVersions.h"

#include "engine/SafeCopy.h"
#include "engine/VersionFolders.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <cerrno>
#include <functional>
#include <memory>
#include <set>

namespace trx {

namespace {

using Visit = std::function<void(const std::string& stamp, const std::string& runFolder)>;

// Where a folder cannot be opened or listed, the versions window shows what it can reach.
std::unique_ptr<platform::Directory> OpenPath(platform::FileSystem& fs, const std::string& path) {
    auto dir = fs.OpenDirectory(path);
    return dir ? std::move(*dir) : nullptr;
}

std::unique_ptr<platform::Directory> OpenSub(platform::Directory& dir, const std::string& name) {
    auto sub = dir.OpenSub(name);
    return sub ? std::move(*sub) : nullptr;
}

std::vector<platform::ListedEntry> EntriesOf(platform::Directory& dir) {
    auto entries = dir.List();
    return entries ? std::move(*entries) : std::vector<platform::ListedEntry>{};
}

// Calls `visit` for every run folder of every versions folder of the destination.
void EachRunFolder(platform::FileSystem& fs, const std::string& destinationPath, const Visit& visit) {
    const std::unique_ptr<platform::Directory> top = OpenPath(fs, destinationPath);
    if (top == nullptr) {
        return;
    }
    for (const platform::ListedEntry& folder : EntriesOf(*top)) {
        if (folder.Kind != platform::FileKind::Directory || !IsVersionsFolderName(folder.Name)) {
            continue;
        }
        const std::unique_ptr<platform::Directory> dir = OpenSub(*top, folder.Name);
        for (const platform::ListedEntry& run :
             dir ? EntriesOf(*dir) : std::vector<platform::ListedEntry>{}) {
            platform::cLocalTime time;
            if (run.Kind == platform::FileKind::Directory && ParseVersionStamp(run.Name, time)) {
                visit(run.Name, destinationPath + folder.Name + "/" + run.Name + "/");
            }
        }
    }
}

void CollectPaths(platform::Directory& dir, const std::string& relative, std::set<std::string>& paths) {
    for (const platform::ListedEntry& entry : EntriesOf(dir)) {
        if (entry.Kind != platform::FileKind::Directory) {
            paths.insert(relative + entry.Name);
            continue;
        }
        paths.insert(relative + entry.Name + "/");
        if (const std::unique_ptr<platform::Directory> sub = OpenSub(dir, entry.Name)) {
            CollectPaths(*sub, relative + entry.Name + "/", paths);
        }
    }
}

std::uint64_t FolderSize(platform::Directory& dir) {
    std::uint64_t size = 0;
    for (const platform::ListedEntry& entry : EntriesOf(dir)) {
        std::unique_ptr<platform::Directory> sub;
        if (entry.Kind == platform::FileKind::Directory && (sub = OpenSub(dir, entry.Name)) != nullptr) {
            size += FolderSize(*sub);
        } else if (const auto info = dir.Stat(entry.Name)) {
            size += info->Size;
        }
    }
    return size;
}

bool CopyTree(platform::Directory& from, platform::Directory& to, const std::string& name,
              const platform::EntryInfo& info) {
    if (info.Kind != platform::FileKind::Directory) {
        cCopyRequest request;
        return CopyEntrySafely(from, to, name, info, request) == CopyOutcome::Copied;
    }
    const platform::Status made = to.MakeSub(name, info.Mode & 0777);
    if (!made && made.Error() != EEXIST) {
        return false;
    }
    const std::unique_ptr<platform::Directory> source = OpenSub(from, name);
    const std::unique_ptr<platform::Directory> target = OpenSub(to, name);
    if (source == nullptr || target == nullptr) {
        return false;
    }
    auto entries = source->List();
    bool all = entries.Ok();
    for (const platform::ListedEntry& entry : entries ? *entries : std::vector<platform::ListedEntry>{}) {
        const auto inner = source->Stat(entry.Name);
        all = inner && CopyTree(*source, *target, entry.Name, *inner) && all;
    }
    (void)target->SetTimes(info.Accessed, info.Modified);
    return all;
}

}  // namespace

std::vector<std::string> KeptPaths(platform::FileSystem& fs, const std::string& destinationPath) {
    std::set<std::string> paths;
    EachRunFolder(fs, destinationPath, [&](const std::string&, const std::string& runFolder) {
        if (const std::unique_ptr<platform::Directory> dir = OpenPath(fs, runFolder)) {
            CollectPaths(*dir, {}, paths);
        }
    });
    return {paths.begin(), paths.end()};
}

std::vector<cKeptVersion> VersionsOf(platform::FileSystem& fs, const std::string& destinationPath,
                                     const std::string& relative) {
    std::string path = relative;
    if (!path.empty() && path.back() == '/') {
        path.pop_back();
    }
    std::vector<cKeptVersion> versions;
    EachRunFolder(fs, destinationPath, [&](const std::string& stamp, const std::string& runFolder) {
        cKeptVersion version{
            stamp, runFolder + platform::DirectoryPart(path), platform::NamePart(path), {}, 0};
        const std::unique_ptr<platform::Directory> dir = OpenPath(fs, version.Folder);
        const auto info =
            dir ? dir->Stat(version.Name) : platform::Result<platform::EntryInfo>(platform::Failure{ENOENT});
        if (!info) {
            return;
        }
        version.Info = *info;
        const bool isFolder = version.Info.Kind == platform::FileKind::Directory;
        if (isFolder) {
            if (const std::unique_ptr<platform::Directory> folder = OpenSub(*dir, version.Name)) {
                version.Size = FolderSize(*folder);
            }
        } else {
            version.Size = version.Info.Size;
        }
        versions.push_back(std::move(version));
    });
    std::sort(versions.begin(), versions.end(),
              [](const cKeptVersion& a, const cKeptVersion& b) { return a.Stamp > b.Stamp; });
    return versions;
}

bool RestoreVersion(platform::FileSystem& fs, const cKeptVersion& version, const std::string& targetFolder,
                    const std::string& name) {
    const std::unique_ptr<platform::Directory> from = OpenPath(fs, version.Folder);
    const std::unique_ptr<platform::Directory> to = OpenPath(fs, targetFolder);
    if (from == nullptr || to == nullptr) {
        return false;
    }
    const auto info = from->Stat(version.Name);
    return info && CopyTree(*from, *to, name, *info);
}

}  // namespace trx

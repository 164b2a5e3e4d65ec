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

// Calls `visit` for every run folder of every versions folder of the destination.
void EachRunFolder(platform::FileSystem& fs, const std::string& destinationPath, const Visit& visit) {
    std::unique_ptr<platform::Directory> top;
    std::vector<platform::ListedEntry> folders;
    if (fs.OpenDirectory(destinationPath, top) != 0 || fs.List(*top, folders) != 0) {
        return;
    }
    for (const platform::ListedEntry& folder : folders) {
        std::unique_ptr<platform::Directory> dir;
        std::vector<platform::ListedEntry> runs;
        if (folder.Kind != platform::FileKind::Directory || !IsVersionsFolderName(folder.Name) ||
            fs.OpenSubDirectory(*top, folder.Name, dir) != 0 || fs.List(*dir, runs) != 0) {
            continue;
        }
        for (const platform::ListedEntry& run : runs) {
            platform::cLocalTime time;
            if (run.Kind == platform::FileKind::Directory && ParseVersionStamp(run.Name, time)) {
                visit(run.Name, destinationPath + folder.Name + "/" + run.Name + "/");
            }
        }
    }
}

void CollectPaths(platform::FileSystem& fs, platform::Directory& dir, const std::string& relative,
                  std::set<std::string>& paths) {
    std::vector<platform::ListedEntry> entries;
    fs.List(dir, entries);
    for (const platform::ListedEntry& entry : entries) {
        if (entry.Kind != platform::FileKind::Directory) {
            paths.insert(relative + entry.Name);
            continue;
        }
        paths.insert(relative + entry.Name + "/");
        std::unique_ptr<platform::Directory> sub;
        if (fs.OpenSubDirectory(dir, entry.Name, sub) == 0) {
            CollectPaths(fs, *sub, relative + entry.Name + "/", paths);
        }
    }
}

std::uint64_t FolderSize(platform::FileSystem& fs, platform::Directory& dir) {
    std::uint64_t size = 0;
    std::vector<platform::ListedEntry> entries;
    fs.List(dir, entries);
    for (const platform::ListedEntry& entry : entries) {
        std::unique_ptr<platform::Directory> sub;
        platform::EntryInfo info;
        if (entry.Kind == platform::FileKind::Directory && fs.OpenSubDirectory(dir, entry.Name, sub) == 0) {
            size += FolderSize(fs, *sub);
        } else if (fs.StatAt(dir, entry.Name, info) == 0) {
            size += info.Size;
        }
    }
    return size;
}

bool CopyTree(platform::FileSystem& fs, platform::Directory& from, platform::Directory& to,
              const std::string& name, const platform::EntryInfo& info) {
    if (info.Kind != platform::FileKind::Directory) {
        cCopyRequest request;
        return CopyEntrySafely(fs, from, to, name, info, request) == CopyOutcome::Copied;
    }
    std::unique_ptr<platform::Directory> source;
    std::unique_ptr<platform::Directory> target;
    const int made = fs.MakeDirectoryAt(to, name, info.Mode & 0777);
    if ((made != 0 && made != EEXIST) || fs.OpenSubDirectory(from, name, source) != 0 ||
        fs.OpenSubDirectory(to, name, target) != 0) {
        return false;
    }
    std::vector<platform::ListedEntry> entries;
    bool all = fs.List(*source, entries) == 0;
    for (const platform::ListedEntry& entry : entries) {
        platform::EntryInfo inner;
        all = fs.StatAt(*source, entry.Name, inner) == 0 &&
              CopyTree(fs, *source, *target, entry.Name, inner) && all;
    }
    fs.SetDirectoryTimes(*target, info.Accessed, info.Modified);
    return all;
}

}  // namespace

std::vector<std::string> KeptPaths(platform::FileSystem& fs, const std::string& destinationPath) {
    std::set<std::string> paths;
    EachRunFolder(fs, destinationPath, [&](const std::string&, const std::string& runFolder) {
        std::unique_ptr<platform::Directory> dir;
        if (fs.OpenDirectory(runFolder, dir) == 0) {
            CollectPaths(fs, *dir, {}, paths);
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
        std::unique_ptr<platform::Directory> dir;
        if (fs.OpenDirectory(version.Folder, dir) != 0 || fs.StatAt(*dir, version.Name, version.Info) != 0) {
            return;
        }
        std::unique_ptr<platform::Directory> folder;
        const bool isFolder = version.Info.Kind == platform::FileKind::Directory;
        if (isFolder && fs.OpenSubDirectory(*dir, version.Name, folder) == 0) {
            version.Size = FolderSize(fs, *folder);
        } else if (!isFolder) {
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
    std::unique_ptr<platform::Directory> from;
    std::unique_ptr<platform::Directory> to;
    platform::EntryInfo info;
    return fs.OpenDirectory(version.Folder, from) == 0 && fs.OpenDirectory(targetFolder, to) == 0 &&
           fs.StatAt(*from, version.Name, info) == 0 && CopyTree(fs, *from, *to, name, info);
}

}  // namespace trx

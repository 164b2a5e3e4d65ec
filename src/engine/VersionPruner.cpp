// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/VersionPruner.h"

#include "engine/Messages.h"
#include "engine/RunContext.h"
#include "engine/VersionFolders.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

namespace trx {

cVersionPruner::cVersionPruner(cRunContext& run, const cVersionSettings& settings,
                               const platform::cLocalTime& now)
    : run_(run), settings_(settings), oldestKept_(platform::ToDayNumber(now) - settings.Days) {
}

void cVersionPruner::Prune(const std::string& folderPath) {
    std::unique_ptr<platform::Directory> dir;
    std::vector<platform::ListedEntry> entries;
    if (run_.Fs.OpenDirectory(folderPath, dir) != 0 || run_.Fs.List(*dir, entries) != 0) {
        return;
    }
    std::vector<std::string> runs;
    for (const platform::ListedEntry& entry : entries) {
        platform::cLocalTime time;
        if (entry.Kind == platform::FileKind::Directory && ParseVersionStamp(entry.Name, time)) {
            runs.push_back(entry.Name);
        }
    }
    // The stamps sort as the times they stand for: newest first, so that a count keeps the newest.
    std::sort(runs.begin(), runs.end(), std::greater<>());
    seen_.clear();
    for (const std::string& name : runs) {
        platform::cLocalTime time;
        ParseVersionStamp(name, time);
        if (platform::ToDayNumber(time) < oldestKept_) {
            if (RemoveTree(*dir, name, true)) {
                run_.WriteProtocol(messages::VersionsRemoved(folderPath + name + "/"), 2, nullptr);
            }
            continue;
        }
        std::unique_ptr<platform::Directory> runFolder;
        if (settings_.MaxCount > 0 && run_.Fs.OpenSubDirectory(*dir, name, runFolder) == 0 &&
            PruneByCount(*runFolder, {})) {
            runFolder.reset();
            run_.Fs.RemoveAt(*dir, name, true);
        }
    }
}

bool cVersionPruner::PruneByCount(platform::Directory& dir, const std::string& relative) {
    std::vector<platform::ListedEntry> entries;
    if (run_.Fs.List(dir, entries) != 0) {
        return false;
    }
    std::size_t left = entries.size();
    for (const platform::ListedEntry& entry : entries) {
        if (entry.Kind == platform::FileKind::Directory) {
            std::unique_ptr<platform::Directory> sub;
            if (run_.Fs.OpenSubDirectory(dir, entry.Name, sub) == 0 &&
                PruneByCount(*sub, relative + entry.Name + "/")) {
                sub.reset();
                left -= run_.Fs.RemoveAt(dir, entry.Name, true) == 0 ? 1 : 0;
            }
        } else if (++seen_[relative + entry.Name] > settings_.MaxCount) {
            left -= run_.Fs.RemoveAt(dir, entry.Name, false) == 0 ? 1 : 0;
        }
    }
    return left == 0;
}

bool cVersionPruner::RemoveTree(platform::Directory& parent, const std::string& name, bool folder) {
    if (!folder) {
        return run_.Fs.RemoveAt(parent, name, false) == 0;
    }
    std::unique_ptr<platform::Directory> dir;
    std::vector<platform::ListedEntry> entries;
    if (run_.Fs.OpenSubDirectory(parent, name, dir) != 0 || run_.Fs.List(*dir, entries) != 0) {
        return false;
    }
    bool all = true;
    for (const platform::ListedEntry& entry : entries) {
        all = RemoveTree(*dir, entry.Name, entry.Kind == platform::FileKind::Directory) && all;
    }
    dir.reset();
    return all && run_.Fs.RemoveAt(parent, name, true) == 0;
}

}  // namespace trx

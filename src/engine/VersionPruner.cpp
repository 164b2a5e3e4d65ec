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
    auto opened = run_.Fs.OpenDirectory(folderPath);
    const auto entries =
        opened ? (*opened)->List()
               : platform::Result<std::vector<platform::ListedEntry>>(platform::Failure{opened.Error()});
    if (!entries) {
        return;
    }
    platform::Directory& dir = **opened;
    std::vector<std::string> runs;
    for (const platform::ListedEntry& entry : *entries) {
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
            if (RemoveTree(dir, name, true)) {
                run_.WriteProtocol(messages::VersionsRemoved(folderPath + name + "/"), 2, nullptr);
            }
            continue;
        }
        if (settings_.MaxCount == 0) {
            continue;
        }
        auto runFolder = dir.OpenSub(name);
        if (runFolder && PruneByCount(**runFolder, {})) {
            runFolder->reset();
            (void)dir.Remove(name, true);
        }
    }
}

bool cVersionPruner::PruneByCount(platform::Directory& dir, const std::string& relative) {
    const auto entries = dir.List();
    if (!entries) {
        return false;
    }
    std::size_t left = entries->size();
    for (const platform::ListedEntry& entry : *entries) {
        if (entry.Kind == platform::FileKind::Directory) {
            auto sub = dir.OpenSub(entry.Name);
            if (sub && PruneByCount(**sub, relative + entry.Name + "/")) {
                sub->reset();
                left -= dir.Remove(entry.Name, true) ? 1 : 0;
            }
        } else if (++seen_[relative + entry.Name] > settings_.MaxCount) {
            left -= dir.Remove(entry.Name, false) ? 1 : 0;
        }
    }
    return left == 0;
}

bool cVersionPruner::RemoveTree(platform::Directory& parent, const std::string& name, bool folder) {
    if (!folder) {
        return parent.Remove(name, false).Ok();
    }
    auto dir = parent.OpenSub(name);
    const auto entries =
        dir ? (*dir)->List()
            : platform::Result<std::vector<platform::ListedEntry>>(platform::Failure{dir.Error()});
    if (!entries) {
        return false;
    }
    bool all = true;
    for (const platform::ListedEntry& entry : *entries) {
        all = RemoveTree(**dir, entry.Name, entry.Kind == platform::FileKind::Directory) && all;
    }
    dir->reset();
    return all && parent.Remove(name, true).Ok();
}

}  // namespace trx

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace trx {

namespace platform {
class Directory;
}
class cLazyFolder;
class cRunContext;
class cSubDir;
struct cDestinationRunState;

// Carries deletions at the sources over to a destination: compares catalogue nodes with what this run saw
// in the target directories and deletes what disappeared.
class cCatalogueSync {
public:
    // The state's LeftOut nodes and everything below them are left out, so that a directory that only
    // looked empty deletes nothing; its Protected names are never deleted.
    cCatalogueSync(cRunContext& run, const cDestinationRunState& state) : run_(run), state_(state) {}

    // How many catalogued names a comparison of `c` with `t` would delete (a folder with every name the
    // catalogue knows below it), deleting nothing: only names with a copy in `targetDir` count. `t` may
    // be null (nothing was seen there), `targetDir` too (the folder is not there).
    std::uint64_t CountDeletions(const cSubDir* t, const cSubDir& c, platform::Directory* targetDir);

    // Compares catalogue node `c` with the destination-tree node `t` of the directory its files went to.
    // `targetDir` is that directory opened, or null when it cannot be reached (nothing is deleted then).
    // With `dropOnly` unseen names only leave the catalogue.
    void SyncCatalogue(cSubDir& t, cSubDir& c, bool dropOnly, platform::Directory* targetDir);

    // Deletes the entry `name` of the target folder `parent`, whose full path is `folderPath` (ending with
    // "/"), as a decision of the run: the plan hears of it; a preview stops there and takes it as gone.
    // False when nothing of that name is there or it could not go.
    bool Remove(platform::Directory& parent, const std::string& folderPath, const std::string& name,
                bool* wasFolder = nullptr);

    // Deletes the entry `name` of `parent` (a file, a link, or a directory with everything in it) and
    // reports it; `path` is how the protocol names it. True when the entry is gone because of it.
    // Where the project keeps earlier versions, the entry moves into the versions folder instead; when that
    // fails it stays (reported).
    bool DeleteTree(platform::Directory& parent, const std::string& name, const std::string& path);

private:
    std::uint64_t CountDeletions(const cSubDir* t, const cSubDir& c, cLazyFolder& target);
    void SyncCatalogue(cSubDir& t, cSubDir& c, bool dropOnly, cLazyFolder& target);
    // The comparison of the sub-folders; those in `removedFolders` are gone from the target folder.
    void SyncSubFolders(cSubDir& t, cSubDir& c, bool dropOnly, cLazyFolder& target,
                        const std::unordered_set<std::string>& removedFolders);
    // The deletion itself, entry by entry.
    bool RemoveTree(platform::Directory& parent, const std::string& name, const std::string& path);
    // Real names of a target directory by their upper-cased form, listed once per directory.
    using NamesByUpper = std::unordered_map<std::string, std::vector<std::string>>;

    // Deletes every entry of `dir` whose upper-cased name is `upperName`; true when at least one was
    // there and all of them are gone.
    bool DeleteMatching(platform::Directory& dir, const std::string& targetPath, const std::string& upperName,
                        const NamesByUpper& names, std::unordered_set<std::string>& removedFolders);

    bool LeftOut(const cSubDir& c) const;
    NamesByUpper ListNames(platform::Directory& dir);
    // A folder the walk gave its source's times gets them back after deletions in it.
    void RestoreFolderTimes(const cSubDir& t, platform::Directory& targetDir);

    cRunContext& run_;
    const cDestinationRunState& state_;
};

}  // namespace trx

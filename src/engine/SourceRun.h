// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

namespace trx {

namespace platform {
class Directory;
struct EntryInfo;
}  // namespace platform
class cBackUpDestination;
class cBackUpOptions;
class cBackUpSource;
class cRunContext;
class cSubDir;

// What the sources of one destination run share.
struct cDestinationRunState {
    // The destination directory's identity: a source that contains it never walks into it.
    bool DestinationKnown = false;
    std::uint64_t DestinationDevice = 0;
    std::uint64_t DestinationInode = 0;
    // Catalogue nodes of directories that could not be listed in this run; the comparison leaves them out.
    std::unordered_set<const cSubDir*> Unreachable;
    // The previous run of this destination did not end (the program was killed): temporary copies it may
    // have left in the target directories are removed on the way.
    bool RemoveStaleCopies = false;
};

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

private:
    // Walks one directory: first the name tests and the catalogue, then copying and recursion.
    // `targetFresh`: the target directory was made by this walk, so nothing in it needs a change test.
    void BackUpDir(cSubDir& catalogueNode, cSubDir& targetNode, platform::Directory& sourceDir,
                   platform::Directory& targetDir, bool targetFresh);
    // Copies one entry fail-safe; true when the copy counts as done. `writeUnnamed`: no entry of that name
    // is in the target and the copy goes through a file without a name.
    bool CopyFileData(platform::Directory& sourceDir, platform::Directory& targetDir, const std::string& name,
                      const platform::EntryInfo& info, const std::string& sourceFile,
                      const std::string& targetPath, bool writeUnnamed);
    // A protocol line judged by the source's own protocol level.
    void LogForSource(const std::string& text, int level);
    void MarkUnreachable(const cSubDir& node, const std::string& path);
    // Removes temporary copies of an interrupted run from `targetDir`, sparing names the source has now.
    void RemoveStaleCopies(platform::Directory& targetDir, const std::vector<std::string>& candidates);
    bool IsDestination(platform::Directory& dir, const std::string& name);

    cRunContext& run_;
    cBackUpSource& source_;
    cBackUpDestination& destination_;
    const cBackUpOptions& options_;
    cDestinationRunState& state_;
    bool needAttributes_ = false;
    bool sourceUnreachable_ = false;
};

}  // namespace trx

#pragma once

#include "engine/HeldBack.h"
#include "engine/ProtectedNames.h"

#include <cstdint>
#include <string>
#include <unordered_map>
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

// What the sources of one destination run share.
struct cDestinationRunState {
    // The destination directory's identity: a source that contains it never walks into it.
    bool DestinationKnown = false;
    std::uint64_t DestinationDevice = 0;
    std::uint64_t DestinationInode = 0;
    // Catalogue nodes the comparison leaves out with everything below them, each with the destination-tree
    // node of its target folder: folders that could not be listed in this run, folders (or whole sources)
    // whose emptiness looks like a medium that is not mounted, and sources that were not compared. Nothing
    // there is deleted and their names stay.
    std::unordered_map<const cSubDir*, cSubDir*> LeftOut;
    // What one source keeps in a target folder that the comparison of another must not delete.
    cProtectedNames Protected;
    // The destination has more than one source: sources that record nothing in the tree (their deletions
    // are off) record what they see in Protected instead.
    bool SharedTargets = false;
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
    // True when the source directory listed empty although its catalogue knows names: its deletions wait.
    bool SourceHeldBack() const { return sourceHeldBack_; }

private:
    // Walks one directory: first the name tests and the catalogue, then copying and recursion.
    // `targetFresh`: the target directory was made by this walk, so nothing in it needs a change test.
    // `device`: the file system the source directory is on; `mountPoint`: it differs from its parent's.
    void BackUpDir(cSubDir& catalogueNode, cSubDir& targetNode, platform::Directory& sourceDir,
                   platform::Directory& targetDir, bool targetFresh, std::uint64_t device, bool mountPoint);
    // A directory that lists empty: true when its deletions are held back because that looks like a
    // medium that is not mounted (reported).
    bool HoldBackEmpty(cSubDir& catalogueNode, cSubDir& targetNode, const std::string& path, bool mountPoint);
    // Holds back the deletions below catalogue children that were mount points and are gone now.
    void HoldBackGoneMounts(cSubDir& catalogueNode, cSubDir& targetNode, const std::string& path,
                            const std::vector<platform::ListedEntry>& entries);
    void HoldBack(cHeldBack::Reason why, const std::string& path, std::uint64_t entries,
                  const cSubDir& catalogueNode, cSubDir& targetNode, const std::string& message);
    // Copies one entry fail-safe; true when the copy counts as done. `writeUnnamed`: no entry of that name
    // is in the target and the copy goes through a file without a name.
    bool CopyFileData(platform::Directory& sourceDir, platform::Directory& targetDir, const std::string& name,
                      const platform::EntryInfo& info, const std::string& sourceFile,
                      const std::string& targetPath, bool writeUnnamed);
    // A protocol line judged by the source's own protocol level.
    void LogForSource(const std::string& text, int level);
    void MarkUnreachable(const cSubDir& node, cSubDir& targetNode, const std::string& path);
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
    bool sourceHeldBack_ = false;
};

}  // namespace trx

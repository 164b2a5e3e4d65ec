// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace trx {

namespace platform {
class Directory;
}
class cRunContext;

// Keeps what one destination run would replace or delete: in the run folder of the destination's versions
// folder (see VersionFolders.h), under the entry's path relative to the destination. Only the entry's
// name changes (a hard link or a rename within the destination's file system): no data is copied. A run
// keeps one version per path, the one from before the run: what the run itself made and replaces or
// deletes again is not kept.
class cVersionStore {
public:
    enum class Outcome {
        Kept,
        AlreadyKept,  // the run folder holds that path already: nothing to keep
        Failed,       // said in the protocol; the entry must stay as it is
    };

    // `destinationDir` is `destinationPath` (ending with "/") opened; `folderName` the versions folder at
    // its top ("" when there is none to be had: every keep fails); `stamp` the run folder's name.
    cVersionStore(cRunContext& run, platform::Directory& destinationDir, std::string destinationPath,
                  std::string folderName, std::string stamp);
    ~cVersionStore();
    cVersionStore(const cVersionStore&) = delete;
    cVersionStore& operator=(const cVersionStore&) = delete;

    // Called when a complete new copy is about to take the name `name` in `dir` (full path `path`): the
    // copy there now gets a further name in the run folder first, so that at no moment is neither there.
    // Where the file system has no hard links it is moved there instead, as the last step before the new
    // copy's rename.
    Outcome KeepReplaced(platform::Directory& dir, const std::string& name, const std::string& path);

    // What a keep on a worker thread has to say: the walk says it in order, behind the keep.
    struct cSaid {
        Outcome Result = Outcome::AlreadyKept;
        std::string Line;  // the protocol line ("" for none)
        int Level = 0;
    };
    // KeepReplaced for a worker thread: says nothing itself; `said` is for the walk to say (Say).
    Outcome KeepReplacedQuietly(platform::Directory& dir, const std::string& name, const std::string& path,
                                cSaid& said);
    // Says on the walk's thread what a quiet keep left to say.
    void Say(const cSaid& said);

    // Instead of a deletion: the entry, a folder with everything in it, moves into the run folder.
    Outcome KeepDeleted(platform::Directory& dir, const std::string& name, const std::string& path);

    // The versions folder with its trailing "/".
    std::string FolderPath() const { return destinationPath_ + folderName_ + "/"; }

private:
    Outcome Keep(platform::Directory& dir, const std::string& name, const std::string& path, bool link);
    // Keeps under the lock, leaving what is to be said in `said`.
    void KeepQuietly(platform::Directory& dir, const std::string& name, const std::string& path, bool link,
                     cSaid& said);
    // The folder `relative` ("a/b/" or "") of the run folder, made where missing; null when it cannot be had.
    platform::Directory* Folder(const std::string& relative);
    std::unique_ptr<platform::Directory> OpenOrMake(platform::Directory& parent, const std::string& name);
    // This run's own run folder, made anew (the stamp gets a number when an earlier run took it).
    std::unique_ptr<platform::Directory> MakeRunFolder(platform::Directory& top);

    cRunContext& run_;
    // Keeps come from the walk and from the workers' copies alike.
    std::mutex mutex_;
    platform::Directory& destinationDir_;
    std::string destinationPath_;
    std::string folderName_;
    std::string stamp_;
    std::unique_ptr<platform::Directory> runFolder_;
    // The folders of the last keep's path below the run folder, by name, each open.
    std::vector<std::pair<std::string, std::unique_ptr<platform::Directory>>> openPath_;
};

}  // namespace trx

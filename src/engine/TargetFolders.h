// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/FileTypes.h"
#include "platform/Result.h"

#include <cerrno>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace trx {

namespace platform {
class Directory;
class FileSystem;
}  // namespace platform
class cSubDir;
struct cDestinationRunState;

// What workers read of a target folder and of its source folder before the walk entered it.
struct cFolderReads {
    platform::Result<platform::EntryInfo> Target{platform::Failure(ENOENT)};
    platform::Result<std::vector<platform::ExtendedAttribute>> TargetAttributes{platform::Failure(ENOTSUP)};
    platform::Result<std::vector<platform::ExtendedAttribute>> SourceAttributes{platform::Failure(ENOTSUP)};
};

// A target folder while the walk fills it: what it was when the walk entered it.
struct cFolderCopy {
    platform::EntryInfo Source;  // the source folder as the walk saw it
    platform::EntryInfo Target;  // the target folder, with the bits it has during the run
    std::vector<platform::ExtendedAttribute> TargetAttributes;
    // The destination folder itself, or the target folder of more than one source: it is only ever closed
    // further, never opened to one source's bits, and gets no source's times.
    bool Shared = false;
    // The source folder's attributes where they were read with the folder (else read when it is left).
    std::optional<platform::Result<std::vector<platform::ExtendedAttribute>>> SourceAttributes;
};

// Gives target folders what a copy keeps of a folder, so that none is ever wider open than its source:
// folders are made closed (0700), an existing one that is wider open than its source is closed at once,
// and a folder gets the source's owner, attributes, ACLs, permission bits and times (with `keepTimes`)
// only once its content is in. Refusals of the file system are no failures.
class cTargetFolders {
public:
    cTargetFolders(platform::FileSystem& fs, cDestinationRunState& state, bool keepTimes);

    // Reads the target folder `dir` (or takes what `reads` holds of it) and closes it where it is wider
    // open than `source`.
    void Enter(platform::Directory& dir, const platform::EntryInfo& source, bool shared, cFolderCopy& copy,
               cFolderReads* reads = nullptr);
    // Gives `dir` the source folder's owner, attributes, bits and times once its content is in; `sourceDir`
    // is the source folder, `node` the folder's destination-tree node (its times are kept there for the
    // deletions after the walk).
    void Finish(platform::Directory& dir, platform::Directory& sourceDir, const cFolderCopy& copy,
                const cSubDir& node);

    // The group a new entry of the folder gets.
    std::uint32_t NewGroup(const cFolderCopy& copy) const;
    // The folder hands a default ACL to what is made in it.
    static bool InheritsAcl(const cFolderCopy& copy);

    // Opens the folder `relativePath` ("a/b/") below the destination `base`, making what is missing
    // (closed). Each folder on the way stands for the source ancestor of the same name: one made now gets
    // its bits and owner, one that exists is closed where it is wider open. Null when it cannot be had.
    std::unique_ptr<platform::Directory> OpenTargetRoot(platform::Directory& base,
                                                        std::string_view relativePath,
                                                        const std::string& sourcePath);

private:
    // True when it changed any.
    bool KeepAttributes(platform::Directory& dir, platform::Directory& sourceDir, const cFolderCopy& copy);
    // The destination kept `wanted` as `kept`, at its precision.
    bool SameTime(const platform::FileTime& kept, const platform::FileTime& wanted) const;
    // The folder on the way to a target root that stands for the source folder `ancestor`.
    void ShapeAncestor(platform::Directory& dir, bool made, const std::string& ancestor);

    platform::FileSystem& fs_;
    cDestinationRunState& state_;
    bool keepTimes_;
};

}  // namespace trx

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/FileSystem.h"

#include <functional>
#include <memory>
#include <string>

namespace trx::platform {

// A new version of the entry `name` in a directory, written beside it and then put in its place, or
// dropped: the one way Tresorix replaces a file (a copy in a backup, the project file and its neighbours).
//
// Crash model: until Commit renames it, the new version is a file of its own and the old entry is
// untouched. A new version without a name (`unnamed`, where the file system can) vanishes with the process;
// one under a TemporaryName stays behind as that name when the process dies, and whoever writes there next
// removes it (IsTemporaryName). The rename replaces the old entry in one step, so the name always holds the
// complete old or the complete new version. Against a power loss, `Durability::Flushed` makes the data and
// then the rename reach the disk before Commit returns (the project file: small, and the only copy of the
// user's settings); `Durability::Ordinary` leaves both to the file system (copies in a backup: flushing
// each would make a backup several times slower, and a copy lost with the power is copied by the next run).
class NewVersion {
public:
    enum class Durability { Ordinary, Flushed };

    // Creates the new version with the permission bits `mode` (as `bits` says). With `unnamed` it has no
    // name until Commit where the file system allows that (the caller saw no entry `name`: nothing to
    // replace); an unnamed version always gets the exact bits.
    static Result<NewVersion> Create(Directory& dir, const std::string& name, std::uint32_t mode,
                                     NewBits bits, bool unnamed);

    NewVersion(NewVersion&& other) noexcept;
    NewVersion& operator=(NewVersion&&) = delete;
    // Drops the new version unless it was committed.
    ~NewVersion();

    WritableFile& File() { return *file_; }
    // The temporary name; empty while the new version has none.
    const std::string& Temporary() const { return temporary_; }

    // Closes the file and puts it in place of `name`. `beforeRename`, when given, runs just before a rename
    // over an entry (never for an unnamed version that found the name free); false from it drops the new
    // version. Failed (and dropped) when any step fails.
    Status Commit(Durability durability, const std::function<bool()>& beforeRename = nullptr);

private:
    NewVersion(Directory& dir, std::string name, std::unique_ptr<WritableFile> file, std::string temporary);
    Status NameIt();
    void Drop();

    Directory* dir_;
    std::string name_;
    std::unique_ptr<WritableFile> file_;
    std::string temporary_;
    bool done_ = false;
};

}  // namespace trx::platform

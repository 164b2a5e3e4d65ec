// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/FileSystem.h"

namespace trx::platform {

// The real file system of a POSIX system. Its directories work on open descriptors (openat, statx,
// renameat) and never follow a link in the last component.
class PosixFileSystem : public FileSystem {
public:
    PosixFileSystem();

    Result<std::string> ReadWholeFile(const std::string& path) override;
    Result<FileStatus> Stat(const std::string& path, bool followLinks) override;
    Result<std::string> RealPath(const std::string& path) override;
    Result<std::unique_ptr<WritableFile>> CreateExclusive(const std::string& path,
                                                          std::uint32_t mode) override;
    Result<std::unique_ptr<WritableFile>> OpenForWriting(const std::string& path) override;
    Result<std::unique_ptr<WritableFile>> OpenForAppending(const std::string& path) override;
    Status Rename(const std::string& from, const std::string& to) override;
    Status RemoveFile(const std::string& path) override;
    Status SyncDirectory(const std::string& path) override;
    Result<std::unique_ptr<FileLock>> LockFile(const std::string& path) override;
    Status MakeDirectory(const std::string& path) override;
    Result<std::unique_ptr<Directory>> OpenDirectory(const std::string& path) override;
    ProcessIdentity Identity() override;

private:
    std::uint32_t umask_ = 022;
};

// Lets a deep walk keep one directory open per level: raises the soft limit of open files to the hard one.
void RaiseOpenFileLimit();

}  // namespace trx::platform

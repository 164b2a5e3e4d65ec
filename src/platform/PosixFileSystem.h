// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/FileSystem.h"

namespace trx::platform {

// The real file system of a POSIX system. Directory calls work on open descriptors (openat, statx,
// renameat) and never follow a link in the last component.
class PosixFileSystem : public FileSystem {
public:
    PosixFileSystem();

    int ReadWholeFile(const std::string& path, std::string& out) override;
    int Status(const std::string& path, FileStatus& status, bool followLinks) override;
    int RealPath(const std::string& path, std::string& out) override;
    int CreateExclusive(const std::string& path, std::uint32_t mode,
                        std::unique_ptr<WritableFile>& file) override;
    int OpenForWriting(const std::string& path, std::unique_ptr<WritableFile>& file) override;
    int OpenForAppending(const std::string& path, std::unique_ptr<WritableFile>& file) override;
    int Rename(const std::string& from, const std::string& to) override;
    int RemoveFile(const std::string& path) override;
    int SyncDirectory(const std::string& path) override;
    int LockFile(const std::string& path, std::unique_ptr<FileLock>& out) override;

    int MakeDirectory(const std::string& path) override;
    int OpenDirectory(const std::string& path, std::unique_ptr<Directory>& out) override;
    int OpenSubDirectory(Directory& parent, const std::string& name,
                         std::unique_ptr<Directory>& out) override;
    int List(Directory& dir, std::vector<ListedEntry>& entries) override;
    int StatAt(Directory& dir, const std::string& name, EntryInfo& info) override;
    int MakeDirectoryAt(Directory& dir, const std::string& name, std::uint32_t mode) override;
    int OpenFileAt(Directory& dir, const std::string& name, std::unique_ptr<ReadableFile>& out) override;
    int CreateFileAt(Directory& dir, const std::string& name, std::uint32_t mode,
                     std::unique_ptr<WritableFile>& out) override;
    int CreateUnnamedFileAt(Directory& dir, const std::string& name, std::uint32_t mode,
                            std::unique_ptr<WritableFile>& out) override;
    int LinkFileAt(WritableFile& file, Directory& dir, const std::string& name) override;
    int CopyData(ReadableFile& from, WritableFile& to, std::uint64_t maxBytes,
                 std::uint64_t& copied) override;
    int ReadLinkAt(Directory& dir, const std::string& name, std::string& target) override;
    int CreateLinkAt(Directory& dir, const std::string& name, const std::string& target) override;
    int SetLinkTimesAt(Directory& dir, const std::string& name, const FileTime& accessed,
                       const FileTime& modified) override;
    int RenameAt(Directory& fromDir, const std::string& from, Directory& toDir,
                 const std::string& to) override;
    int RemoveAt(Directory& dir, const std::string& name, bool directory) override;
    int LockDirectory(Directory& dir, std::unique_ptr<FileLock>& out) override;
    int HardLinkAt(Directory& fromDir, const std::string& from, Directory& toDir,
                   const std::string& to) override;
    int SetModeAt(Directory& dir, const std::string& name, std::uint32_t mode) override;
    int SetOwnerAt(Directory& dir, const std::string& name, std::uint32_t owner,
                   std::uint32_t group) override;
    int SetDirectoryMode(Directory& dir, std::uint32_t mode) override;
    int SetDirectoryOwner(Directory& dir, std::uint32_t owner, std::uint32_t group) override;
    int SetDirectoryTimes(Directory& dir, const FileTime& accessed, const FileTime& modified) override;
    int ReadDirectoryAttributes(Directory& dir, std::vector<ExtendedAttribute>& out) override;
    int WriteDirectoryAttribute(Directory& dir, const ExtendedAttribute& attribute) override;
    int RemoveDirectoryAttribute(Directory& dir, const std::string& name) override;
    ProcessIdentity Identity() override;

private:
    std::uint32_t umask_ = 022;
};

// Lets a deep walk keep one directory open per level: raises the soft limit of open files to the hard one.
void RaiseOpenFileLimit();

}  // namespace trx::platform

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/FileSystem.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace trx::test {

// Puts itself in front of a real file system and makes chosen calls fail, so that tests can provoke
// what root would never see (permission denied, a full disk, an I/O error), and lets a test change the
// tree at chosen moments (a file that vanishes right after its directory was listed).
class FaultyFileSystem : public platform::FileSystem {
public:
    enum class Op {
        ReadWholeFile,
        Status,
        RealPath,
        CreateExclusive,
        OpenForWriting,
        OpenForAppending,
        Write,
        SetMode,
        SetTimes,
        Sync,
        Close,
        Rename,
        RemoveFile,
        SyncDirectory,
        MakeDirectory,
        OpenDirectory,
        List,
        StatAt,
        MakeDirectoryAt,
        OpenFileAt,
        CreateFileAt,
        CreateUnnamedFileAt,
        LinkFileAt,
        Read,
        CopyData,
        ReadLinkAt,
        CreateLinkAt,
        SetLinkTimesAt,
        RenameAt,
        RemoveAt,
        LockFile,
        LockDirectory,
        ReadAttributes,
        NextData,
        SetOwner,
        WriteAttribute,
        RemoveAttribute,
        Seek,
        SetSize,
        HardLinkAt,
        SetModeAt,
        SetOwnerAt,
        SetDirectoryMode,
        SetDirectoryOwner,
        SetDirectoryTimes,
        ReadDirectoryAttributes,
        WriteDirectoryAttribute,
        RemoveDirectoryAttribute
    };

    explicit FaultyFileSystem(platform::FileSystem& inner) : inner_(inner) {}

    // Calls of `op` whose path contains `pathPart` fail with `error`. For Write, Read and CopyData the
    // failure comes once `afterBytes` bytes went through such a file (a disk that fills up on the way).
    // Paths of directory calls are the directory's path followed by the name; RenameAt matches its target.
    void Fail(Op op, std::string pathPart, int error, std::uint64_t afterBytes = 0);
    void Clear() { rules_.clear(); }

    // Called with the directory's path after every successful listing.
    std::function<void(const std::string& directory)> AfterList;
    // Called with the source path after every chunk of a copy (CopyData and Read).
    std::function<void(const std::string& file, std::uint64_t copiedSoFar)> AfterChunk;
    // Called with the new directory's path after every successful MakeDirectoryAt.
    std::function<void(const std::string& directory)> AfterMakeDirectory;
    // Who the run believes it is, in place of the real process (an ordinary user, say).
    std::optional<platform::ProcessIdentity> FakeIdentity;

    // How often `op` was called for a path containing `pathPart`.
    int Calls(Op op, const std::string& pathPart = "") const;

    int ReadWholeFile(const std::string& path, std::string& out) override;
    int Status(const std::string& path, platform::FileStatus& status, bool followLinks) override;
    int RealPath(const std::string& path, std::string& out) override;
    int CreateExclusive(const std::string& path, std::uint32_t mode,
                        std::unique_ptr<platform::WritableFile>& file) override;
    int OpenForWriting(const std::string& path, std::unique_ptr<platform::WritableFile>& file) override;
    int OpenForAppending(const std::string& path, std::unique_ptr<platform::WritableFile>& file) override;
    int Rename(const std::string& from, const std::string& to) override;
    int RemoveFile(const std::string& path) override;
    int SyncDirectory(const std::string& path) override;
    int LockFile(const std::string& path, std::unique_ptr<platform::FileLock>& out) override;

    int MakeDirectory(const std::string& path) override;
    int OpenDirectory(const std::string& path, std::unique_ptr<platform::Directory>& out) override;
    int OpenSubDirectory(platform::Directory& parent, const std::string& name,
                         std::unique_ptr<platform::Directory>& out) override;
    int List(platform::Directory& dir, std::vector<platform::ListedEntry>& entries) override;
    int StatAt(platform::Directory& dir, const std::string& name, platform::EntryInfo& info) override;
    int MakeDirectoryAt(platform::Directory& dir, const std::string& name, std::uint32_t mode) override;
    int OpenFileAt(platform::Directory& dir, const std::string& name,
                   std::unique_ptr<platform::ReadableFile>& out) override;
    int CreateFileAt(platform::Directory& dir, const std::string& name, std::uint32_t mode,
                     std::unique_ptr<platform::WritableFile>& out) override;
    int CreateUnnamedFileAt(platform::Directory& dir, const std::string& name, std::uint32_t mode,
                            std::unique_ptr<platform::WritableFile>& out) override;
    int LinkFileAt(platform::WritableFile& file, platform::Directory& dir, const std::string& name) override;
    int CopyData(platform::ReadableFile& from, platform::WritableFile& to, std::uint64_t maxBytes,
                 std::uint64_t& copied) override;
    int ReadLinkAt(platform::Directory& dir, const std::string& name, std::string& target) override;
    int CreateLinkAt(platform::Directory& dir, const std::string& name, const std::string& target) override;
    int SetLinkTimesAt(platform::Directory& dir, const std::string& name, const platform::FileTime& accessed,
                       const platform::FileTime& modified) override;
    int RenameAt(platform::Directory& fromDir, const std::string& from, platform::Directory& toDir,
                 const std::string& to) override;
    int RemoveAt(platform::Directory& dir, const std::string& name, bool directory) override;
    int LockDirectory(platform::Directory& dir, std::unique_ptr<platform::FileLock>& out) override;
    int HardLinkAt(platform::Directory& fromDir, const std::string& from, platform::Directory& toDir,
                   const std::string& to) override;
    int SetModeAt(platform::Directory& dir, const std::string& name, std::uint32_t mode) override;
    int SetOwnerAt(platform::Directory& dir, const std::string& name, std::uint32_t owner,
                   std::uint32_t group) override;
    int SetDirectoryMode(platform::Directory& dir, std::uint32_t mode) override;
    int SetDirectoryOwner(platform::Directory& dir, std::uint32_t owner, std::uint32_t group) override;
    int SetDirectoryTimes(platform::Directory& dir, const platform::FileTime& accessed,
                          const platform::FileTime& modified) override;
    int ReadDirectoryAttributes(platform::Directory& dir,
                                std::vector<platform::ExtendedAttribute>& out) override;
    int WriteDirectoryAttribute(platform::Directory& dir,
                                const platform::ExtendedAttribute& attribute) override;
    int RemoveDirectoryAttribute(platform::Directory& dir, const std::string& name) override;
    platform::ProcessIdentity Identity() override;

    // Error for `op` on `path`, or 0; counts the call.
    int Injected(Op op, const std::string& path, std::uint64_t* afterBytes = nullptr) const;

private:
    struct Rule {
        Op op;
        std::string pathPart;
        int error;
        std::uint64_t afterBytes;
    };
    platform::FileSystem& inner_;
    std::vector<Rule> rules_;
    mutable std::vector<std::pair<Op, std::string>> calls_;
};

}  // namespace trx::test

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/FileSystem.h"

#include <memory>

#include <cstdint>
#include <functional>
#include <mutex>
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

    // Rules are set while no run is under way; calls come from any thread (a run's workers). The hooks
    // below are called on the thread that made the call.
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

    platform::Result<std::string> ReadWholeFile(const std::string& path) override;
    platform::Result<platform::FileStatus> Stat(const std::string& path, bool followLinks) override;
    platform::Result<std::string> RealPath(const std::string& path) override;
    platform::Result<std::unique_ptr<platform::WritableFile>> CreateExclusive(const std::string& path,
                                                                              std::uint32_t mode) override;
    platform::Result<std::unique_ptr<platform::WritableFile>> OpenForWriting(
        const std::string& path) override;
    platform::Result<std::unique_ptr<platform::WritableFile>> OpenForAppending(
        const std::string& path) override;
    platform::Status Rename(const std::string& from, const std::string& to) override;
    platform::Status RemoveFile(const std::string& path) override;
    platform::Status SyncDirectory(const std::string& path) override;
    platform::Result<std::unique_ptr<platform::FileLock>> LockFile(const std::string& path) override;
    platform::Status MakeDirectory(const std::string& path) override;
    platform::Result<std::unique_ptr<platform::Directory>> OpenDirectory(const std::string& path) override;
    platform::ProcessIdentity Identity() override;

    // Wraps what the inner file system opened, so that its calls meet the rules too.
    std::unique_ptr<platform::Directory> Wrap(std::unique_ptr<platform::Directory> inner);
    std::unique_ptr<platform::WritableFile> Wrap(const std::string& path,
                                                 std::unique_ptr<platform::WritableFile> inner);
    std::unique_ptr<platform::ReadableFile> Wrap(const std::string& path,
                                                 std::unique_ptr<platform::ReadableFile> inner);

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
    mutable std::mutex callsMutex_;
    mutable std::vector<std::pair<Op, std::string>> calls_;
};

}  // namespace trx::test

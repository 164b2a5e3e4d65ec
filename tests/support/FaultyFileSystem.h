#pragma once

#include "platform/FileSystem.h"

#include <cstdint>
#include <string>
#include <vector>

namespace trx::test {

// Puts itself in front of a real file system and makes chosen calls fail, so that tests can provoke
// what root would never see (permission denied, a full disk, an I/O error).
class FaultyFileSystem : public platform::FileSystem {
public:
    enum class Op {
        ReadWholeFile,
        Status,
        RealPath,
        CreateExclusive,
        OpenForWriting,
        Write,
        SetMode,
        Sync,
        Close,
        Rename,
        RemoveFile,
        SyncDirectory
    };

    explicit FaultyFileSystem(platform::FileSystem& inner) : inner_(inner) {}

    // Calls of `op` whose path contains `pathPart` fail with `error`. For Write the failure comes once
    // `afterBytes` bytes were written to such a file (a disk that fills up during the write).
    void Fail(Op op, std::string pathPart, int error, std::uint64_t afterBytes = 0);
    void Clear() { rules_.clear(); }

    int ReadWholeFile(const std::string& path, std::string& out) override;
    int Status(const std::string& path, platform::FileStatus& status, bool followLinks) override;
    int RealPath(const std::string& path, std::string& out) override;
    int CreateExclusive(const std::string& path, std::uint32_t mode,
                        std::unique_ptr<platform::WritableFile>& file) override;
    int OpenForWriting(const std::string& path, std::unique_ptr<platform::WritableFile>& file) override;
    int Rename(const std::string& from, const std::string& to) override;
    int RemoveFile(const std::string& path) override;
    int SyncDirectory(const std::string& path) override;

    // Error for `op` on `path`, or 0.
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
};

}  // namespace trx::test

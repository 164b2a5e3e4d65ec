#pragma once

#include "platform/FileSystem.h"

namespace trx::platform {

// The real file system of a POSIX system.
class PosixFileSystem : public FileSystem {
public:
    int ReadWholeFile(const std::string& path, std::string& out) override;
    int Status(const std::string& path, FileStatus& status, bool followLinks) override;
    int RealPath(const std::string& path, std::string& out) override;
    int CreateExclusive(const std::string& path, std::uint32_t mode,
                        std::unique_ptr<WritableFile>& file) override;
    int OpenForWriting(const std::string& path, std::unique_ptr<WritableFile>& file) override;
    int Rename(const std::string& from, const std::string& to) override;
    int RemoveFile(const std::string& path) override;
    int SyncDirectory(const std::string& path) override;
};

}  // namespace trx::platform

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/FileSystem.h"

namespace trx::platform::posix {

// A directory held by its descriptor: every call is an *at call relative to it, never following a link in
// the last component.
class PosixDirectory : public Directory {
public:
    // `umask` is the process's: files created with exact bits get back what it took.
    PosixDirectory(std::string path, int fd, std::uint32_t umask)
        : Directory(std::move(path)), fd_(fd), umask_(umask) {}
    ~PosixDirectory() override;

    int Descriptor() const override { return fd_; }
    Result<std::vector<ListedEntry>> List() override;
    Result<EntryInfo> Stat(const std::string& name) override;
    Result<std::unique_ptr<Directory>> OpenSub(const std::string& name) override;
    Result<std::unique_ptr<Directory>> Reopen() override;
    Status MakeSub(const std::string& name, std::uint32_t mode) override;
    Result<std::unique_ptr<ReadableFile>> OpenFile(const std::string& name) override;
    Result<std::unique_ptr<WritableFile>> CreateFile(const std::string& name, std::uint32_t mode,
                                                     NewBits bits) override;
    Result<std::unique_ptr<WritableFile>> CreateUnnamedFile(const std::string& name,
                                                            std::uint32_t mode) override;
    Result<std::string> ReadLink(const std::string& name) override;
    Status CreateLink(const std::string& name, const std::string& target) override;
    Status SetLinkTimes(const std::string& name, const FileTime& accessed, const FileTime& modified) override;
    Status Rename(const std::string& from, Directory& toDir, const std::string& to) override;
    Status HardLink(const std::string& from, Directory& toDir, const std::string& to) override;
    Status Remove(const std::string& name, bool directory) override;
    Status SetModeOf(const std::string& name, std::uint32_t mode) override;
    Status SetOwnerOf(const std::string& name, std::uint32_t owner, std::uint32_t group) override;
    Status SetMode(std::uint32_t mode) override;
    Status SetOwner(std::uint32_t owner, std::uint32_t group) override;
    Status SetTimes(const FileTime& accessed, const FileTime& modified) override;
    Result<std::vector<ExtendedAttribute>> ReadAttributes() override;
    Status WriteAttribute(const ExtendedAttribute& attribute) override;
    Status RemoveAttribute(const std::string& name) override;
    Status Sync() override;
    Result<std::unique_ptr<FileLock>> Lock() override;

private:
    // Gives a new file the bits the umask took from `mode`.
    Status RestoreBits(WritableFile& file, std::uint32_t mode) const;

    int fd_;
    std::uint32_t umask_;
};

}  // namespace trx::platform::posix

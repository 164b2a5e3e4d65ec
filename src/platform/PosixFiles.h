// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/FileSystem.h"

#include <memory>

namespace trx::platform::posix {

// A file opened for reading; owns its descriptor.
class PosixReadableFile : public ReadableFile {
public:
    explicit PosixReadableFile(int fd) : fd_(fd) {}
    ~PosixReadableFile() override;

    Result<std::size_t> Read(void* data, std::size_t size) override;
    Result<EntryInfo> Info() override;
    Result<std::vector<ExtendedAttribute>> ReadAttributes() override;
    Result<DataStretch> NextData(std::uint64_t from) override;
    int Descriptor() const override { return fd_; }

private:
    int fd_;
};

// A file opened for writing; owns its descriptor.
class PosixWritableFile : public WritableFile {
public:
    explicit PosixWritableFile(int fd) : fd_(fd) {}
    ~PosixWritableFile() override;

    Status Write(const void* data, std::size_t size) override;
    Result<std::uint64_t> CopyFrom(ReadableFile& from, std::uint64_t maxBytes) override;
    Status SetMode(std::uint32_t mode) override;
    Status SetTimes(const FileTime& accessed, const FileTime& modified) override;
    Status SetOwner(std::uint32_t owner, std::uint32_t group) override;
    Status WriteAttribute(const ExtendedAttribute& attribute) override;
    Status RemoveAttribute(const std::string& name) override;
    Status Seek(std::uint64_t offset) override;
    Status SetSize(std::uint64_t size) override;
    Status Sync() override;
    Status Close() override;
    Status LinkAs(Directory& dir, const std::string& name) override;

private:
    int fd_;
};

// Takes the lock on `fd` (an open descriptor of its own, or -1 with errno set) without waiting.
Result<std::unique_ptr<FileLock>> LockDescriptor(int fd);

// Opens `path` for writing with `flags` added, refusing anything but a regular file before a write could
// block.
Result<std::unique_ptr<WritableFile>> OpenRegularForWriting(const std::string& path, int flags);

}  // namespace trx::platform::posix

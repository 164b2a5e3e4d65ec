// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/FaultyFileSystem.h"

#include <algorithm>

namespace trx::test {

using platform::Directory;
using platform::ReadableFile;
using platform::WritableFile;

namespace {

class FaultyWritableFile : public WritableFile {
public:
    FaultyWritableFile(const FaultyFileSystem& fs, std::string path, std::unique_ptr<WritableFile> inner)
        : fs_(fs), path_(std::move(path)), inner_(std::move(inner)) {}

    WritableFile& Inner() { return *inner_; }
    const std::string& Path() const { return path_; }

    // Bytes that may still go through before an injected failure; ~0 when none is set.
    std::uint64_t Room(int& error) {
        std::uint64_t afterBytes = 0;
        error = fs_.Injected(FaultyFileSystem::Op::Write, path_, &afterBytes);
        if (error == 0) {
            return ~std::uint64_t{0};
        }
        return afterBytes > written_ ? afterBytes - written_ : 0;
    }
    void Count(std::uint64_t bytes) { written_ += bytes; }

    int Write(const void* data, std::size_t size) override {
        int error = 0;
        const std::uint64_t room = Room(error);
        if (room < size) {
            // Write what still fits, as a disk that fills up does, then fail.
            inner_->Write(data, static_cast<std::size_t>(room));
            written_ += room;
            return error;
        }
        written_ += size;
        return inner_->Write(data, size);
    }
    int SetMode(std::uint32_t mode) override {
        const int error = fs_.Injected(FaultyFileSystem::Op::SetMode, path_);
        return error != 0 ? error : inner_->SetMode(mode);
    }
    int SetTimes(const platform::FileTime& accessed, const platform::FileTime& modified) override {
        const int error = fs_.Injected(FaultyFileSystem::Op::SetTimes, path_);
        return error != 0 ? error : inner_->SetTimes(accessed, modified);
    }
    int SetOwner(std::uint32_t owner, std::uint32_t group) override {
        const int error = fs_.Injected(FaultyFileSystem::Op::SetOwner, path_);
        return error != 0 ? error : inner_->SetOwner(owner, group);
    }
    int WriteAttribute(const platform::ExtendedAttribute& attribute) override {
        const int error = fs_.Injected(FaultyFileSystem::Op::WriteAttribute, path_ + "#" + attribute.Name);
        return error != 0 ? error : inner_->WriteAttribute(attribute);
    }
    int RemoveAttribute(const std::string& name) override {
        const int error = fs_.Injected(FaultyFileSystem::Op::RemoveAttribute, path_ + "#" + name);
        return error != 0 ? error : inner_->RemoveAttribute(name);
    }
    int Seek(std::uint64_t offset) override {
        const int error = fs_.Injected(FaultyFileSystem::Op::Seek, path_);
        return error != 0 ? error : inner_->Seek(offset);
    }
    int SetSize(std::uint64_t size) override {
        const int error = fs_.Injected(FaultyFileSystem::Op::SetSize, path_);
        return error != 0 ? error : inner_->SetSize(size);
    }
    int Sync() override {
        const int error = fs_.Injected(FaultyFileSystem::Op::Sync, path_);
        return error != 0 ? error : inner_->Sync();
    }
    int Close() override {
        const int rc = inner_->Close();
        const int error = fs_.Injected(FaultyFileSystem::Op::Close, path_);
        return error != 0 ? error : rc;
    }

private:
    const FaultyFileSystem& fs_;
    std::string path_;
    std::unique_ptr<WritableFile> inner_;
    std::uint64_t written_ = 0;
};

class FaultyReadableFile : public ReadableFile {
public:
    FaultyReadableFile(const FaultyFileSystem& fs, std::string path, std::unique_ptr<ReadableFile> inner)
        : fs_(fs), path_(std::move(path)), inner_(std::move(inner)) {}

    ReadableFile& Inner() { return *inner_; }
    const std::string& Path() const { return path_; }

    std::uint64_t Room(FaultyFileSystem::Op op, int& error) {
        std::uint64_t afterBytes = 0;
        error = fs_.Injected(op, path_, &afterBytes);
        if (error == 0) {
            return ~std::uint64_t{0};
        }
        return afterBytes > read_ ? afterBytes - read_ : 0;
    }
    void Count(std::uint64_t bytes) { read_ += bytes; }
    std::uint64_t SoFar() const { return read_; }

    int Read(void* data, std::size_t size, std::size_t& done) override {
        int error = 0;
        const std::uint64_t room = Room(FaultyFileSystem::Op::Read, error);
        if (room == 0) {
            done = 0;
            return error;
        }
        const int rc =
            inner_->Read(data, static_cast<std::size_t>(std::min<std::uint64_t>(size, room)), done);
        read_ += done;
        if (rc == 0 && fs_.AfterChunk) {
            fs_.AfterChunk(path_, read_);
        }
        return rc;
    }
    int Status(platform::EntryInfo& info) override { return inner_->Status(info); }
    int ReadAttributes(std::vector<platform::ExtendedAttribute>& out) override {
        const int error = fs_.Injected(FaultyFileSystem::Op::ReadAttributes, path_);
        return error != 0 ? error : inner_->ReadAttributes(out);
    }
    int NextData(std::uint64_t from, std::uint64_t& start, std::uint64_t& end) override {
        const int error = fs_.Injected(FaultyFileSystem::Op::NextData, path_);
        return error != 0 ? error : inner_->NextData(from, start, end);
    }

private:
    const FaultyFileSystem& fs_;
    std::string path_;
    std::unique_ptr<ReadableFile> inner_;
    std::uint64_t read_ = 0;
};

}  // namespace

void FaultyFileSystem::Fail(Op op, std::string pathPart, int error, std::uint64_t afterBytes) {
    rules_.push_back({op, std::move(pathPart), error, afterBytes});
}

int FaultyFileSystem::Injected(Op op, const std::string& path, std::uint64_t* afterBytes) const {
    calls_.emplace_back(op, path);
    for (const Rule& rule : rules_) {
        if (rule.op == op && path.find(rule.pathPart) != std::string::npos) {
            if (afterBytes != nullptr) {
                *afterBytes = rule.afterBytes;
            }
            return rule.error;
        }
    }
    return 0;
}

int FaultyFileSystem::Calls(Op op, const std::string& pathPart) const {
    return static_cast<int>(std::count_if(calls_.begin(), calls_.end(), [&](const auto& call) {
        return call.first == op && call.second.find(pathPart) != std::string::npos;
    }));
}

#define TRX_FAULT(op, path)                                     \
    if (const int error = Injected(Op::op, path); error != 0) { \
        return error;                                           \
    }

int FaultyFileSystem::ReadWholeFile(const std::string& path, std::string& out) {
    TRX_FAULT(ReadWholeFile, path);
    return inner_.ReadWholeFile(path, out);
}

int FaultyFileSystem::Status(const std::string& path, platform::FileStatus& status, bool followLinks) {
    TRX_FAULT(Status, path);
    return inner_.Status(path, status, followLinks);
}

int FaultyFileSystem::RealPath(const std::string& path, std::string& out) {
    TRX_FAULT(RealPath, path);
    return inner_.RealPath(path, out);
}

int FaultyFileSystem::CreateExclusive(const std::string& path, std::uint32_t mode,
                                      std::unique_ptr<WritableFile>& file) {
    TRX_FAULT(CreateExclusive, path);
    std::unique_ptr<WritableFile> inner;
    if (const int error = inner_.CreateExclusive(path, mode, inner); error != 0) {
        return error;
    }
    file = std::make_unique<FaultyWritableFile>(*this, path, std::move(inner));
    return 0;
}

int FaultyFileSystem::OpenForWriting(const std::string& path, std::unique_ptr<WritableFile>& file) {
    TRX_FAULT(OpenForWriting, path);
    std::unique_ptr<WritableFile> inner;
    if (const int error = inner_.OpenForWriting(path, inner); error != 0) {
        return error;
    }
    file = std::make_unique<FaultyWritableFile>(*this, path, std::move(inner));
    return 0;
}

int FaultyFileSystem::OpenForAppending(const std::string& path, std::unique_ptr<WritableFile>& file) {
    TRX_FAULT(OpenForAppending, path);
    std::unique_ptr<WritableFile> inner;
    if (const int error = inner_.OpenForAppending(path, inner); error != 0) {
        return error;
    }
    file = std::make_unique<FaultyWritableFile>(*this, path, std::move(inner));
    return 0;
}

int FaultyFileSystem::Rename(const std::string& from, const std::string& to) {
    TRX_FAULT(Rename, to);
    return inner_.Rename(from, to);
}

int FaultyFileSystem::RemoveFile(const std::string& path) {
    TRX_FAULT(RemoveFile, path);
    return inner_.RemoveFile(path);
}

int FaultyFileSystem::SyncDirectory(const std::string& path) {
    TRX_FAULT(SyncDirectory, path);
    return inner_.SyncDirectory(path);
}

int FaultyFileSystem::LockFile(const std::string& path, std::unique_ptr<platform::FileLock>& out) {
    TRX_FAULT(LockFile, path);
    return inner_.LockFile(path, out);
}

int FaultyFileSystem::MakeDirectory(const std::string& path) {
    TRX_FAULT(MakeDirectory, path);
    return inner_.MakeDirectory(path);
}

int FaultyFileSystem::OpenDirectory(const std::string& path, std::unique_ptr<Directory>& out) {
    TRX_FAULT(OpenDirectory, path);
    return inner_.OpenDirectory(path, out);
}

int FaultyFileSystem::OpenSubDirectory(Directory& parent, const std::string& name,
                                       std::unique_ptr<Directory>& out) {
    TRX_FAULT(OpenDirectory, parent.Path() + name + "/");
    return inner_.OpenSubDirectory(parent, name, out);
}

int FaultyFileSystem::List(Directory& dir, std::vector<platform::ListedEntry>& entries) {
    TRX_FAULT(List, dir.Path());
    const int rc = inner_.List(dir, entries);
    if (rc == 0 && AfterList) {
        AfterList(dir.Path());
    }
    return rc;
}

int FaultyFileSystem::StatAt(Directory& dir, const std::string& name, platform::EntryInfo& info) {
    TRX_FAULT(StatAt, dir.Path() + name);
    return inner_.StatAt(dir, name, info);
}

int FaultyFileSystem::MakeDirectoryAt(Directory& dir, const std::string& name, std::uint32_t mode) {
    TRX_FAULT(MakeDirectoryAt, dir.Path() + name);
    const int rc = inner_.MakeDirectoryAt(dir, name, mode);
    if (rc == 0 && AfterMakeDirectory) {
        AfterMakeDirectory(dir.Path() + name + "/");
    }
    return rc;
}

int FaultyFileSystem::OpenFileAt(Directory& dir, const std::string& name,
                                 std::unique_ptr<ReadableFile>& out) {
    const std::string path = dir.Path() + name;
    TRX_FAULT(OpenFileAt, path);
    std::unique_ptr<ReadableFile> inner;
    if (const int error = inner_.OpenFileAt(dir, name, inner); error != 0) {
        return error;
    }
    out = std::make_unique<FaultyReadableFile>(*this, path, std::move(inner));
    return 0;
}

int FaultyFileSystem::CreateFileAt(Directory& dir, const std::string& name, std::uint32_t mode,
                                   std::unique_ptr<WritableFile>& out) {
    const std::string path = dir.Path() + name;
    TRX_FAULT(CreateFileAt, path);
    std::unique_ptr<WritableFile> inner;
    if (const int error = inner_.CreateFileAt(dir, name, mode, inner); error != 0) {
        return error;
    }
    out = std::make_unique<FaultyWritableFile>(*this, path, std::move(inner));
    return 0;
}

int FaultyFileSystem::CreateUnnamedFileAt(Directory& dir, const std::string& name, std::uint32_t mode,
                                          std::unique_ptr<WritableFile>& out) {
    // Faults meant for the file's writes match its future path.
    const std::string path = dir.Path() + name;
    TRX_FAULT(CreateUnnamedFileAt, path);
    std::unique_ptr<WritableFile> inner;
    if (const int error = inner_.CreateUnnamedFileAt(dir, name, mode, inner); error != 0) {
        return error;
    }
    out = std::make_unique<FaultyWritableFile>(*this, path, std::move(inner));
    return 0;
}

int FaultyFileSystem::LinkFileAt(WritableFile& file, Directory& dir, const std::string& name) {
    TRX_FAULT(LinkFileAt, dir.Path() + name);
    return inner_.LinkFileAt(static_cast<FaultyWritableFile&>(file).Inner(), dir, name);
}

int FaultyFileSystem::CopyData(ReadableFile& from, WritableFile& to, std::uint64_t maxBytes,
                               std::uint64_t& copied) {
    auto& source = static_cast<FaultyReadableFile&>(from);
    auto& target = static_cast<FaultyWritableFile&>(to);
    copied = 0;
    // The nearest injected limit decides how far this call gets and which error it then reports.
    int limitError = 0;
    std::uint64_t room = source.Room(Op::Read, limitError);
    int error = 0;
    if (const std::uint64_t copyRoom = source.Room(Op::CopyData, error); copyRoom < room) {
        room = copyRoom;
        limitError = error;
    }
    if (const std::uint64_t writeRoom = target.Room(error); writeRoom < room) {
        room = writeRoom;
        limitError = error;
    }
    if (room == 0) {
        return limitError;
    }
    const std::uint64_t allowed = std::min(maxBytes, room);
    const int rc = inner_.CopyData(source.Inner(), target.Inner(), allowed, copied);
    source.Count(copied);
    target.Count(copied);
    if (rc != 0) {
        return rc;
    }
    if (AfterChunk) {
        AfterChunk(source.Path(), source.SoFar());
    }
    if (copied == room && limitError != 0 && room < maxBytes) {
        return limitError;
    }
    return 0;
}

int FaultyFileSystem::ReadLinkAt(Directory& dir, const std::string& name, std::string& target) {
    TRX_FAULT(ReadLinkAt, dir.Path() + name);
    return inner_.ReadLinkAt(dir, name, target);
}

int FaultyFileSystem::CreateLinkAt(Directory& dir, const std::string& name, const std::string& target) {
    TRX_FAULT(CreateLinkAt, dir.Path() + name);
    return inner_.CreateLinkAt(dir, name, target);
}

int FaultyFileSystem::SetLinkTimesAt(Directory& dir, const std::string& name,
                                     const platform::FileTime& accessed, const platform::FileTime& modified) {
    TRX_FAULT(SetLinkTimesAt, dir.Path() + name);
    return inner_.SetLinkTimesAt(dir, name, accessed, modified);
}

int FaultyFileSystem::RenameAt(Directory& fromDir, const std::string& from, Directory& toDir,
                               const std::string& to) {
    TRX_FAULT(RenameAt, toDir.Path() + to);
    return inner_.RenameAt(fromDir, from, toDir, to);
}

int FaultyFileSystem::RemoveAt(Directory& dir, const std::string& name, bool directory) {
    TRX_FAULT(RemoveAt, dir.Path() + name);
    return inner_.RemoveAt(dir, name, directory);
}

int FaultyFileSystem::LockDirectory(Directory& dir, std::unique_ptr<platform::FileLock>& out) {
    TRX_FAULT(LockDirectory, dir.Path());
    return inner_.LockDirectory(dir, out);
}

int FaultyFileSystem::HardLinkAt(Directory& fromDir, const std::string& from, Directory& toDir,
                                 const std::string& to) {
    TRX_FAULT(HardLinkAt, toDir.Path() + to);
    return inner_.HardLinkAt(fromDir, from, toDir, to);
}

int FaultyFileSystem::SetModeAt(Directory& dir, const std::string& name, std::uint32_t mode) {
    TRX_FAULT(SetModeAt, dir.Path() + name);
    return inner_.SetModeAt(dir, name, mode);
}

int FaultyFileSystem::SetOwnerAt(Directory& dir, const std::string& name, std::uint32_t owner,
                                 std::uint32_t group) {
    TRX_FAULT(SetOwnerAt, dir.Path() + name);
    return inner_.SetOwnerAt(dir, name, owner, group);
}

int FaultyFileSystem::SetDirectoryMode(Directory& dir, std::uint32_t mode) {
    TRX_FAULT(SetDirectoryMode, dir.Path());
    return inner_.SetDirectoryMode(dir, mode);
}

int FaultyFileSystem::SetDirectoryOwner(Directory& dir, std::uint32_t owner, std::uint32_t group) {
    TRX_FAULT(SetDirectoryOwner, dir.Path());
    return inner_.SetDirectoryOwner(dir, owner, group);
}

int FaultyFileSystem::SetDirectoryTimes(Directory& dir, const platform::FileTime& accessed,
                                        const platform::FileTime& modified) {
    TRX_FAULT(SetDirectoryTimes, dir.Path());
    return inner_.SetDirectoryTimes(dir, accessed, modified);
}

int FaultyFileSystem::ReadDirectoryAttributes(Directory& dir, std::vector<platform::ExtendedAttribute>& out) {
    TRX_FAULT(ReadDirectoryAttributes, dir.Path());
    return inner_.ReadDirectoryAttributes(dir, out);
}

int FaultyFileSystem::WriteDirectoryAttribute(Directory& dir, const platform::ExtendedAttribute& attribute) {
    TRX_FAULT(WriteDirectoryAttribute, dir.Path() + "#" + attribute.Name);
    return inner_.WriteDirectoryAttribute(dir, attribute);
}

int FaultyFileSystem::RemoveDirectoryAttribute(Directory& dir, const std::string& name) {
    TRX_FAULT(RemoveDirectoryAttribute, dir.Path() + "#" + name);
    return inner_.RemoveDirectoryAttribute(dir, name);
}

platform::ProcessIdentity FaultyFileSystem::Identity() {
    return FakeIdentity ? *FakeIdentity : inner_.Identity();
}

#undef TRX_FAULT

}  // namespace trx::test

// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/FaultyFileSystem.h"

#include <algorithm>

namespace trx::test {

using platform::Directory;
using platform::ReadableFile;
using platform::WritableFile;

namespace {

using platform::Failure;
using platform::Result;
using platform::Status;
using Op = FaultyFileSystem::Op;

Status Fault(int error) {
    return error != 0 ? Status(Failure{error}) : Status();
}

class FaultyReadableFile : public ReadableFile {
public:
    FaultyReadableFile(const FaultyFileSystem& fs, std::string path, std::unique_ptr<ReadableFile> inner)
        : fs_(fs), path_(std::move(path)), inner_(std::move(inner)) {}

    const std::string& Path() const { return path_; }

    // Bytes that may still go through before an injected failure of `op`; ~0 when none is set.
    std::uint64_t Room(Op op, int& error) {
        std::uint64_t afterBytes = 0;
        error = fs_.Injected(op, path_, &afterBytes);
        if (error == 0) {
            return ~std::uint64_t{0};
        }
        return afterBytes > read_ ? afterBytes - read_ : 0;
    }
    void Count(std::uint64_t bytes) { read_ += bytes; }
    std::uint64_t SoFar() const { return read_; }

    Result<std::size_t> Read(void* data, std::size_t size) override {
        int error = 0;
        const std::uint64_t room = Room(Op::Read, error);
        if (room == 0) {
            return Failure{error};
        }
        auto done = inner_->Read(data, static_cast<std::size_t>(std::min<std::uint64_t>(size, room)));
        if (done) {
            read_ += *done;
            if (fs_.AfterChunk) {
                fs_.AfterChunk(path_, read_);
            }
        }
        return done;
    }
    Result<platform::EntryInfo> Info() override { return inner_->Info(); }
    Result<std::vector<platform::ExtendedAttribute>> ReadAttributes() override {
        if (const int error = fs_.Injected(Op::ReadAttributes, path_); error != 0) {
            return Failure{error};
        }
        return inner_->ReadAttributes();
    }
    Result<platform::DataStretch> NextData(std::uint64_t from) override {
        if (const int error = fs_.Injected(Op::NextData, path_); error != 0) {
            return Failure{error};
        }
        return inner_->NextData(from);
    }
    int Descriptor() const override { return inner_->Descriptor(); }

private:
    const FaultyFileSystem& fs_;
    std::string path_;
    std::unique_ptr<ReadableFile> inner_;
    std::uint64_t read_ = 0;
};

class FaultyWritableFile : public WritableFile {
public:
    FaultyWritableFile(const FaultyFileSystem& fs, std::string path, std::unique_ptr<WritableFile> inner)
        : fs_(fs), path_(std::move(path)), inner_(std::move(inner)) {}

    // Bytes that may still go through before an injected failure; ~0 when none is set.
    std::uint64_t Room(int& error) {
        std::uint64_t afterBytes = 0;
        error = fs_.Injected(Op::Write, path_, &afterBytes);
        if (error == 0) {
            return ~std::uint64_t{0};
        }
        return afterBytes > written_ ? afterBytes - written_ : 0;
    }

    Status Write(const void* data, std::size_t size) override {
        int error = 0;
        const std::uint64_t room = Room(error);
        if (room < size) {
            // Write what still fits, as a disk that fills up does, then fail.
            (void)inner_->Write(data, static_cast<std::size_t>(room));
            written_ += room;
            return Failure{error};
        }
        written_ += size;
        return inner_->Write(data, size);
    }
    Result<std::uint64_t> CopyFrom(ReadableFile& from, std::uint64_t maxBytes) override;
    Status SetMode(std::uint32_t mode) override {
        return Checked(Op::SetMode, path_, [&] { return inner_->SetMode(mode); });
    }
    Status SetTimes(const platform::FileTime& accessed, const platform::FileTime& modified) override {
        return Checked(Op::SetTimes, path_, [&] { return inner_->SetTimes(accessed, modified); });
    }
    Status SetOwner(std::uint32_t owner, std::uint32_t group) override {
        return Checked(Op::SetOwner, path_, [&] { return inner_->SetOwner(owner, group); });
    }
    Status WriteAttribute(const platform::ExtendedAttribute& attribute) override {
        return Checked(Op::WriteAttribute, path_ + "#" + attribute.Name,
                       [&] { return inner_->WriteAttribute(attribute); });
    }
    Status RemoveAttribute(const std::string& name) override {
        return Checked(Op::RemoveAttribute, path_ + "#" + name,
                       [&] { return inner_->RemoveAttribute(name); });
    }
    Status Seek(std::uint64_t offset) override {
        return Checked(Op::Seek, path_, [&] { return inner_->Seek(offset); });
    }
    Status SetSize(std::uint64_t size) override {
        return Checked(Op::SetSize, path_, [&] { return inner_->SetSize(size); });
    }
    Status Sync() override {
        return Checked(Op::Sync, path_, [&] { return inner_->Sync(); });
    }
    Status Close() override {
        const Status closed = inner_->Close();
        const int error = fs_.Injected(Op::Close, path_);
        return error != 0 ? Fault(error) : closed;
    }
    Status LinkAs(Directory& dir, const std::string& name) override {
        return Checked(Op::LinkFileAt, dir.Path() + name, [&] { return inner_->LinkAs(dir, name); });
    }

private:
    template <class Call>
    Status Checked(Op op, const std::string& path, Call call) {
        const int error = fs_.Injected(op, path);
        return error != 0 ? Fault(error) : call();
    }

    const FaultyFileSystem& fs_;
    std::string path_;
    std::unique_ptr<WritableFile> inner_;
    std::uint64_t written_ = 0;
};

Result<std::uint64_t> FaultyWritableFile::CopyFrom(ReadableFile& from, std::uint64_t maxBytes) {
    // Files of this decorator carry the read faults and hooks; others are copied as they are.
    auto* source = dynamic_cast<FaultyReadableFile*>(&from);
    // The nearest injected limit decides how far this call gets and which error it then reports.
    int limitError = 0;
    std::uint64_t room = Room(limitError);
    int error = 0;
    for (const Op op : {Op::Read, Op::CopyData}) {
        if (const std::uint64_t limit = source != nullptr ? source->Room(op, error) : room; limit < room) {
            room = limit;
            limitError = error;
        }
    }
    if (room == 0) {
        return Failure{limitError};
    }
    auto copied = inner_->CopyFrom(from, std::min(maxBytes, room));
    if (!copied) {
        return copied;
    }
    written_ += *copied;
    if (source != nullptr) {
        source->Count(*copied);
        if (fs_.AfterChunk) {
            fs_.AfterChunk(source->Path(), source->SoFar());
        }
    }
    if (*copied == room && limitError != 0 && room < maxBytes) {
        return Failure{limitError};
    }
    return copied;
}

class FaultyDirectory : public Directory {
public:
    FaultyDirectory(FaultyFileSystem& fs, std::unique_ptr<Directory> inner)
        : Directory(inner->Path()), fs_(fs), inner_(std::move(inner)) {}

    int Descriptor() const override { return inner_->Descriptor(); }
    Result<std::vector<platform::ListedEntry>> List() override {
        auto listed = Checked(Op::List, Path(), [&] { return inner_->List(); });
        if (listed && fs_.AfterList) {
            fs_.AfterList(Path());
        }
        return listed;
    }
    Result<platform::EntryInfo> Stat(const std::string& name) override {
        return Checked(Op::StatAt, Path() + name, [&] { return inner_->Stat(name); });
    }
    Result<std::unique_ptr<Directory>> OpenSub(const std::string& name) override {
        return Opened(Op::OpenDirectory, Path() + name + "/", inner_->OpenSub(name));
    }
    Result<std::unique_ptr<Directory>> Reopen() override {
        return Opened(Op::OpenDirectory, Path(), inner_->Reopen());
    }
    Status MakeSub(const std::string& name, std::uint32_t mode) override {
        Status made =
            Checked(Op::MakeDirectoryAt, Path() + name, [&] { return inner_->MakeSub(name, mode); });
        if (made && fs_.AfterMakeDirectory) {
            fs_.AfterMakeDirectory(Path() + name + "/");
        }
        return made;
    }
    Result<std::unique_ptr<ReadableFile>> OpenFile(const std::string& name) override {
        const std::string path = Path() + name;
        auto file = Checked(Op::OpenFileAt, path, [&] { return inner_->OpenFile(name); });
        return file ? Result<std::unique_ptr<ReadableFile>>(fs_.Wrap(path, std::move(*file)))
                    : std::move(file);
    }
    Result<std::unique_ptr<WritableFile>> CreateFile(const std::string& name, std::uint32_t mode,
                                                     platform::NewBits bits) override {
        return Created(Op::CreateFileAt, name, [&] { return inner_->CreateFile(name, mode, bits); });
    }
    Result<std::unique_ptr<WritableFile>> CreateUnnamedFile(const std::string& name,
                                                            std::uint32_t mode) override {
        // Faults meant for the file's writes match its future path.
        return Created(Op::CreateUnnamedFileAt, name, [&] { return inner_->CreateUnnamedFile(name, mode); });
    }
    Result<std::string> ReadLink(const std::string& name) override {
        return Checked(Op::ReadLinkAt, Path() + name, [&] { return inner_->ReadLink(name); });
    }
    Status CreateLink(const std::string& name, const std::string& target) override {
        return Checked(Op::CreateLinkAt, Path() + name, [&] { return inner_->CreateLink(name, target); });
    }
    Status SetLinkTimes(const std::string& name, const platform::FileTime& accessed,
                        const platform::FileTime& modified) override {
        return Checked(Op::SetLinkTimesAt, Path() + name,
                       [&] { return inner_->SetLinkTimes(name, accessed, modified); });
    }
    Status Rename(const std::string& from, Directory& toDir, const std::string& to) override {
        return Checked(Op::RenameAt, toDir.Path() + to, [&] { return inner_->Rename(from, toDir, to); });
    }
    Status HardLink(const std::string& from, Directory& toDir, const std::string& to) override {
        return Checked(Op::HardLinkAt, toDir.Path() + to, [&] { return inner_->HardLink(from, toDir, to); });
    }
    Status Remove(const std::string& name, bool directory) override {
        return Checked(Op::RemoveAt, Path() + name, [&] { return inner_->Remove(name, directory); });
    }
    Status SetModeOf(const std::string& name, std::uint32_t mode) override {
        return Checked(Op::SetModeAt, Path() + name, [&] { return inner_->SetModeOf(name, mode); });
    }
    Status SetOwnerOf(const std::string& name, std::uint32_t owner, std::uint32_t group) override {
        return Checked(Op::SetOwnerAt, Path() + name, [&] { return inner_->SetOwnerOf(name, owner, group); });
    }
    Status SetMode(std::uint32_t mode) override {
        return Checked(Op::SetDirectoryMode, Path(), [&] { return inner_->SetMode(mode); });
    }
    Status SetOwner(std::uint32_t owner, std::uint32_t group) override {
        return Checked(Op::SetDirectoryOwner, Path(), [&] { return inner_->SetOwner(owner, group); });
    }
    Status SetTimes(const platform::FileTime& accessed, const platform::FileTime& modified) override {
        return Checked(Op::SetDirectoryTimes, Path(), [&] { return inner_->SetTimes(accessed, modified); });
    }
    Result<std::vector<platform::ExtendedAttribute>> ReadAttributes() override {
        return Checked(Op::ReadDirectoryAttributes, Path(), [&] { return inner_->ReadAttributes(); });
    }
    Status WriteAttribute(const platform::ExtendedAttribute& attribute) override {
        return Checked(Op::WriteDirectoryAttribute, Path() + "#" + attribute.Name,
                       [&] { return inner_->WriteAttribute(attribute); });
    }
    Status RemoveAttribute(const std::string& name) override {
        return Checked(Op::RemoveDirectoryAttribute, Path() + "#" + name,
                       [&] { return inner_->RemoveAttribute(name); });
    }
    Status Sync() override {
        return Checked(Op::SyncDirectory, Path(), [&] { return inner_->Sync(); });
    }
    Result<std::unique_ptr<platform::FileLock>> Lock() override {
        return Checked(Op::LockDirectory, Path(), [&] { return inner_->Lock(); });
    }

private:
    // The call's result, or the injected failure without calling it.
    template <class Call>
    auto Checked(Op op, const std::string& path, Call call) -> decltype(call()) {
        if (const int error = fs_.Injected(op, path); error != 0) {
            return Failure{error};
        }
        return call();
    }
    Result<std::unique_ptr<Directory>> Opened(Op op, const std::string& path,
                                              Result<std::unique_ptr<Directory>> opened) {
        if (const int error = fs_.Injected(op, path); error != 0) {
            return Failure{error};
        }
        return opened ? Result<std::unique_ptr<Directory>>(fs_.Wrap(std::move(*opened))) : std::move(opened);
    }
    template <class Call>
    Result<std::unique_ptr<WritableFile>> Created(Op op, const std::string& name, Call call) {
        const std::string path = Path() + name;
        auto file = Checked(op, path, call);
        return file ? Result<std::unique_ptr<WritableFile>>(fs_.Wrap(path, std::move(*file)))
                    : std::move(file);
    }

    FaultyFileSystem& fs_;
    std::unique_ptr<Directory> inner_;
};

}  // namespace

void FaultyFileSystem::Fail(Op op, std::string pathPart, int error, std::uint64_t afterBytes) {
    rules_.push_back({op, std::move(pathPart), error, afterBytes});
}

int FaultyFileSystem::Injected(Op op, const std::string& path, std::uint64_t* afterBytes) const {
    {
        const std::lock_guard lock(callsMutex_);
        calls_.emplace_back(op, path);
    }
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
    const std::lock_guard lock(callsMutex_);
    return static_cast<int>(std::count_if(calls_.begin(), calls_.end(), [&](const auto& call) {
        return call.first == op && call.second.find(pathPart) != std::string::npos;
    }));
}

std::unique_ptr<Directory> FaultyFileSystem::Wrap(std::unique_ptr<Directory> inner) {
    return std::make_unique<FaultyDirectory>(*this, std::move(inner));
}

std::unique_ptr<WritableFile> FaultyFileSystem::Wrap(const std::string& path,
                                                     std::unique_ptr<WritableFile> inner) {
    return std::make_unique<FaultyWritableFile>(*this, path, std::move(inner));
}

std::unique_ptr<ReadableFile> FaultyFileSystem::Wrap(const std::string& path,
                                                     std::unique_ptr<ReadableFile> inner) {
    return std::make_unique<FaultyReadableFile>(*this, path, std::move(inner));
}

#define TRX_FAULT(op, path)                                     \
    if (const int error = Injected(Op::op, path); error != 0) { \
        return Failure{error};                                  \
    }

Result<std::string> FaultyFileSystem::ReadWholeFile(const std::string& path) {
    TRX_FAULT(ReadWholeFile, path);
    return inner_.ReadWholeFile(path);
}

Result<platform::FileStatus> FaultyFileSystem::Stat(const std::string& path, bool followLinks) {
    TRX_FAULT(Status, path);
    return inner_.Stat(path, followLinks);
}

Result<std::string> FaultyFileSystem::RealPath(const std::string& path) {
    TRX_FAULT(RealPath, path);
    return inner_.RealPath(path);
}

Result<std::unique_ptr<WritableFile>> FaultyFileSystem::CreateExclusive(const std::string& path,
                                                                        std::uint32_t mode) {
    TRX_FAULT(CreateExclusive, path);
    auto file = inner_.CreateExclusive(path, mode);
    return file ? Result<std::unique_ptr<WritableFile>>(Wrap(path, std::move(*file))) : std::move(file);
}

Result<std::unique_ptr<WritableFile>> FaultyFileSystem::OpenForWriting(const std::string& path) {
    TRX_FAULT(OpenForWriting, path);
    auto file = inner_.OpenForWriting(path);
    return file ? Result<std::unique_ptr<WritableFile>>(Wrap(path, std::move(*file))) : std::move(file);
}

Result<std::unique_ptr<WritableFile>> FaultyFileSystem::OpenForAppending(const std::string& path) {
    TRX_FAULT(OpenForAppending, path);
    auto file = inner_.OpenForAppending(path);
    return file ? Result<std::unique_ptr<WritableFile>>(Wrap(path, std::move(*file))) : std::move(file);
}

Status FaultyFileSystem::Rename(const std::string& from, const std::string& to) {
    TRX_FAULT(Rename, to);
    return inner_.Rename(from, to);
}

Status FaultyFileSystem::RemoveFile(const std::string& path) {
    TRX_FAULT(RemoveFile, path);
    return inner_.RemoveFile(path);
}

Status FaultyFileSystem::SyncDirectory(const std::string& path) {
    TRX_FAULT(SyncDirectory, path);
    return inner_.SyncDirectory(path);
}

Result<std::unique_ptr<platform::FileLock>> FaultyFileSystem::LockFile(const std::string& path) {
    TRX_FAULT(LockFile, path);
    return inner_.LockFile(path);
}

Status FaultyFileSystem::MakeDirectory(const std::string& path) {
    TRX_FAULT(MakeDirectory, path);
    return inner_.MakeDirectory(path);
}

Result<std::unique_ptr<Directory>> FaultyFileSystem::OpenDirectory(const std::string& path) {
    TRX_FAULT(OpenDirectory, path);
    auto dir = inner_.OpenDirectory(path);
    return dir ? Result<std::unique_ptr<Directory>>(Wrap(std::move(*dir))) : std::move(dir);
}

platform::ProcessIdentity FaultyFileSystem::Identity() {
    return FakeIdentity ? *FakeIdentity : inner_.Identity();
}

#undef TRX_FAULT

}  // namespace trx::test

#include "support/FaultyFileSystem.h"

namespace trx::test {

namespace {

class FaultyWritableFile : public platform::WritableFile {
public:
    FaultyWritableFile(const FaultyFileSystem& fs, std::string path,
                       std::unique_ptr<platform::WritableFile> inner)
        : fs_(fs), path_(std::move(path)), inner_(std::move(inner)) {}

    int Write(const void* data, std::size_t size) override {
        std::uint64_t afterBytes = 0;
        if (const int error = fs_.Injected(FaultyFileSystem::Op::Write, path_, &afterBytes); error != 0) {
            // Write what still fits, as a disk that fills up does, then fail.
            const std::uint64_t room = afterBytes > written_ ? afterBytes - written_ : 0;
            if (room >= size) {
                written_ += size;
                return inner_->Write(data, size);
            }
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
    std::unique_ptr<platform::WritableFile> inner_;
    std::uint64_t written_ = 0;
};

}  // namespace

void FaultyFileSystem::Fail(Op op, std::string pathPart, int error, std::uint64_t afterBytes) {
    rules_.push_back({op, std::move(pathPart), error, afterBytes});
}

int FaultyFileSystem::Injected(Op op, const std::string& path, std::uint64_t* afterBytes) const {
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

int FaultyFileSystem::ReadWholeFile(const std::string& path, std::string& out) {
    const int error = Injected(Op::ReadWholeFile, path);
    return error != 0 ? error : inner_.ReadWholeFile(path, out);
}

int FaultyFileSystem::Status(const std::string& path, platform::FileStatus& status, bool followLinks) {
    const int error = Injected(Op::Status, path);
    return error != 0 ? error : inner_.Status(path, status, followLinks);
}

int FaultyFileSystem::RealPath(const std::string& path, std::string& out) {
    const int error = Injected(Op::RealPath, path);
    return error != 0 ? error : inner_.RealPath(path, out);
}

int FaultyFileSystem::CreateExclusive(const std::string& path, std::uint32_t mode,
                                      std::unique_ptr<platform::WritableFile>& file) {
    if (const int error = Injected(Op::CreateExclusive, path); error != 0) {
        return error;
    }
    std::unique_ptr<platform::WritableFile> inner;
    if (const int error = inner_.CreateExclusive(path, mode, inner); error != 0) {
        return error;
    }
    file = std::make_unique<FaultyWritableFile>(*this, path, std::move(inner));
    return 0;
}

int FaultyFileSystem::OpenForWriting(const std::string& path, std::unique_ptr<platform::WritableFile>& file) {
    if (const int error = Injected(Op::OpenForWriting, path); error != 0) {
        return error;
    }
    std::unique_ptr<platform::WritableFile> inner;
    if (const int error = inner_.OpenForWriting(path, inner); error != 0) {
        return error;
    }
    file = std::make_unique<FaultyWritableFile>(*this, path, std::move(inner));
    return 0;
}

int FaultyFileSystem::Rename(const std::string& from, const std::string& to) {
    const int error = Injected(Op::Rename, to);
    return error != 0 ? error : inner_.Rename(from, to);
}

int FaultyFileSystem::RemoveFile(const std::string& path) {
    const int error = Injected(Op::RemoveFile, path);
    return error != 0 ? error : inner_.RemoveFile(path);
}

int FaultyFileSystem::SyncDirectory(const std::string& path) {
    const int error = Injected(Op::SyncDirectory, path);
    return error != 0 ? error : inner_.SyncDirectory(path);
}

}  // namespace trx::test

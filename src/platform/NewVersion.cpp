// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/NewVersion.h"

#include "platform/TemporaryName.h"

#include <cerrno>
#include <utility>

namespace trx::platform {

NewVersion::NewVersion(Directory& dir, std::string name, std::unique_ptr<WritableFile> file,
                       std::string temporary)
    : dir_(&dir), name_(std::move(name)), file_(std::move(file)), temporary_(std::move(temporary)) {
}

NewVersion::NewVersion(NewVersion&& other) noexcept
    : dir_(other.dir_),
      name_(std::move(other.name_)),
      file_(std::move(other.file_)),
      temporary_(std::exchange(other.temporary_, {})),
      done_(other.done_) {
}

NewVersion::~NewVersion() {
    if (file_ != nullptr || !temporary_.empty()) {
        Drop();
    }
}

Result<NewVersion> NewVersion::Create(Directory& dir, const std::string& name, std::uint32_t mode,
                                      NewBits bits, bool unnamed) {
    if (unnamed) {
        if (auto file = dir.CreateUnnamedFile(name, mode)) {
            return NewVersion(dir, name, std::move(*file), {});
        }
    }
    std::unique_ptr<WritableFile> file;
    auto temporary = UnderTemporaryName(name, [&](const std::string& candidate) {
        auto created = dir.CreateFile(candidate, mode, bits);
        if (!created) {
            return Status(Failure{created.Error()});
        }
        file = std::move(*created);
        return Status();
    });
    if (!temporary) {
        return Failure{temporary.Error()};
    }
    return NewVersion(dir, name, std::move(file), std::move(*temporary));
}

void NewVersion::Drop() {
    file_.reset();  // a file without a name vanishes with its descriptor
    if (!temporary_.empty() && !done_) {
        (void)dir_->Remove(temporary_, false);
    }
    temporary_.clear();
}

// A new version without a name gets the final name at once when that is free; else a temporary one, to
// be renamed over what took the name meanwhile.
Status NewVersion::NameIt() {
    Status linked = file_->LinkAs(*dir_, name_);
    if (linked || linked.Error() != EEXIST) {
        done_ = linked.Ok();
        return linked;
    }
    auto temporary = UnderTemporaryName(
        name_, [&](const std::string& candidate) { return file_->LinkAs(*dir_, candidate); });
    if (!temporary) {
        return Failure{temporary.Error()};
    }
    temporary_ = std::move(*temporary);
    return {};
}

Status NewVersion::Commit(Durability durability, const std::function<bool()>& beforeRename) {
    Status status = durability == Durability::Flushed ? file_->Sync() : Status();
    if (status && temporary_.empty()) {
        status = NameIt();
    }
    if (const Status closed = file_->Close(); status && !closed) {
        status = closed;
    }
    file_.reset();
    if (status && !done_) {
        status = beforeRename && !beforeRename() ? Status(Failure{ECANCELED})
                                                 : dir_->Rename(temporary_, *dir_, name_);
    }
    if (!status) {
        done_ = false;
        Drop();
        return status;
    }
    done_ = true;
    temporary_.clear();
    if (durability == Durability::Flushed) {
        (void)dir_->Sync();  // the rename is done; a folder that cannot be flushed changes nothing of it
    }
    return {};
}

}  // namespace trx::platform

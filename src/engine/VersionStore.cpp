// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/VersionStore.h"

#include "engine/Messages.h"
#include "engine/RunContext.h"
#include "engine/TargetDirectory.h"
#include "platform/FileSystem.h"

#include <cerrno>
#include <string_view>

namespace trx {

namespace {
// Versions are the user's earlier data: nobody else needs to read them.
constexpr std::uint32_t kFolderMode = 0700;
}  // namespace

cVersionStore::cVersionStore(cRunContext& run, platform::Directory& destinationDir,
                             std::string destinationPath, std::string folderName, std::string stamp)
    : run_(run),
      destinationDir_(destinationDir),
      destinationPath_(std::move(destinationPath)),
      folderName_(std::move(folderName)),
      stamp_(std::move(stamp)) {
}

cVersionStore::~cVersionStore() = default;

cVersionStore::Outcome cVersionStore::KeepReplaced(platform::Directory& dir, const std::string& name,
                                                   const std::string& path) {
    return Keep(dir, name, path, true);
}

cVersionStore::Outcome cVersionStore::KeepDeleted(platform::Directory& dir, const std::string& name,
                                                  const std::string& path) {
    return Keep(dir, name, path, false);
}

cVersionStore::Outcome cVersionStore::KeepReplacedQuietly(platform::Directory& dir, const std::string& name,
                                                          const std::string& path, cSaid& said) {
    KeepQuietly(dir, name, path, true, said);
    return said.Result;
}

void cVersionStore::Say(const cSaid& said) {
    if (said.Result == Outcome::Kept) {
        ++run_.VersionsKept;
    }
    if (!said.Line.empty()) {
        run_.WriteProtocol(said.Line, said.Level, nullptr);
    }
}

cVersionStore::Outcome cVersionStore::Keep(platform::Directory& dir, const std::string& name,
                                           const std::string& path, bool link) {
    cSaid said;
    KeepQuietly(dir, name, path, link, said);
    Say(said);
    return said.Result;
}

void cVersionStore::KeepQuietly(platform::Directory& dir, const std::string& name, const std::string& path,
                                bool link, cSaid& said) {
    const std::lock_guard lock(mutex_);
    platform::Directory* folder = nullptr;
    std::string relative;
    if (path.starts_with(destinationPath_) && path.size() > destinationPath_.size()) {
        relative = path.substr(destinationPath_.size());
        folder = Folder(platform::DirectoryPart(relative));
    }
    said = {Outcome::Failed, messages::VersionNotKept(path), 1};
    if (folder == nullptr) {
        return;
    }
    if (folder->Stat(name)) {
        said = {Outcome::AlreadyKept, "", 0};
        return;
    }
    platform::Status kept = link ? dir.HardLink(name, *folder, name) : platform::StatusOf(EXDEV);
    if (kept.Error() == EEXIST) {
        said = {Outcome::AlreadyKept, "", 0};
        return;
    }
    if (!kept) {
        // A file system without hard links (FAT, exFAT), or a deletion: the entry itself moves.
        kept = dir.Rename(name, *folder, name);
    }
    if (kept) {
        said = {Outcome::Kept, messages::VersionKept(path, FolderPath() + stamp_ + "/" + relative), 2};
    }
}

std::unique_ptr<platform::Directory> cVersionStore::OpenOrMake(platform::Directory& parent,
                                                               const std::string& name) {
    const platform::Status made = parent.MakeSub(name, kFolderMode);
    if (!made && made.Error() != EEXIST) {
        return nullptr;
    }
    auto dir = parent.OpenSub(name);
    return dir ? std::move(*dir) : nullptr;
}

std::unique_ptr<platform::Directory> cVersionStore::MakeRunFolder(platform::Directory& top) {
    // A folder of this name from another run (one that started in the same second) is never mixed with
    // this run's: a path would have two versions from before "this" run, and one would be lost.
    const std::string stamp = stamp_;
    for (int number = 1; number < 100; ++number) {
        const std::string name = number == 1 ? stamp : stamp + "-" + std::to_string(number);
        const platform::Status made = top.MakeSub(name, kFolderMode);
        if (made) {
            auto dir = top.OpenSub(name);
            stamp_ = name;
            return dir ? std::move(*dir) : nullptr;
        }
        if (made.Error() != EEXIST) {
            return nullptr;
        }
    }
    return nullptr;
}

platform::Directory* cVersionStore::Folder(const std::string& relative) {
    if (runFolder_ == nullptr && !folderName_.empty()) {
        if (std::unique_ptr<platform::Directory> top = OpenOrMake(destinationDir_, folderName_)) {
            runFolder_ = MakeRunFolder(*top);
        }
    }
    if (runFolder_ == nullptr || !IsPlainRelativePath(relative)) {
        return nullptr;
    }
    // The folders above stay open from one keep to the next, as the walk goes through the tree in order.
    std::size_t depth = 0;
    std::size_t start = 0;
    for (; start < relative.size(); ++depth) {
        const std::size_t slash = relative.find('/', start);
        const std::string_view name = std::string_view(relative).substr(start, slash - start);
        if (depth >= openPath_.size() || openPath_[depth].first != name) {
            break;
        }
        start = slash + 1;
    }
    openPath_.resize(depth);
    while (start < relative.size()) {
        const std::size_t slash = relative.find('/', start);
        std::string name = relative.substr(start, slash - start);
        std::unique_ptr<platform::Directory> dir =
            OpenOrMake(openPath_.empty() ? *runFolder_ : *openPath_.back().second, name);
        if (dir == nullptr) {
            return nullptr;
        }
        openPath_.emplace_back(std::move(name), std::move(dir));
        start = slash + 1;
    }
    return openPath_.empty() ? runFolder_.get() : openPath_.back().second.get();
}

}  // namespace trx

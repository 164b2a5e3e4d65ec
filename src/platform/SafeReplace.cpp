// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SafeReplace.h"

#include "platform/FileSystem.h"
#include "platform/NewVersion.h"
#include "platform/TemporaryName.h"

#include <cerrno>
#include <memory>

namespace trx::platform {

namespace {

// Temporary files of saves that were killed before their rename.
void RemoveStaleTemporaries(Directory& dir, const std::string& name) {
    const auto entries = dir.List();
    if (!entries) {
        return;
    }
    const std::string prefix = "." + name + ".";
    for (const ListedEntry& entry : *entries) {
        if (entry.Kind == FileKind::Regular && entry.Name.starts_with(prefix) &&
            IsTemporaryName(entry.Name)) {
            (void)dir.Remove(entry.Name, false);
        }
    }
}

// The file a save writes: a link is followed to the file it names.
std::string SaveTarget(FileSystem& fs, const std::string& path) {
    const auto status = fs.Stat(path, false);
    if (status && status->Kind == FileKind::SymLink) {
        if (auto resolved = fs.RealPath(path)) {
            return *resolved;
        }
    }
    return path;
}

// The new version's data, and the bits it ends with: a replacement the old file's, a new file those the
// umask gave it, each turned by `adjustMode` where given.
Status WriteAndSetMode(NewVersion& version, Directory& dir, std::string_view data, bool replacing,
                       std::uint32_t oldMode, const std::function<std::uint32_t(std::uint32_t)>& adjustMode) {
    std::uint32_t mode = oldMode;
    if (!replacing) {
        auto created = dir.Stat(version.Temporary());
        if (!created) {
            return Failure{created.Error()};
        }
        mode = created->Mode;
    }
    Status status = version.File().Write(data.data(), data.size());
    if (status && (replacing || adjustMode)) {
        status = version.File().SetMode(adjustMode ? adjustMode(mode) : mode);
    }
    return status;
}

}  // namespace

ReplaceResult ReplaceFileContents(FileSystem& fs, const std::string& path, std::string_view data,
                                  bool executable,
                                  const std::function<std::uint32_t(std::uint32_t)>& adjustMode) {
    const std::string target = SaveTarget(fs, path);
    const auto old = fs.Stat(target, true);
    if (old && old->Kind == FileKind::Directory) {
        return {ReplaceFailure::Create, EISDIR};
    }
    const std::string folder = DirectoryPart(target);
    auto dir = fs.OpenDirectory(folder.empty() ? "." : folder);
    if (!dir) {
        return {ReplaceFailure::Create, dir.Error()};
    }
    RemoveStaleTemporaries(**dir, NamePart(target));
    // A new file gets what the umask allows, as if it had been created directly; a replacement nobody else
    // may read before it has the old file's bits.
    auto version = old ? NewVersion::Create(**dir, NamePart(target), 0600, NewBits::Exact, false)
                       : NewVersion::Create(**dir, NamePart(target), executable ? 0777 : 0666,
                                            NewBits::UmaskApplies, false);
    if (!version) {
        return {ReplaceFailure::Create, version.Error()};
    }
    Status status = WriteAndSetMode(*version, **dir, data, old.Ok(), old ? old->Mode : 0, adjustMode);
    if (status) {
        status = version->Commit(NewVersion::Durability::Flushed);
    }
    if (!status) {
        return {ReplaceFailure::Write, status.Error()};
    }
    return {};
}

}  // namespace trx::platform

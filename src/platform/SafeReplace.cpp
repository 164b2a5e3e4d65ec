// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SafeReplace.h"

#include "platform/FileSystem.h"

#include <cerrno>
#include <memory>
#include <random>
#include <vector>

namespace trx::platform {

std::string TemporaryNameBeside(const std::string& path) {
    static constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    thread_local std::mt19937_64 generator{std::random_device{}()};
    std::string suffix;
    for (int i = 0; i < 10; ++i) {
        suffix.push_back(kDigits[generator() % 36]);
    }
    return DirectoryPart(path) + "." + NamePart(path) + ".trx-" + suffix;
}

namespace {

// Temporary files of saves that were killed before their rename: ".<name>.trx-" and ten random characters.
void RemoveStaleTemporaries(FileSystem& fs, const std::string& target) {
    const std::string prefix = "." + NamePart(target) + ".trx-";
    std::unique_ptr<Directory> dir;
    std::vector<ListedEntry> entries;
    const std::string folder = DirectoryPart(target);
    if (fs.OpenDirectory(folder.empty() ? "." : folder, dir) != 0 || fs.List(*dir, entries) != 0) {
        return;
    }
    for (const ListedEntry& entry : entries) {
        if (entry.Kind == FileKind::Regular && entry.Name.size() == prefix.size() + 10 &&
            entry.Name.starts_with(prefix)) {
            fs.RemoveAt(*dir, entry.Name, false);
        }
    }
}

}  // namespace

ReplaceResult ReplaceFileContents(FileSystem& fs, const std::string& path, std::string_view data,
                                  bool executable,
                                  const std::function<std::uint32_t(std::uint32_t)>& adjustMode) {
    std::string target = path;
    FileStatus status;
    const bool exists = fs.Status(path, status, false) == 0;
    if (exists && status.kind == FileKind::SymLink) {
        std::string resolved;
        if (fs.RealPath(path, resolved) == 0) {
            target = resolved;
        }
    }
    bool replacing = false;
    std::uint32_t oldMode = 0;
    if (FileStatus old; fs.Status(target, old, true) == 0) {
        if (old.kind == FileKind::Directory) {
            return {ReplaceFailure::Create, EISDIR};
        }
        replacing = true;
        oldMode = old.mode;
    }

    RemoveStaleTemporaries(fs, target);

    std::unique_ptr<WritableFile> file;
    std::string temporary;
    int error = EEXIST;
    for (int attempt = 0; attempt < 16 && error == EEXIST; ++attempt) {
        temporary = TemporaryNameBeside(target);
        // A new file gets what the umask allows, as if it had been created directly; a replacement nobody
        // else may read before it has the old file's bits.
        error = fs.CreateExclusive(temporary, replacing ? 0600 : (executable ? 0777 : 0666), file);
    }
    if (error != 0) {
        return {ReplaceFailure::Create, error};
    }

    std::uint32_t mode = oldMode;
    if (!replacing) {
        FileStatus created;
        error = fs.Status(temporary, created, false);
        mode = created.mode;
    }
    if (error == 0) {
        error = file->Write(data.data(), data.size());
    }
    if (error == 0 && (replacing || adjustMode)) {
        error = file->SetMode(adjustMode ? adjustMode(mode) : mode);
    }
    if (error == 0) {
        error = file->Sync();
    }
    const int closeError = file->Close();
    if (error == 0) {
        error = closeError;
    }
    if (error == 0) {
        error = fs.Rename(temporary, target);
    }
    if (error != 0) {
        fs.RemoveFile(temporary);
        return {ReplaceFailure::Write, error};
    }
    fs.SyncDirectory(DirectoryPart(target));
    return {};
}

}  // namespace trx::platform

// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/SafeCopy.h"

#include "platform/FileSystem.h"

#include <cerrno>
#include <memory>
#include <random>

namespace trx {

namespace {

constexpr std::size_t kMaxNameLength = 255;

std::string RandomSuffix(int length) {
    static constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    thread_local std::mt19937_64 generator{std::random_device{}()};
    std::string suffix;
    for (int i = 0; i < length; ++i) {
        suffix.push_back(kDigits[generator() % 36]);
    }
    return suffix;
}

CopyOutcome CopyLink(platform::FileSystem& fs, platform::Directory& sourceDir, platform::Directory& targetDir,
                     const std::string& name, const platform::EntryInfo& info, bool keepTimes,
                     const std::function<void(std::uint64_t)>& onChunk) {
    std::string target;
    if (fs.ReadLinkAt(sourceDir, name, target) != 0) {
        return CopyOutcome::Failed;
    }
    std::string temporary;
    int error = EEXIST;
    for (int attempt = 0; attempt < 8 && error == EEXIST; ++attempt) {
        temporary = TemporaryCopyName(name);
        error = fs.CreateLinkAt(targetDir, temporary, target);
    }
    if (error != 0) {
        return CopyOutcome::Failed;
    }
    if (keepTimes) {
        fs.SetLinkTimesAt(targetDir, temporary, info.Accessed, info.Modified);  // a failure here is no loss
    }
    if (onChunk) {
        onChunk(target.size());
    }
    if (fs.RenameAt(targetDir, temporary, targetDir, name) != 0) {
        fs.RemoveAt(targetDir, temporary, false);
        return CopyOutcome::Failed;
    }
    return CopyOutcome::Copied;
}

}  // namespace

std::string TemporaryCopyName(const std::string& name) {
    std::string candidate = "." + name + ".trx-" + RandomSuffix(8);
    if (candidate.size() > kMaxNameLength) {
        candidate = ".trx-" + RandomSuffix(16);
    }
    return candidate;
}

bool IsTemporaryCopyName(std::string_view name) {
    const auto randomTail = [&](std::size_t length) {
        if (name.size() < length) {
            return false;
        }
        for (const char c : name.substr(name.size() - length)) {
            if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z'))) {
                return false;
            }
        }
        return true;
    };
    if (name.size() == 5 + 16 && name.starts_with(".trx-") && randomTail(16)) {
        return true;
    }
    return name.size() > 1 + 5 + 8 && name[0] == '.' && randomTail(8) &&
           name.substr(name.size() - 13, 5) == ".trx-";
}

CopyOutcome CopyEntrySafely(platform::FileSystem& fs, platform::Directory& sourceDir,
                            platform::Directory& targetDir, const std::string& name,
                            const platform::EntryInfo& info, bool keepTimes,
                            const std::function<void(std::uint64_t done)>& onChunk,
                            const std::function<bool()>& cancelled, bool targetAbsent) {
    if (info.Kind == platform::FileKind::SymLink) {
        return CopyLink(fs, sourceDir, targetDir, name, info, keepTimes, onChunk);
    }
    if (info.Kind != platform::FileKind::Regular) {
        return CopyOutcome::Failed;
    }
    std::unique_ptr<platform::ReadableFile> in;
    if (fs.OpenFileAt(sourceDir, name, in) != 0) {
        return CopyOutcome::Failed;
    }
    // Only the permission bits: set-id bits never travel with a backup.
    const std::uint32_t mode = info.Mode & 0777;
    std::unique_ptr<platform::WritableFile> out;
    std::string temporary;  // stays empty while the copy has no name
    if (!targetAbsent || fs.CreateUnnamedFileAt(targetDir, name, mode, out) != 0) {
        int error = EEXIST;
        for (int attempt = 0; attempt < 8 && error == EEXIST; ++attempt) {
            temporary = TemporaryCopyName(name);
            error = fs.CreateFileAt(targetDir, temporary, mode, out);
        }
        if (error != 0) {
            return CopyOutcome::Failed;
        }
    }
    const auto dropTemporary = [&](CopyOutcome outcome) {
        out.reset();  // a file without a name vanishes with its descriptor
        if (!temporary.empty()) {
            fs.RemoveAt(targetDir, temporary, false);
        }
        return outcome;
    };

    std::uint64_t done = 0;
    std::uint64_t copied = 0;
    do {
        if (fs.CopyData(*in, *out, kCopyChunk, copied) != 0) {
            return dropTemporary(CopyOutcome::Failed);
        }
        if (copied > 0 || done == 0) {
            done += copied;
            if (onChunk) {
                onChunk(done);
            }
        }
        // Read to the end, past the size the walk saw: only so does a file that grew meanwhile show.
    } while (copied > 0 && !(cancelled && cancelled()));

    if (cancelled && cancelled() && done < info.Size) {
        return dropTemporary(CopyOutcome::Cancelled);
    }
    if (done != info.Size) {
        // The file shrank or grew while it was read: such a copy belongs to no moment of the original,
        // so the earlier copy stays and the next run tries again.
        return dropTemporary(CopyOutcome::Failed);
    }
    if (keepTimes) {
        out->SetTimes(info.Accessed, info.Modified);  // times that cannot be set are no reason to fail
    }
    if (temporary.empty()) {
        const int linked = fs.LinkFileAt(*out, targetDir, name);
        if (linked == 0) {
            return out->Close() == 0 ? CopyOutcome::Copied : CopyOutcome::Failed;
        }
        if (linked != EEXIST) {
            return dropTemporary(CopyOutcome::Failed);
        }
        // An entry of that name appeared meanwhile: replace it the usual way, through a temporary name.
        int error = EEXIST;
        for (int attempt = 0; attempt < 8 && error == EEXIST; ++attempt) {
            temporary = TemporaryCopyName(name);
            error = fs.LinkFileAt(*out, targetDir, temporary);
        }
        if (error != 0) {
            temporary.clear();
            return dropTemporary(CopyOutcome::Failed);
        }
    }
    if (out->Close() != 0) {
        return dropTemporary(CopyOutcome::Failed);
    }
    if (fs.RenameAt(targetDir, temporary, targetDir, name) != 0) {
        return dropTemporary(CopyOutcome::Failed);
    }
    return CopyOutcome::Copied;
}

}  // namespace trx

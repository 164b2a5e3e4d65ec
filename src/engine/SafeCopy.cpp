// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/SafeCopy.h"

#include "engine/KeptMetadata.h"
#include "engine/ChunkSizer.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <cerrno>
#include <memory>
#include <random>
#include <vector>

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
                     const std::string& name, const platform::EntryInfo& info, const cCopyRequest& request) {
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
    if (request.owner != platform::kUnchangedId || request.group != platform::kUnchangedId) {
        fs.SetOwnerAt(targetDir, temporary, request.owner, request.group);  // a refusal is no failure
    }
    if (request.keepTimes) {
        fs.SetLinkTimesAt(targetDir, temporary, info.Accessed, info.Modified);  // a failure here is no loss
    }
    if ((request.makeRoom && !request.makeRoom()) ||
        fs.RenameAt(targetDir, temporary, targetDir, name) != 0) {
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
    // The probe of a destination that drops trailing dots or blanks makes such names too.
    if (!name.empty() && (name.back() == '.' || name.back() == ' ')) {
        name.remove_suffix(1);
    }
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

namespace {

// The copy's file: without a name where it can be, else under a fresh temporary name.
struct cOpenCopy {
    std::unique_ptr<platform::WritableFile> file;
    std::string temporary;  // empty while the copy has no name
};

int CreateCopy(platform::FileSystem& fs, platform::Directory& targetDir, const std::string& name,
               std::uint32_t mode, bool targetAbsent, cOpenCopy& copy) {
    if (targetAbsent && fs.CreateUnnamedFileAt(targetDir, name, mode, copy.file) == 0) {
        return 0;
    }
    int error = EEXIST;
    for (int attempt = 0; attempt < 8 && error == EEXIST; ++attempt) {
        copy.temporary = TemporaryCopyName(name);
        error = fs.CreateFileAt(targetDir, copy.temporary, mode, copy.file);
    }
    return error;
}

// Moves the bytes from `done` to `end` of a file of `size` bytes, both files at `done`. Failed when the
// file ends early (it shrank) or a call fails.
CopyOutcome CopyRange(platform::FileSystem& fs, platform::ReadableFile& in, platform::WritableFile& out,
                      std::uint64_t done, std::uint64_t end, std::uint64_t size,
                      const cCopyRequest& request) {
    while (done < end) {
        std::uint64_t copied = 0;
        const std::uint64_t chunk = request.chunks != nullptr ? request.chunks->Next() : kCopyChunk;
        if (fs.CopyData(in, out, std::min(chunk, end - done), copied) != 0 || copied == 0) {
            return CopyOutcome::Failed;
        }
        if (request.chunks != nullptr) {
            request.chunks->Moved(copied);
        }
        done += copied;
        if (done < size) {
            if (request.onChunk) {
                request.onChunk(done);
            }
            if (request.cancelled && request.cancelled()) {
                return CopyOutcome::Cancelled;
            }
        }
    }
    return CopyOutcome::Copied;
}

// Moves exactly `size` bytes; of a sparse file only its data, the holes between stay holes.
CopyOutcome CopyBytes(platform::FileSystem& fs, platform::ReadableFile& in, platform::WritableFile& out,
                      const platform::EntryInfo& info, const cCopyRequest& request) {
    const std::uint64_t size = info.Size;
    if (!request.keepHoles || info.Blocks * 512 >= size) {
        return CopyRange(fs, in, out, 0, size, size, request);
    }
    std::uint64_t done = 0;
    while (done < size) {
        std::uint64_t start = 0;
        std::uint64_t end = 0;
        if (in.NextData(done, start, end) != 0) {
            return CopyOutcome::Failed;
        }
        if (start >= std::min(end, size)) {
            break;  // a hole up to the end
        }
        end = std::min(end, size);
        if (out.Seek(start) != 0) {
            return CopyOutcome::Failed;
        }
        if (const CopyOutcome outcome = CopyRange(fs, in, out, start, end, size, request);
            outcome != CopyOutcome::Copied) {
            return outcome;
        }
        done = end;
    }
    return out.SetSize(size) == 0 ? CopyOutcome::Copied : CopyOutcome::Failed;
}

// Owner, attributes and ACLs of the source, as far as the destination and the run allow; what is refused
// is no reason to fail.
void KeepMetadata(platform::ReadableFile& in, platform::WritableFile& out, const platform::EntryInfo& info,
                  const cCopyRequest& request) {
    if (request.owner != platform::kUnchangedId || request.group != platform::kUnchangedId) {
        out.SetOwner(request.owner, request.group);
    }
    bool ownAcl = false;
    if (request.copyAttributes) {
        std::vector<platform::ExtendedAttribute> attributes;
        if (in.ReadAttributes(attributes) == 0) {
            for (const platform::ExtendedAttribute& attribute : attributes) {
                if (IsCopiedAttribute(attribute.Name)) {
                    out.WriteAttribute(attribute);
                    ownAcl = ownAcl || attribute.Name == kAccessAcl;
                }
            }
        }
    }
    if (request.dropInheritedAcl && !ownAcl) {
        out.RemoveAttribute(std::string(kAccessAcl));
        out.SetMode(KeptMode(info.Mode, info.Kind));
    }
}

bool SameTime(const platform::FileTime& a, const platform::FileTime& b) {
    return a.Seconds == b.Seconds && a.Nanoseconds == b.Nanoseconds;
}

// What the source looks like now against what the walk saw: Copied when untouched or only grown (the
// copy holds the length it had, a consistent state of a file that is being appended to).
CopyOutcome CheckUnchanged(platform::ReadableFile& in, const platform::EntryInfo& seen) {
    platform::EntryInfo now;
    if (in.Status(now) != 0) {
        return CopyOutcome::Failed;
    }
    if (SameTime(now.Modified, seen.Modified) && SameTime(now.Changed, seen.Changed) &&
        now.Size == seen.Size) {
        return CopyOutcome::Copied;
    }
    return now.Size > seen.Size ? CopyOutcome::Copied : CopyOutcome::Changed;
}

// Gives the complete copy its name. The temporary file is gone afterwards whatever happens.
CopyOutcome PutInPlace(platform::FileSystem& fs, platform::Directory& targetDir, const std::string& name,
                       cOpenCopy& copy, const cCopyRequest& request) {
    const auto drop = [&] {
        copy.file.reset();  // a file without a name vanishes with its descriptor
        if (!copy.temporary.empty()) {
            fs.RemoveAt(targetDir, copy.temporary, false);
        }
        return CopyOutcome::Failed;
    };
    if (copy.temporary.empty()) {
        const int linked = fs.LinkFileAt(*copy.file, targetDir, name);
        if (linked == 0) {
            return copy.file->Close() == 0 ? CopyOutcome::Copied : CopyOutcome::Failed;
        }
        // An entry of that name appeared meanwhile: replace it the usual way, through a temporary name.
        int error = linked == EEXIST ? EEXIST : linked;
        for (int attempt = 0; attempt < 8 && error == EEXIST; ++attempt) {
            copy.temporary = TemporaryCopyName(name);
            error = fs.LinkFileAt(*copy.file, targetDir, copy.temporary);
        }
        if (error != 0) {
            copy.temporary.clear();
            return drop();
        }
    }
    if (copy.file->Close() != 0 || (request.makeRoom && !request.makeRoom()) ||
        fs.RenameAt(targetDir, copy.temporary, targetDir, name) != 0) {
        return drop();
    }
    return CopyOutcome::Copied;
}

}  // namespace

CopyOutcome CopyEntrySafely(platform::FileSystem& fs, platform::Directory& sourceDir,
                            platform::Directory& targetDir, const std::string& name,
                            const platform::EntryInfo& info, const cCopyRequest& request) {
    if (info.Kind == platform::FileKind::SymLink) {
        return CopyLink(fs, sourceDir, targetDir, name, info, request);
    }
    std::unique_ptr<platform::ReadableFile> in;
    if (info.Kind != platform::FileKind::Regular || fs.OpenFileAt(sourceDir, name, in) != 0) {
        return CopyOutcome::Failed;
    }
    cOpenCopy copy;
    // Only the permission bits: set-id bits never travel with a backup.
    if (CreateCopy(fs, targetDir, name, info.Mode & 0777, request.targetAbsent && !request.makeRoom, copy) !=
        0) {
        return CopyOutcome::Failed;
    }
    CopyOutcome outcome = CopyBytes(fs, *in, *copy.file, info, request);
    if (outcome == CopyOutcome::Copied) {
        outcome = CheckUnchanged(*in, info);
    }
    if (outcome != CopyOutcome::Copied) {
        copy.file.reset();
        if (!copy.temporary.empty()) {
            fs.RemoveAt(targetDir, copy.temporary, false);
        }
        return outcome;
    }
    KeepMetadata(*in, *copy.file, info, request);
    if (request.keepTimes) {
        copy.file->SetTimes(info.Accessed, info.Modified);  // times that cannot be set are no reason to fail
    }
    return PutInPlace(fs, targetDir, name, copy, request);
}

CopyOutcome LinkEntrySafely(platform::FileSystem& fs, platform::Directory& partnerDir,
                            const std::string& partner, platform::Directory& targetDir,
                            const std::string& name, bool targetAbsent,
                            const std::function<bool()>& makeRoom) {
    int error = EEXIST;
    if (targetAbsent) {
        error = fs.HardLinkAt(partnerDir, partner, targetDir, name);
        if (error == 0) {
            return CopyOutcome::Copied;
        }
    }
    std::string temporary;
    for (int attempt = 0; attempt < 8 && error == EEXIST; ++attempt) {
        temporary = TemporaryCopyName(name);
        error = fs.HardLinkAt(partnerDir, partner, targetDir, temporary);
    }
    if (error != 0) {
        return CopyOutcome::Failed;
    }
    const bool renamed = (!makeRoom || makeRoom()) && fs.RenameAt(targetDir, temporary, targetDir, name) == 0;
    // A rename between two names of one file changes nothing and leaves both: the temporary name goes.
    fs.RemoveAt(targetDir, temporary, false);
    return renamed ? CopyOutcome::Copied : CopyOutcome::Failed;
}

}  // namespace trx

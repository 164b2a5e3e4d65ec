// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/SafeCopy.h"

#include "engine/ChunkSizer.h"
#include "engine/KeptMetadata.h"
#include "platform/FileSystem.h"
#include "platform/NewVersion.h"
#include "platform/TemporaryName.h"

#include <algorithm>
#include <cerrno>
#include <memory>
#include <vector>

namespace trx {

namespace {

using platform::Failure;
using platform::NewVersion;
using platform::Status;

CopyOutcome CopyLink(platform::Directory& sourceDir, platform::Directory& targetDir, const std::string& name,
                     const platform::EntryInfo& info, const cCopyRequest& request) {
    const auto target = sourceDir.ReadLink(name);
    if (!target) {
        return CopyOutcome::Failed;
    }
    const auto temporary = platform::UnderTemporaryName(
        name, [&](const std::string& candidate) { return targetDir.CreateLink(candidate, *target); });
    if (!temporary) {
        return CopyOutcome::Failed;
    }
    if (request.owner != platform::kUnchangedId || request.group != platform::kUnchangedId) {
        (void)targetDir.SetOwnerOf(*temporary, request.owner, request.group);  // a refusal is no failure
    }
    if (request.keepTimes) {
        (void)targetDir.SetLinkTimes(*temporary, info.Accessed, info.Modified);  // a failure here is no loss
    }
    if ((request.makeRoom && !request.makeRoom()) || !targetDir.Rename(*temporary, targetDir, name)) {
        (void)targetDir.Remove(*temporary, false);
        return CopyOutcome::Failed;
    }
    return CopyOutcome::Copied;
}

// Moves the bytes from `done` to `end` of a file of `size` bytes, both files at `done`. Failed when the
// file ends early (it shrank) or a call fails.
CopyOutcome CopyRange(platform::ReadableFile& in, platform::WritableFile& out, std::uint64_t done,
                      std::uint64_t end, std::uint64_t size, const cCopyRequest& request) {
    while (done < end) {
        const std::uint64_t chunk = request.chunks != nullptr ? request.chunks->Next() : kCopyChunk;
        const auto copied = out.CopyFrom(in, std::min(chunk, end - done));
        if (!copied || *copied == 0) {
            return CopyOutcome::Failed;
        }
        if (request.chunks != nullptr) {
            request.chunks->Moved(*copied);
        }
        done += *copied;
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
CopyOutcome CopyBytes(platform::ReadableFile& in, platform::WritableFile& out,
                      const platform::EntryInfo& info, const cCopyRequest& request) {
    const std::uint64_t size = info.Size;
    if (!request.keepHoles || info.Blocks * 512 >= size) {
        return CopyRange(in, out, 0, size, size, request);
    }
    std::uint64_t done = 0;
    while (done < size) {
        const auto stretch = in.NextData(done);
        if (!stretch) {
            return CopyOutcome::Failed;
        }
        if (stretch->Start >= std::min(stretch->End, size)) {
            break;  // a hole up to the end
        }
        const std::uint64_t end = std::min(stretch->End, size);
        if (!out.Seek(stretch->Start)) {
            return CopyOutcome::Failed;
        }
        if (const CopyOutcome outcome = CopyRange(in, out, stretch->Start, end, size, request);
            outcome != CopyOutcome::Copied) {
            return outcome;
        }
        done = end;
    }
    return out.SetSize(size) ? CopyOutcome::Copied : CopyOutcome::Failed;
}

// Owner, attributes and ACLs of the source, as far as the destination and the run allow; what is refused
// is no reason to fail.
void KeepMetadata(platform::ReadableFile& in, platform::WritableFile& out, const platform::EntryInfo& info,
                  const cCopyRequest& request) {
    if (request.owner != platform::kUnchangedId || request.group != platform::kUnchangedId) {
        (void)out.SetOwner(request.owner, request.group);
    }
    bool ownAcl = false;
    if (request.copyAttributes) {
        if (const auto attributes = in.ReadAttributes()) {
            for (const platform::ExtendedAttribute& attribute : *attributes) {
                if (IsCopiedAttribute(attribute.Name)) {
                    (void)out.WriteAttribute(attribute);
                    ownAcl = ownAcl || attribute.Name == kAccessAcl;
                }
            }
        }
    }
    if (request.dropInheritedAcl && !ownAcl) {
        (void)out.RemoveAttribute(std::string(kAccessAcl));
        (void)out.SetMode(KeptMode(info.Mode, info.Kind));
    }
}

bool SameTime(const platform::FileTime& a, const platform::FileTime& b) {
    return a.Seconds == b.Seconds && a.Nanoseconds == b.Nanoseconds;
}

// What the source looks like now against what the walk saw: Copied when untouched or only grown (the
// copy holds the length it had, a consistent state of a file that is being appended to).
CopyOutcome CheckUnchanged(platform::ReadableFile& in, const platform::EntryInfo& seen) {
    const auto now = in.Info();
    if (!now) {
        return CopyOutcome::Failed;
    }
    if (SameTime(now->Modified, seen.Modified) && SameTime(now->Changed, seen.Changed) &&
        now->Size == seen.Size) {
        return CopyOutcome::Copied;
    }
    return now->Size > seen.Size ? CopyOutcome::Copied : CopyOutcome::Changed;
}

}  // namespace

CopyOutcome CopyEntrySafely(platform::Directory& sourceDir, platform::Directory& targetDir,
                            const std::string& name, const platform::EntryInfo& info,
                            const cCopyRequest& request) {
    if (info.Kind == platform::FileKind::SymLink) {
        return CopyLink(sourceDir, targetDir, name, info, request);
    }
    if (info.Kind != platform::FileKind::Regular) {
        return CopyOutcome::Failed;
    }
    auto in = sourceDir.OpenFile(name);
    if (!in) {
        return CopyOutcome::Failed;
    }
    // Only the permission bits: set-id bits never travel with a backup.
    auto copy = NewVersion::Create(targetDir, name, info.Mode & 0777, platform::NewBits::Exact,
                                   request.targetAbsent && !request.makeRoom);
    if (!copy) {
        return CopyOutcome::Failed;
    }
    CopyOutcome outcome = CopyBytes(**in, copy->File(), info, request);
    if (outcome == CopyOutcome::Copied) {
        outcome = CheckUnchanged(**in, info);
    }
    if (outcome != CopyOutcome::Copied) {
        return outcome;  // the new version is dropped on the way out
    }
    KeepMetadata(**in, copy->File(), info, request);
    if (request.keepTimes) {
        (void)copy->File().SetTimes(info.Accessed, info.Modified);  // times that cannot be set are no failure
    }
    return copy->Commit(NewVersion::Durability::Ordinary, request.makeRoom) ? CopyOutcome::Copied
                                                                            : CopyOutcome::Failed;
}

CopyOutcome LinkEntrySafely(platform::Directory& partnerDir, const std::string& partner,
                            platform::Directory& targetDir, const std::string& name, bool targetAbsent,
                            const std::function<bool()>& makeRoom) {
    if (targetAbsent) {
        const Status linked = partnerDir.HardLink(partner, targetDir, name);
        if (linked) {
            return CopyOutcome::Copied;
        }
        if (linked.Error() != EEXIST) {
            return CopyOutcome::Failed;
        }
    }
    const auto temporary = platform::UnderTemporaryName(name, [&](const std::string& candidate) {
        return partnerDir.HardLink(partner, targetDir, candidate);
    });
    if (!temporary) {
        return CopyOutcome::Failed;
    }
    const bool renamed = (!makeRoom || makeRoom()) && targetDir.Rename(*temporary, targetDir, name).Ok();
    // A rename between two names of one file changes nothing and leaves both: the temporary name goes.
    (void)targetDir.Remove(*temporary, false);
    return renamed ? CopyOutcome::Copied : CopyOutcome::Failed;
}

}  // namespace trx

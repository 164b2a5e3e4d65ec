// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/TargetFolders.h"

#include "engine/DestinationRunState.h"
#include "engine/KeptMetadata.h"
#include "engine/TargetDirectory.h"
#include "platform/FileSystem.h"
#include "platform/PathText.h"

#include <cerrno>
#include <utility>

namespace trx {

namespace {

constexpr std::uint32_t kSpecialBits = 07000;

// The source folder that the target folder `name`, `up` levels above the target root, stands for; "" when
// the source path does not end in the names of the target path.
std::string AncestorPath(const std::string& sourcePath, std::size_t up, const std::string& name) {
    std::string path = sourcePath;
    for (std::size_t i = 0; i <= up; ++i) {
        while (path.size() > 1 && path.back() == '/') {
            path.pop_back();
        }
        const auto slash = path.rfind('/');
        if (slash == std::string::npos) {
            return {};
        }
        if (i == up) {
            return path.substr(slash + 1) == name ? path + "/" : std::string();
        }
        path.resize(slash + 1);
    }
    return {};
}

const platform::ExtendedAttribute* FindAttribute(const std::vector<platform::ExtendedAttribute>& attributes,
                                                 const std::string& name) {
    for (const platform::ExtendedAttribute& attribute : attributes) {
        if (attribute.Name == name) {
            return &attribute;
        }
    }
    return nullptr;
}

}  // namespace

cTargetFolders::cTargetFolders(platform::FileSystem& fs, cDestinationRunState& state, bool keepTimes)
    : fs_(fs), state_(state), keepTimes_(keepTimes) {
}

void cTargetFolders::Enter(platform::Directory& dir, const platform::EntryInfo& source, bool shared,
                           cFolderCopy& copy, cFolderReads* reads) {
    copy.Source = source;
    copy.Shared = shared;
    copy.TargetAttributes.clear();
    copy.SourceAttributes.reset();
    const auto target = reads != nullptr ? reads->Target : dir.Stat(".");
    copy.Target = target ? *target : platform::EntryInfo{};
    if (state_.Abilities.KeepsAttributes) {
        auto attributes = reads != nullptr ? std::move(reads->TargetAttributes) : dir.ReadAttributes();
        if (attributes) {
            copy.TargetAttributes = std::move(*attributes);
        }
        if (reads != nullptr) {
            copy.SourceAttributes = std::move(reads->SourceAttributes);
        }
    }
    if (!state_.Abilities.KeepsPermissions || copy.Target.Kind != platform::FileKind::Directory) {
        return;
    }
    // Never wider open than the source for group and others; the owner (the one backing up, or root)
    // keeps full access so that the run can fill the folder.
    const std::uint32_t now = copy.Target.Mode & 0777;
    const std::uint32_t closed = (now & source.Mode & 0077) | 0700;
    if (closed != now && dir.SetMode(closed | (copy.Target.Mode & kSpecialBits))) {
        copy.Target.Mode = closed | (copy.Target.Mode & kSpecialBits);
    }
}

void cTargetFolders::Finish(platform::Directory& dir, platform::Directory& sourceDir, const cFolderCopy& copy,
                            const cSubDir& node) {
    if (copy.Shared || copy.Target.Kind != platform::FileKind::Directory) {
        return;
    }
    const cDestinationAbilities& abilities = state_.Abilities;
    cOwnerChange change;
    bool changed = false;
    if (OwnerToGive(abilities, state_.Identity, copy.Source, copy.Target.Owner, copy.Target.Group, change)) {
        changed = dir.SetOwner(change.Owner, change.Group).Ok();
    }
    if (abilities.KeepsAttributes && KeepAttributes(dir, sourceDir, copy)) {
        changed = true;  // an ACL written moves the group bits: the bits are set below in any case
    }
    const std::uint32_t wanted = KeptMode(copy.Source.Mode, platform::FileKind::Directory);
    if (abilities.KeepsPermissions && (changed || (copy.Target.Mode & 07777) != wanted)) {
        (void)dir.SetMode(wanted);
    }
    if (keepTimes_) {
        // A stat costs less than a change of times, which the file system must write: most folders of a
        // run have their times already.
        const auto now = dir.Stat(".");
        if (!now || !SameTime(now->Modified, copy.Source.Modified)) {
            (void)dir.SetTimes(copy.Source.Accessed, copy.Source.Modified);
        }
        // Deletions after the walk change the folder again: its times are given back then.
        state_.FolderTimes[&node] = {copy.Source.Accessed, copy.Source.Modified};
    }
}

bool cTargetFolders::SameTime(const platform::FileTime& kept, const platform::FileTime& wanted) const {
    const std::int64_t step = state_.Abilities.TimeStepNanoseconds;
    const std::int64_t seconds = wanted.Seconds - kept.Seconds;
    if (seconds < -2 || seconds > 2) {
        return false;
    }
    const std::int64_t lost = seconds * 1'000'000'000 + (wanted.Nanoseconds - kept.Nanoseconds);
    return lost >= 0 && lost < step;
}

bool cTargetFolders::KeepAttributes(platform::Directory& dir, platform::Directory& sourceDir,
                                    const cFolderCopy& copy) {
    auto read = copy.SourceAttributes ? *copy.SourceAttributes : sourceDir.ReadAttributes();
    if (!read && read.Error() != ENOTSUP && read.Error() != EOPNOTSUPP) {
        return false;  // unknown: what the copy has stays
    }
    // Where the source's file system has none, neither has the copy.
    const std::vector<platform::ExtendedAttribute> wanted = read ? std::move(*read) : std::vector<platform::ExtendedAttribute>{};
    bool changed = false;
    for (const platform::ExtendedAttribute& attribute : wanted) {
        const platform::ExtendedAttribute* present = FindAttribute(copy.TargetAttributes, attribute.Name);
        if (IsCopiedAttribute(attribute.Name) && (present == nullptr || present->Value != attribute.Value)) {
            changed = dir.WriteAttribute(attribute).Ok() || changed;
        }
    }
    for (const platform::ExtendedAttribute& attribute : copy.TargetAttributes) {
        if (IsCopiedAttribute(attribute.Name) && FindAttribute(wanted, attribute.Name) == nullptr) {
            changed = dir.RemoveAttribute(attribute.Name).Ok() || changed;
        }
    }
    return changed;
}

std::uint32_t cTargetFolders::NewGroup(const cFolderCopy& copy) const {
    return (copy.Target.Mode & 02000) != 0 ? copy.Target.Group : state_.Identity.Group;
}

bool cTargetFolders::InheritsAcl(const cFolderCopy& copy) {
    return HasAttribute(copy.TargetAttributes, kDefaultAcl);
}

std::unique_ptr<platform::Directory> cTargetFolders::OpenTargetRoot(platform::Directory& base,
                                                                    std::string_view relativePath,
                                                                    const std::string& sourcePath) {
    if (!IsPlainRelativePath(relativePath)) {
        return nullptr;
    }
    std::vector<std::string> names;
    for (const std::string_view name : platform::PathComponents(relativePath)) {
        names.emplace_back(name);
    }
    if (names.empty()) {
        return OpenBelow(base, "");
    }
    // The folders on the way are shaped once the whole path stands: a read-only one would stop the next.
    std::vector<std::pair<std::unique_ptr<platform::Directory>, bool>> way;
    platform::Directory* at = &base;
    for (const std::string& name : names) {
        const platform::Status made = at->MakeSub(name, 0700);
        if (!made && made.Error() != EEXIST) {
            return nullptr;
        }
        auto next = at->OpenSub(name);
        if (!next) {
            return nullptr;
        }
        at = next->get();
        way.emplace_back(std::move(*next), made.Ok());
    }
    for (std::size_t i = 0; i + 1 < way.size(); ++i) {
        ShapeAncestor(*way[i].first, way[i].second, AncestorPath(sourcePath, way.size() - 1 - i, names[i]));
    }
    return std::move(way.back().first);
}

void cTargetFolders::ShapeAncestor(platform::Directory& dir, bool made, const std::string& ancestor) {
    if (ancestor.empty()) {
        return;
    }
    const auto source = fs_.OpenDirectory(ancestor);
    const auto stat = source ? (*source)->Stat(".") : platform::Result<platform::EntryInfo>(platform::Failure{source.Error()});
    if (!stat) {
        return;
    }
    const platform::EntryInfo& info = *stat;
    cFolderCopy copy;
    Enter(dir, info, !made, copy);
    if (made) {
        // It holds nothing but the next folder, which is closed until its own content is in.
        cOwnerChange change;
        if (OwnerToGive(state_.Abilities, state_.Identity, info, copy.Target.Owner, copy.Target.Group,
                        change)) {
            (void)dir.SetOwner(change.Owner, change.Group);
        }
        if (state_.Abilities.KeepsPermissions) {
            (void)dir.SetMode(KeptMode(info.Mode, platform::FileKind::Directory));
        }
    }
}

}  // namespace trx

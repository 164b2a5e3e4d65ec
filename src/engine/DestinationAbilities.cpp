// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/DestinationAbilities.h"

#include "platform/FileSystem.h"
#include "platform/TemporaryName.h"
#include "platform/Text.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

namespace trx {

namespace {

constexpr std::int64_t kSecond = 1'000'000'000;

// An odd second with a fraction that no coarser step keeps: what comes back tells the step.
constexpr platform::FileTime kProbeTime{1'000'000'001, 123'456'789};

std::int64_t StepFor(const platform::FileTime& kept) {
    const std::int64_t lost =
        (kProbeTime.Seconds - kept.Seconds) * kSecond + (kProbeTime.Nanoseconds - kept.Nanoseconds);
    for (const std::int64_t step :
         {std::int64_t{1}, std::int64_t{1'000}, std::int64_t{10'000'000}, kSecond}) {
        if (lost < step) {
            return step;
        }
    }
    return 2 * kSecond;
}

// An ACL that says no more than the bits 0640: any file system with ACLs takes it.
std::string PlainAcl() {
    const unsigned char acl[] = {2,    0, 0, 0,                           // version
                                 1,    0, 6, 0, 0xff, 0xff, 0xff, 0xff,   // owner rw-
                                 4,    0, 4, 0, 0xff, 0xff, 0xff, 0xff,   // group r--
                                 0x20, 0, 0, 0, 0xff, 0xff, 0xff, 0xff};  // others ---
    return std::string(reinterpret_cast<const char*>(acl), sizeof acl);
}

// True when `name` in `dir` exists and `test` holds for its status.
template <class Test>
bool StatHolds(platform::Directory& dir, const std::string& name, Test test) {
    const auto info = dir.Stat(name);
    return info && test(*info);
}

bool KeepsOwners(platform::WritableFile& file, platform::Directory& dir, const std::string& name,
                 const platform::ProcessIdentity& identity) {
    if (!file.SetOwner(identity.User, identity.Group)) {
        return false;
    }
    if (identity.User != 0) {
        return true;  // only groups will be tried, and a refusal of one costs nothing
    }
    // Root: an owner other than itself must read back (exFAT through FUSE refuses it).
    return file.SetOwner(1, 1) && StatHolds(dir, name, [](const platform::EntryInfo& kept) {
               return kept.Owner == 1 && kept.Group == 1;
           });
}

// True when a name ending in `tail` comes back as another name (the tail dropped) or cannot be made.
bool DropsTail(platform::Directory& dir, char tail) {
    const std::string bare = platform::TemporaryName("probe");
    const std::string name = bare + tail;
    auto file = dir.CreateFile(name, 0600, platform::NewBits::Exact);
    if (!file) {
        return false;  // refused outright: the copy of such a name fails and is reported by name
    }
    (void)(*file)->Close();
    const bool dropped = dir.Stat(bare).Ok();
    (void)dir.Remove(name, false);
    return dropped;
}

void ProbeFile(platform::Directory& dir, const std::string& name, platform::WritableFile& file,
               const platform::ProcessIdentity& identity, cDestinationAbilities& abilities) {
    abilities.KeepsPermissions =
        file.SetMode(0640) &&
        StatHolds(dir, name, [](const platform::EntryInfo& kept) { return (kept.Mode & 0777) == 0640; });
    abilities.KeepsOwners = KeepsOwners(file, dir, name, identity);
    abilities.KeepsAttributes = file.WriteAttribute({"user.trx-probe", "1"}) ||
                                file.WriteAttribute({"system.posix_acl_access", PlainAcl()});
    abilities.KeepsHoles = file.SetSize(1 << 20) && StatHolds(dir, name, [](const platform::EntryInfo& kept) {
                               return kept.Blocks * 512 < (1u << 20);
                           });
    const std::string otherCase = text::UpperCase(name);
    abilities.FoldsCase = otherCase != name && dir.Stat(otherCase).Ok();
}

}  // namespace

cDestinationAbilities ProbeDestination(platform::Directory& dir, const platform::ProcessIdentity& identity) {
    cDestinationAbilities abilities;
    // Mixed case, so that a look-up in upper case tells whether the file system folds it.
    const std::string name = platform::TemporaryName("Probe");
    auto file = dir.CreateFile(name, 0600, platform::NewBits::Exact);
    if (!file) {
        return abilities;
    }
    if ((*file)->SetTimes(kProbeTime, kProbeTime)) {
        if (const auto kept = dir.Stat(name)) {
            abilities.TimeStepNanoseconds = StepFor(kept->Modified);
            // FAT keeps two-second steps in local time; exFAT through FUSE whole seconds, and not every
            // implementation keeps the offset. Ext4 and its kind keep nanoseconds in UTC.
            abilities.LocalTimes = abilities.TimeStepNanoseconds >= kSecond;
        }
    }
    // After the times: a change of the length moves them.
    ProbeFile(dir, name, **file, identity, abilities);
    (void)(*file)->Close();
    (void)dir.Remove(name, false);

    const std::string link = platform::TemporaryName("probe");
    abilities.KeepsLinks = dir.CreateLink(link, "probe").Ok();
    if (abilities.KeepsLinks) {
        (void)dir.Remove(link, false);
    }
    abilities.DropsTrailingDots = DropsTail(dir, '.') || DropsTail(dir, ' ');
    return abilities;
}

namespace {

// Each ability with its word in the text.
struct cAbilityFlag {
    const char* Word;
    bool cDestinationAbilities::*Flag;
};
constexpr cAbilityFlag kFlags[] = {
    {"local", &cDestinationAbilities::LocalTimes},
    {"permissions", &cDestinationAbilities::KeepsPermissions},
    {"owners", &cDestinationAbilities::KeepsOwners},
    {"attributes", &cDestinationAbilities::KeepsAttributes},
    {"links", &cDestinationAbilities::KeepsLinks},
    {"holes", &cDestinationAbilities::KeepsHoles},
    {"foldscase", &cDestinationAbilities::FoldsCase},
    {"trailingdots", &cDestinationAbilities::DropsTrailingDots},
};

}  // namespace

std::string AbilitiesText(const cDestinationAbilities& abilities) {
    std::string text = "step=" + std::to_string(abilities.TimeStepNanoseconds);
    for (const cAbilityFlag& flag : kFlags) {
        text += std::string(" ") + flag.Word + "=" + (abilities.*flag.Flag ? "1" : "0");
    }
    return text;
}

cDestinationAbilities AbilitiesFromText(const std::string& text) {
    cDestinationAbilities abilities;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = std::min(text.find(' ', at), text.size());
        const std::string word = text.substr(at, end - at);
        at = end + 1;
        const auto equals = word.find('=');
        if (equals == std::string::npos) {
            continue;
        }
        const std::string key = word.substr(0, equals);
        const std::string value = word.substr(equals + 1);
        if (key == "step") {
            const long long step = std::strtoll(value.c_str(), nullptr, 10);
            abilities.TimeStepNanoseconds = step > 0 ? step : 1;
        }
        for (const cAbilityFlag& flag : kFlags) {
            if (key == flag.Word) {
                abilities.*flag.Flag = value == "1";
            }
        }
    }
    return abilities;
}

std::string MissingAbilities(const cDestinationAbilities& abilities) {
    std::vector<std::string> missing;
    if (!abilities.KeepsPermissions) {
        missing.push_back("Zugriffsrechte");
    }
    if (!abilities.KeepsOwners) {
        missing.push_back("Besitzer");
    }
    if (!abilities.KeepsAttributes) {
        missing.push_back("erweiterten Attribute samt ACLs");
    }
    if (!abilities.KeepsLinks) {
        missing.push_back("symbolische Verknüpfungen");
    }
    std::string text;
    for (std::size_t i = 0; i < missing.size(); ++i) {
        text += (i == 0 ? "" : i + 1 == missing.size() ? " und " : ", ") + missing[i];
    }
    return text;
}

}  // namespace trx

// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/DestinationAbilities.h"

#include "engine/SafeCopy.h"
#include "platform/FileSystem.h"

#include <memory>

namespace trx {

namespace {

constexpr std::int64_t kSecond = 1'000'000'000;

// An odd second with a fraction that no coarser step keeps: what comes back tells the step.
constexpr platform::FileTime kProbeTime{1'000'000'001, 123'456'789};

std::int64_t StepFor(const platform::FileTime& kept) {
    const std::int64_t lost =
        (kProbeTime.Seconds - kept.Seconds) * kSecond + (kProbeTime.Nanoseconds - kept.Nanoseconds);
    for (const std::int64_t step : {std::int64_t{1}, std::int64_t{1'000}, std::int64_t{10'000'000}, kSecond}) {
        if (lost < step) {
            return step;
        }
    }
    return 2 * kSecond;
}

}  // namespace

cDestinationAbilities ProbeDestination(platform::FileSystem& fs, platform::Directory& dir) {
    cDestinationAbilities abilities;
    const std::string name = TemporaryCopyName("probe");
    std::unique_ptr<platform::WritableFile> file;
    if (fs.CreateFileAt(dir, name, 0600, file) != 0) {
        return abilities;
    }
    const bool timesSet = file->SetTimes(kProbeTime, kProbeTime) == 0;
    file->Close();
    platform::EntryInfo kept;
    if (timesSet && fs.StatAt(dir, name, kept) == 0) {
        abilities.TimeStepNanoseconds = StepFor(kept.Modified);
        // FAT keeps two-second steps in local time; exFAT through FUSE whole seconds, and not every
        // implementation keeps the offset. Ext4 and its kind keep nanoseconds in UTC.
        abilities.LocalTimes = abilities.TimeStepNanoseconds >= kSecond;
    }
    fs.RemoveAt(dir, name, false);
    return abilities;
}

}  // namespace trx

// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/ChangeTest.h"

#include "engine/DestinationAbilities.h"
#include "platform/FileTypes.h"

#include <cstdint>
#include <limits>

namespace trx {

namespace {

constexpr std::int64_t kSecond = 1'000'000'000;
constexpr std::int64_t kHour = 3600 * kSecond;

// How much later `a` is than `b`, in nanoseconds, saturated far beyond any step that matters.
std::int64_t Later(const platform::FileTime& a, const platform::FileTime& b) {
    constexpr std::int64_t kFar = std::numeric_limits<std::int64_t>::max() / (2 * kSecond);
    const std::int64_t seconds = a.Seconds - b.Seconds;
    if (seconds > kFar || seconds < -kFar) {
        return seconds > 0 ? std::numeric_limits<std::int64_t>::max() : std::numeric_limits<std::int64_t>::min();
    }
    return seconds * kSecond + (a.Nanoseconds - b.Nanoseconds);
}

}  // namespace

bool CopyIsOutOfDate(const platform::EntryInfo& source, const platform::EntryInfo& copy,
                     const cDestinationAbilities& destination) {
    if (copy.Kind != source.Kind || copy.Size != source.Size) {
        return true;
    }
    const std::int64_t newer = Later(source.Modified, copy.Modified);
    const std::int64_t step = destination.TimeStepNanoseconds;
    if (newer < step) {
        return false;
    }
    const bool daylightSaving = destination.LocalTimes && newer > kHour - step && newer < kHour + step;
    return !daylightSaving;
}

}  // namespace trx

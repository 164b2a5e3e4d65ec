// SPDX-License-Identifier: GPL-3.0-or-later
// The change test on its own, for destinations that keep times in nanoseconds and in FAT's two-second local
// steps.
#include "engine/ChangeTest.h"
#include "engine/DestinationAbilities.h"
#include "platform/FileTypes.h"

#include <gtest/gtest.h>

namespace trx {
namespace {

using platform::EntryInfo;
using platform::FileKind;

constexpr std::int64_t kSecond = 1'000'000'000;

EntryInfo Entry(std::uint64_t size, std::int64_t seconds, long nanoseconds = 0,
                FileKind kind = FileKind::Regular) {
    EntryInfo info;
    info.Kind = kind;
    info.Size = size;
    info.Modified = {seconds, nanoseconds};
    return info;
}

TEST(ChangeTest, AnOutOfDateCopyIsOneAUserWouldCallChanged) {
    const cDestinationAbilities ext4;
    cDestinationAbilities fat;
    fat.TimeStepNanoseconds = 2 * kSecond;
    fat.LocalTimes = true;
    constexpr std::int64_t t = 1'750'000'000;
    struct Case {
        const char* what;
        EntryInfo source;
        EntryInfo copy;
        bool onExt4;
        bool onFat;
    };
    for (const Case& c : std::vector<Case>{
             {"same size and time", Entry(5, t), Entry(5, t), false, false},
             {"other size, same time", Entry(6, t), Entry(5, t), true, true},
             {"other size, copy newer", Entry(6, t), Entry(5, t + 100), true, true},
             {"same size, newer by a nanosecond", Entry(5, t, 1), Entry(5, t), true, false},
             {"same size, newer by a second", Entry(5, t + 1), Entry(5, t), true, false},
             {"same size, newer by two seconds", Entry(5, t + 2), Entry(5, t), true, true},
             {"same size, copy newer (no original times)", Entry(5, t), Entry(5, t + 500), false, false},
             {"FAT kept an odd second as the even one before", Entry(5, t + 1, 990'000'000), Entry(5, t), true,
              false},
             {"daylight saving moved the copy an hour back", Entry(5, t + 3600), Entry(5, t), true, false},
             {"daylight saving moved the copy an hour ahead", Entry(5, t), Entry(5, t + 3600), false, false},
             {"two hours are a change", Entry(5, t + 7200), Entry(5, t), true, true},
             {"a link where a file was", Entry(5, t, 0, FileKind::SymLink), Entry(5, t), true, true},
             {"far apart", Entry(5, 4'400'000'000), Entry(5, -4'400'000'000), true, true},
         }) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(CopyIsOutOfDate(c.source, c.copy, ext4), c.onExt4);
        EXPECT_EQ(CopyIsOutOfDate(c.source, c.copy, fat), c.onFat);
    }
}

}  // namespace
}  // namespace trx

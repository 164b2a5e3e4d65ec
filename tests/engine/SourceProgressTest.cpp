// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/SourceProgress.h"

#include <gtest/gtest.h>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace trx {
namespace {

// One notice to a source's progress and the amount expected after it.
struct Step {
    std::function<void(cSourceProgress&)> notice;
    std::uint64_t amount;
};

void Expect(cSourceProgress& progress, const std::vector<Step>& steps) {
    for (std::size_t i = 0; i < steps.size(); ++i) {
        steps[i].notice(progress);
        EXPECT_EQ(progress.Amount(), steps[i].amount) << "after notice " << i;
    }
}

auto Entries(int position, int count) {
    return [=](cSourceProgress& p) { p.EntriesDone(position, count); };
}
auto Started(std::uint64_t size) {
    return [=](cSourceProgress& p) { p.FileStarted(size); };
}
auto Written(std::uint64_t done) {
    return [=](cSourceProgress& p) { p.FileBytes(done); };
}
auto Counted(std::uint64_t bytes) {
    return [=](cSourceProgress& p) { p.BytesCounted(bytes); };
}
auto SubFolder() {
    return [](cSourceProgress& p) { p.EnteredSubFolder(); };
}

TEST(SourceProgressTest, CountWeightingMovesWithTheFileInsideTheShareOfItsEntry) {
    cSourceProgress progress;
    progress.Start(1000, false);
    Expect(progress,
           {
               // Before the walk has said how many entries there are, a file takes half of what is left.
               {Started(4000), 0},
               {Written(2000), 250},
               {Written(4000), 500},
               {Entries(1, 4), 500},  // the Part's share (250) is behind: no step back
               {Started(100), 500},
               {Written(50), 500},  // the second entry's share ends at 500
               {Entries(2, 4), 500},
               {Started(1000), 500},
               {Written(500), 625},
               {Written(1000), 750},  // a top-level file: its whole entry
               {Entries(3, 4), 750},
               {SubFolder(), 750},
               {Started(800), 750},
               {Written(800), 875},  // deeper down: half of the entry
               {Started(800), 875},
               {Written(400), 906},
               {Entries(4, 4), 1000},
           });
}

TEST(SourceProgressTest, SizeWeightingCountsTheBytesHandledWithoutThePartStillToBeWritten) {
    cSourceProgress progress;
    progress.Start(10'000, true);
    Expect(progress, {
                         {Counted(1000), 1000},  // files compared and not copied
                         {Started(8000), 1000},
                         {Counted(9000), 1000},  // counted in full before its copy
                         {Written(4000), 5000},
                         {Written(8000), 9000},
                         {Counted(12'000), 10'000},  // more than last time: the share is full, no further
                         {Entries(1, 1), 10'000},
                     });
    // A source that shrank still ends at its full share with its last entry.
    progress.Start(10'000, true);
    Expect(progress, {{Counted(3000), 3000}, {Entries(1, 2), 5000}, {Entries(2, 2), 10'000}});
}

TEST(SourceProgressTest, AFailedCopyLeavesNothingOutstandingOnceItsEntryIsDone) {
    cSourceProgress progress;
    progress.Start(10'000, true);
    Expect(progress, {{Started(6000), 0},
                      {Counted(6000), 0},
                      {Written(1000), 1000},
                      {Entries(1, 4), 2500},
                      {Counted(7000), 7000}});
}

TEST(SourceProgressTest, ScaledShareNeverOverflows) {
    EXPECT_EQ(ScaledShare(333, 1200, 2000), 199u);
    EXPECT_EQ(ScaledShare(6'000'000'000'000ull, 4'000'000'000ull, 9'000'000'000'000ull), 2'666'666'666u);
    EXPECT_EQ(ScaledShare(UINT64_MAX, 3, 3), UINT64_MAX);
    EXPECT_EQ(ScaledShare(5, 1, 0), 0u);
}

}  // namespace
}  // namespace trx

// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/ChunkSizer.h"

#include <gtest/gtest.h>

namespace trx {
namespace {

using namespace std::chrono_literals;

TEST(ChunkSizerTest, ChunksFollowTheRateSeenWithinTheirBounds) {
    struct Case {
        const char* what;
        std::uint64_t moved;
        std::chrono::milliseconds took;
        std::uint64_t next;
    };
    const Case cases[] = {
        {"a slow stick: the smallest chunk", 64u << 10, 1000ms, cChunkSizer::kSmallest},
        {"100 MB/s: 50 ms of it", 10'000'000, 100ms, 5'000'000},
        {"a fast disk: the largest chunk", 1u << 30, 10ms, cChunkSizer::kLargest},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::chrono::steady_clock::time_point now{};
        cChunkSizer sizer([&] { return now; });
        EXPECT_EQ(sizer.Next(), cChunkSizer::kFirst);
        now += c.took;
        sizer.Moved(c.moved);
        EXPECT_EQ(sizer.Next(), c.next);
    }
}

TEST(ChunkSizerTest, AMediumThatSlowsDownIsFollowedAtOnceAndAFilesShortTailTellsNothing) {
    std::chrono::steady_clock::time_point now{};
    cChunkSizer sizer([&] { return now; });
    sizer.Next();
    now += 10ms;
    sizer.Moved(100'000'000);  // 10 GB/s while the cache takes it
    sizer.Next();
    now += 1000ms;
    sizer.Moved(10);  // the end of a file
    EXPECT_EQ(sizer.Next(), cChunkSizer::kLargest);
    now += 1000ms;
    sizer.Moved(1'000'000);  // then 1 MB/s
    EXPECT_EQ(sizer.Next(), cChunkSizer::kSmallest);
}

}  // namespace
}  // namespace trx

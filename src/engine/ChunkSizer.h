// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>

namespace trx {

// How much the next copy chunk moves: enough for full speed, little enough that the message pump and a
// cancel come at least every 100 ms whatever the medium's speed (a USB 2 stick takes seconds for what an
// SSD moves in a blink). Each chunk aims at 50 ms of the rate the copies of a run have shown so far; the
// first, before any rate is known, is small. One sizer serves all copies into one destination.
class cChunkSizer {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    static constexpr std::uint64_t kFirst = 64u << 10;
    static constexpr std::uint64_t kSmallest = 64u << 10;
    static constexpr std::uint64_t kLargest = 8u << 20;
    static constexpr std::chrono::milliseconds kAim{50};

    explicit cChunkSizer(Clock clock = &std::chrono::steady_clock::now) : clock_(std::move(clock)) {}

    // A chunk starts now; its size.
    std::uint64_t Next();
    // The size the next chunk would have.
    std::uint64_t Current() const;
    // The chunk that started at the last Next moved `bytes`.
    void Moved(std::uint64_t bytes);

private:
    Clock clock_;
    std::chrono::steady_clock::time_point started_{};
    double bytesPerSecond_ = 0;  // 0 while unknown
};

}  // namespace trx

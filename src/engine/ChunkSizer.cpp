// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/ChunkSizer.h"

#include <algorithm>

namespace trx {

std::uint64_t cChunkSizer::Next() {
    started_ = clock_();
    return Current();
}

std::uint64_t cChunkSizer::Current() const {
    if (bytesPerSecond_ <= 0) {
        return kFirst;
    }
    const double aim = bytesPerSecond_ * std::chrono::duration<double>(kAim).count();
    return std::clamp(static_cast<std::uint64_t>(aim), kSmallest, kLargest);
}

void cChunkSizer::Moved(std::uint64_t bytes) {
    const double seconds = std::chrono::duration<double>(clock_() - started_).count();
    if (bytes < kSmallest / 2) {
        return;  // the end of a file: too short to tell a rate
    }
    const double rate = bytes / std::max(seconds, 1e-6);
    // The latest chunk counts most: a medium whose cache has filled up slows down at once.
    bytesPerSecond_ = bytesPerSecond_ <= 0 ? rate : std::min(rate, (bytesPerSecond_ + rate) / 2);
}

}  // namespace trx

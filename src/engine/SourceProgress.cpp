// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/SourceProgress.h"

#include <algorithm>

namespace trx {

std::uint64_t ScaledShare(std::uint64_t amount, std::uint64_t part, std::uint64_t whole) {
    if (whole == 0) {
        return 0;
    }
#ifdef __SIZEOF_INT128__
    __extension__ typedef unsigned __int128 Wide;
    return static_cast<std::uint64_t>(static_cast<Wide>(amount) * part / whole);
#else
    // Split so that no product exceeds whole * part, which holds for the bar widths and counts used here.
    return amount / whole * part + amount % whole * part / whole;
#endif
}

void cSourceProgress::Start(std::uint64_t weight, bool byBytes) {
    *this = cSourceProgress();
    weight_ = weight;
    byBytes_ = byBytes;
}

void cSourceProgress::EntriesDone(int position, int count) {
    if (count <= 0 || position < 0) {
        return;
    }
    position_ = std::min(position, count);
    count_ = count;
    topLevel_ = true;  // the walk is back at the top after each of its entries
    copying_ = false;  // and whatever it copied for that entry is over, complete or not
    Raise(ScaledShare(weight_, static_cast<std::uint64_t>(position_), static_cast<std::uint64_t>(count_)));
}

void cSourceProgress::BytesCounted(std::uint64_t bytes) {
    counted_ = bytes;
    if (!byBytes_) {
        return;
    }
    // The engine counts a file in full before copying it; the part still to be written is not handled yet.
    const std::uint64_t outstanding = copying_ ? fileSize_ - std::min(fileDone_, fileSize_) : 0;
    Raise(counted_ - std::min(outstanding, counted_));
}

void cSourceProgress::FileStarted(std::uint64_t size) {
    copying_ = true;
    fileSize_ = size;
    fileDone_ = 0;
    if (byBytes_) {
        return;
    }
    // A file at the top of the source is its entry; a file further down, or before the walk has said how
    // many entries there are, shares the rest of the entry with what may follow, and takes half of it.
    fileBase_ = amount_;
    const std::uint64_t end = EntryEnd();
    fileSpan_ = end > fileBase_ ? end - fileBase_ : 0;
    if (!topLevel_ || count_ == 0) {
        fileSpan_ /= 2;
    }
}

void cSourceProgress::FileBytes(std::uint64_t done) {
    fileDone_ = done;
    if (byBytes_) {
        BytesCounted(counted_);
    } else if (copying_ && fileSize_ > 0) {
        Raise(fileBase_ + ScaledShare(fileSpan_, std::min(done, fileSize_), fileSize_));
    }
    if (done >= fileSize_) {
        copying_ = false;
    }
}

void cSourceProgress::Raise(std::uint64_t candidate) {
    amount_ = std::max(amount_, std::min(candidate, weight_));
}

std::uint64_t cSourceProgress::EntryEnd() const {
    if (count_ == 0) {
        return weight_;
    }
    const auto next = static_cast<std::uint64_t>(std::min(position_ + 1, count_));
    return ScaledShare(weight_, next, static_cast<std::uint64_t>(count_));
}

}  // namespace trx

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace trx {

// floor(amount * part / whole), the product taken in 128 bits; 0 when `whole` is 0. The result must fit
// 64 bits, as it does for every share (part <= whole).
std::uint64_t ScaledShare(std::uint64_t amount, std::uint64_t part, std::uint64_t whole);

// How far the source being backed up has come, as a part of the amount it stands for on the overall bar
// (its weight). The share of its top-level entries already handled is the baseline. Where the weight is
// the source's byte total from its previous run, the bytes handled so far count as well; where it is a
// plain count, the file being copied moves the bar inside the share of the entry it belongs to, so that
// one large file never leaves the bar standing. The amount never decreases and never passes the weight.
class cSourceProgress {
public:
    // A new source; `byBytes`: the weight is a byte total from the previous run.
    void Start(std::uint64_t weight, bool byBytes);
    // The walk has handled `position` of the `count` entries at the top of the source.
    void EntriesDone(int position, int count);
    // The walk entered a folder below the top of the source.
    void EnteredSubFolder() { topLevel_ = false; }
    // Size weighting: the bytes of every file handled so far, the file being copied included in full.
    void BytesCounted(std::uint64_t bytes);
    // A copy of `size` bytes begins.
    void FileStarted(std::uint64_t size);
    // `done` bytes of the file being copied are written.
    void FileBytes(std::uint64_t done);

    std::uint64_t Amount() const { return amount_; }

private:
    void Raise(std::uint64_t candidate);
    // Count weighting: where the share of the entry being handled ends.
    std::uint64_t EntryEnd() const;

    std::uint64_t weight_ = 0;
    bool byBytes_ = false;
    std::uint64_t amount_ = 0;
    int position_ = 0;
    int count_ = 0;  // 0 until the walk first reports its top-level entries
    bool topLevel_ = true;
    std::uint64_t counted_ = 0;   // BytesCounted's last figure
    std::uint64_t fileSize_ = 0;  // the file being copied
    std::uint64_t fileDone_ = 0;
    std::uint64_t fileBase_ = 0;  // count weighting: the amount when it began
    std::uint64_t fileSpan_ = 0;  // count weighting: how much of the bar it may move
    bool copying_ = false;
};

}  // namespace trx

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace trx {

enum TimeKind { kModificationTime = 0, kCreationTime = 1 };

// Attribute bits a filter can ask for; the walk reports the same bits for every entry.
enum : std::uint8_t {
    kAttrReadOnly = 0x01,
    kAttrHidden = 0x02,
    kAttrSystem = 0x04,
    kAttrDirectory = 0x10,
    kAttrArchive = 0x20,
};

struct cDatePair {
    double LaterThan = 0.0;    // whole day number since 30 December 1899; 0 = off
    double EarlierThan = 0.0;  // likewise
};

struct cSizeLimit {
    bool Enabled = false;
    std::uint64_t Bytes = 0;
};

// One include or exclude filter. Which of the two it is stays fixed for its life, so a filter can only be
// assigned the criteria of another one, never its role.
class cFileFilter {
public:
    explicit cFileFilter(bool exclude) : Exclude(exclude) {}
    cFileFilter(const cFileFilter&) = default;
    cFileFilter& operator=(const cFileFilter&) = delete;

    // Copies every criterion of `other`, keeping this filter's role.
    void Assign(const cFileFilter& other);

    // Back to the state of a new filter of the same role.
    void Reset();

    bool operator==(const cFileFilter& other) const;

    const bool Exclude;
    bool AllNoTypes = true;
    std::uint8_t Attributes = 0;
    std::vector<std::string> Types;  // extensions with their leading dot, for example ".TXT"
    cDatePair Dates[2];              // indexed by TimeKind
    cSizeLimit Size1;                // "larger than"
    cSizeLimit Size2;                // "smaller than"
    std::string Mask;                // semicolon-separated name masks; empty = no mask test
};

}  // namespace trx

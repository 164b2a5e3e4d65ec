// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/Mask.h"

#include <string>
#include <string_view>
#include <vector>

namespace trx {

// The masks of a filter's `Mask` text, cut at every ";" (no trimming: " *.doc" needs a leading blank, an
// empty part matches nothing) and compiled once.
class cMaskList {
public:
    explicit cMaskList(std::string_view text);

    // The text it was compiled from, to notice a changed `Mask`.
    const std::string& Text() const { return text_; }

    // True when `name` matches a mask, trying them from left to right. Throws cInvalidMaskError when it
    // reaches an invalid mask before one matched, so an invalid mask behind a matching one goes unnoticed
    // for that name.
    bool Matches(std::string_view name) const;

private:
    struct Part {
        std::size_t offset;  // into text_, for the error
        std::size_t length;
        cMask mask;
    };
    std::string text_;
    std::vector<Part> parts_;
};

}  // namespace trx

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <stdexcept>
#include <string>

namespace trx {

// A name mask that cannot be compiled (an unclosed or empty set, "-" first in a set, more than 30 starred
// elements). Raised by the mask test only when a file reaches it; the destination run catches it and
// reports the source as failed.
class cInvalidMaskError : public std::runtime_error {
public:
    explicit cInvalidMaskError(const std::string& mask)
        : std::runtime_error("Invalid mask: " + mask), mask_(mask) {}

    // The one mask of the list that is invalid.
    const std::string& Mask() const { return mask_; }

private:
    std::string mask_;
};

}  // namespace trx

// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/MaskList.h"

#include "engine/InvalidMaskError.h"

#include <algorithm>

namespace trx {

cMaskList::cMaskList(std::string_view text) : text_(text) {
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = std::min(text_.find(';', start), text_.size());
        const std::string_view part = std::string_view(text_).substr(start, end - start);
        parts_.push_back({start, part.size(), cMask(part)});
        if (end == text_.size()) {
            break;
        }
        start = end + 1;
    }
}

bool cMaskList::Matches(std::string_view name) const {
    for (const Part& part : parts_) {
        if (!part.mask.Valid()) {
            throw cInvalidMaskError(text_.substr(part.offset, part.length));
        }
        // An empty part compiles to the end element alone and so matches only an empty name; names of
        // listed files are never empty.
        if (part.mask.Matches(name)) {
            return true;
        }
    }
    return false;
}

}  // namespace trx

// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/FileFilter.h"

namespace trx {

void cFileFilter::Assign(const cFileFilter& other) {
    AllNoTypes = other.AllNoTypes;
    Attributes = other.Attributes;
    Types = other.Types;
    Dates[0] = other.Dates[0];
    Dates[1] = other.Dates[1];
    Size1 = other.Size1;
    Size2 = other.Size2;
    Mask = other.Mask;
}

void cFileFilter::Reset() {
    Assign(cFileFilter(Exclude));
}

bool cFileFilter::operator==(const cFileFilter& other) const {
    const auto sameDates = [](const cDatePair& a, const cDatePair& b) {
        return a.LaterThan == b.LaterThan && a.EarlierThan == b.EarlierThan;
    };
    const auto sameSize = [](const cSizeLimit& a, const cSizeLimit& b) {
        return a.Enabled == b.Enabled && a.Bytes == b.Bytes;
    };
    return Exclude == other.Exclude && AllNoTypes == other.AllNoTypes && Attributes == other.Attributes &&
           Types == other.Types && sameDates(Dates[0], other.Dates[0]) &&
           sameDates(Dates[1], other.Dates[1]) && sameSize(Size1, other.Size1) &&
           sameSize(Size2, other.Size2) && Mask == other.Mask;
}

}  // namespace trx

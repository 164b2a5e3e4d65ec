// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/FilterCriteria.h"

#include "engine/CompiledFilters.h"

#include "engine/InvalidMaskError.h"
#include "engine/MaskList.h"
#include "platform/Text.h"


namespace trx {

namespace {

bool SameAsciiText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (text::AsciiUpper(a[i]) != text::AsciiUpper(b[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool TestTypes(const cFileFilter& filter, std::string_view extension) {
    if (filter.AllNoTypes) {
        return !filter.Exclude;
    }
    if (extension.empty()) {
        return false;
    }
    for (const std::string& type : filter.Types) {
        if (SameAsciiText(type, extension)) {
            return true;
        }
    }
    return false;
}

bool TestAttributes(const cFileFilter& filter, std::uint8_t attributes) {
    if (filter.Attributes == 0) {
        return !filter.Exclude;
    }
    return (attributes & filter.Attributes) == filter.Attributes;
}

bool MatchMaskList(const cFileFilter& filter, std::string_view name) {
    if (filter.Mask.empty()) {
        return !filter.Exclude;
    }
    return cMaskList(filter.Mask).Matches(name);
}

bool MaskMatches(std::string_view name, std::string_view mask) {
    const cMask compiled(mask);
    if (!compiled.Valid()) {
        throw cInvalidMaskError(std::string(mask));
    }
    return compiled.Matches(name);
}

bool TestDates(const cFileFilter& filter, TimeKind kind, double date) {
    const cDatePair& pair = filter.Dates[kind];
    const double later = pair.LaterThan;
    const double earlier = pair.EarlierThan;
    if (later == 0 && earlier == 0) {
        return !filter.Exclude;
    }
    if (earlier == 0) {
        return date > later;
    }
    if (later == 0) {
        return date < earlier;
    }
    if (earlier > later) {
        return date > later && date < earlier;
    }
    return date > later || date < earlier;
}

bool TestSize(const cFileFilter& filter, std::uint64_t size) {
    if (!filter.Size1.Enabled && !filter.Size2.Enabled) {
        return !filter.Exclude;
    }
    if (filter.Size1.Enabled && size <= filter.Size1.Bytes) {
        return false;
    }
    if (filter.Size2.Enabled && size >= filter.Size2.Bytes) {
        return false;
    }
    return true;
}

bool PassesNameTests(const cBackUpOptions& options, const cFileInputs& file) {
    return cCompiledFilters(options).PassesNameTests(file);
}

bool PassesDateAndSizeTests(const cBackUpOptions& options, const cFileInputs& file) {
    return cCompiledFilters(options).PassesDateAndSizeTests(file);
}

}  // namespace trx

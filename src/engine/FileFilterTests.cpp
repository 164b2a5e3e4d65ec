// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/FileFilterTests.h"

#include "engine/InvalidMaskError.h"
#include "engine/MaskList.h"

#include <array>
#include <optional>

namespace trx {

namespace {

inline char FoldAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - ('a' - 'A')) : c;
}

bool SameAsciiText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i])) {
            return false;
        }
    }
    return true;
}

// The model knows nothing of compiled masks, so they are kept here, keyed by the filter's address and
// checked against its current `Mask` text on every use: a changed text, or another filter that later
// lives at the same address, simply recompiles. The walk uses two filters at a time, so a few slots
// suffice; an evicted slot only costs a recompile.
const cMaskList& CompiledMasks(const cFileFilter& filter) {
    struct Slot {
        const cFileFilter* filter = nullptr;
        std::optional<cMaskList> masks;
    };
    thread_local std::array<Slot, 8> slots;
    thread_local std::size_t nextSlot = 0;
    for (Slot& slot : slots) {
        if (slot.filter == &filter) {
            if (slot.masks->Text() != filter.Mask) {
                slot.masks.emplace(filter.Mask);
            }
            return *slot.masks;
        }
    }
    Slot& slot = slots[nextSlot];
    nextSlot = (nextSlot + 1) % slots.size();
    slot.filter = &filter;
    slot.masks.emplace(filter.Mask);
    return *slot.masks;
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
    return CompiledMasks(filter).Matches(name);
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

bool PassesNameTests(const cFileFilter& include, const cFileFilter& exclude, const cFileInputs& file) {
    return TestTypes(include, file.Extension) && TestAttributes(include, file.Attributes) &&
           !TestTypes(exclude, file.Extension) && !TestAttributes(exclude, file.Attributes) &&
           MatchMaskList(include, file.Name) && !MatchMaskList(exclude, file.Name);
}

bool PassesNameTests(const cBackUpOptions& options, const cFileInputs& file) {
    return PassesNameTests(options.Filters[0], options.Filters[1], file);
}

bool PassesDateAndSizeTests(const cFileFilter& include, const cFileFilter& exclude, const cFileInputs& file) {
    return TestDates(include, kModificationTime, file.ModificationDate) &&
           TestDates(include, kCreationTime, file.CreationDate) &&
           !TestDates(exclude, kModificationTime, file.ModificationDate) &&
           !TestDates(exclude, kCreationTime, file.CreationDate) && TestSize(include, file.Size) &&
           !TestSize(exclude, file.Size);
}

bool PassesDateAndSizeTests(const cBackUpOptions& options, const cFileInputs& file) {
    return PassesDateAndSizeTests(options.Filters[0], options.Filters[1], file);
}

}  // namespace trx

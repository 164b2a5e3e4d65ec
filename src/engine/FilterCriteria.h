// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/FileInputs.h"
#include "model/BackUpOptions.h"
#include "model/FileFilter.h"

#include <cstdint>
#include <string_view>

// The criteria of an include or exclude filter applied to one file. Every test answers in the filter's
// role: true means "passes" for the include filter and "is excluded" for the exclude filter. A criterion
// that is not in use answers true in the include role and false in the exclude role, so it never stops a
// file.
namespace trx {

// `AllNoTypes`, or else whether `extension` (ASCII upper case, with its dot) is in `Types`, compared
// without regard to ASCII case. An empty extension is in no list.
bool TestTypes(const cFileFilter& filter, std::string_view extension);

// An `Attributes` of 0 is not in use; otherwise every bit of it must be set in `attributes`.
bool TestAttributes(const cFileFilter& filter, std::uint8_t attributes);

// Whether `name` matches one mask of `Mask` (not in use when `Mask` is empty). Throws cInvalidMaskError when
// it reaches an invalid mask. Compiles `Mask` on every call: the walk keeps a cCompiledFilters.
bool MatchMaskList(const cFileFilter& filter, std::string_view name);

// Whether `name` matches the single `mask`. Throws cInvalidMaskError for an invalid mask. Compiles on every
// call; the walk goes through MatchMaskList.
bool MaskMatches(std::string_view name, std::string_view mask);

// The date pair of `kind` against the local day number `date`; strict comparisons, a pair whose
// "earlier than" is not after its "later than" lets through the outside of the interval.
bool TestDates(const cFileFilter& filter, TimeKind kind, double date);

// `Size1` ("larger than") and `Size2` ("smaller than") together, strict; never read as an outside.
bool TestSize(const cFileFilter& filter, std::uint64_t size);

// The tests of cCompiledFilters for an option set, compiling its masks on every call (for single files; the
// walk keeps a cCompiledFilters).
bool PassesNameTests(const cBackUpOptions& options, const cFileInputs& file);
bool PassesDateAndSizeTests(const cBackUpOptions& options, const cFileInputs& file);

}  // namespace trx

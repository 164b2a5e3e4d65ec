// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/FileInputs.h"
#include "engine/MaskList.h"

namespace trx {

class cBackUpOptions;
class cFileFilter;

// The include and the exclude filter of an option set, with their masks compiled once: the walk of a
// source builds one at its start and asks it for every file. The option set must outlive it and keep its
// filters while it is used.
class cCompiledFilters {
public:
    explicit cCompiledFilters(const cBackUpOptions& options);

    // First pass of the walk, deciding the catalogue: include types, include attributes, exclude types,
    // exclude attributes, include masks, exclude masks; stops at the first that rejects the file. Throws
    // cInvalidMaskError only when the file reaches a mask test.
    bool PassesNameTests(const cFileInputs& file) const;

    // Second pass of the walk, after the change test: include dates (modification, then creation), exclude
    // dates (likewise), include size, exclude size.
    bool PassesDateAndSizeTests(const cFileInputs& file) const;

private:
    // MatchMaskList of `filter` with its masks compiled.
    static bool Matches(const cFileFilter& filter, const cMaskList& masks, std::string_view name);

    const cFileFilter& include_;
    const cFileFilter& exclude_;
    cMaskList includeMasks_;
    cMaskList excludeMasks_;
};

}  // namespace trx

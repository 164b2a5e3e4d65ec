// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/CompiledFilters.h"

#include "engine/FilterCriteria.h"
#include "model/BackUpOptions.h"

namespace trx {

cCompiledFilters::cCompiledFilters(const cBackUpOptions& options)
    : include_(options.Filters[0]),
      exclude_(options.Filters[1]),
      includeMasks_(options.Filters[0].Mask),
      excludeMasks_(options.Filters[1].Mask) {}

bool cCompiledFilters::Matches(const cFileFilter& filter, const cMaskList& masks, std::string_view name) {
    return filter.Mask.empty() ? !filter.Exclude : masks.Matches(name);
}

bool cCompiledFilters::PassesNameTests(const cFileInputs& file) const {
    return TestTypes(include_, file.Extension) && TestAttributes(include_, file.Attributes) &&
           !TestTypes(exclude_, file.Extension) && !TestAttributes(exclude_, file.Attributes) &&
           Matches(include_, includeMasks_, file.Name) && !Matches(exclude_, excludeMasks_, file.Name);
}

bool cCompiledFilters::PassesDateAndSizeTests(const cFileInputs& file) const {
    return TestDates(include_, kModificationTime, file.ModificationDate) &&
           TestDates(include_, kCreationTime, file.CreationDate) &&
           !TestDates(exclude_, kModificationTime, file.ModificationDate) &&
           !TestDates(exclude_, kCreationTime, file.CreationDate) && TestSize(include_, file.Size) &&
           !TestSize(exclude_, file.Size);
}

}  // namespace trx

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace trx {

namespace platform {
struct EntryInfo;
}
struct cDestinationAbilities;

// The test of "only new or changed files" for a source entry whose copy exists: true when the copy is out
// of date. A copy of another size or kind is always out of date; otherwise the source's modification time
// must be newer by at least the step in which the destination keeps times (on FAT, a difference of
// exactly one hour is the daylight-saving shift, not a change). A copy newer than its source with the
// same size is left alone: a run without original times gives its copies the time of the run.
bool CopyIsOutOfDate(const platform::EntryInfo& source, const platform::EntryInfo& copy,
                     const cDestinationAbilities& destination);

}  // namespace trx

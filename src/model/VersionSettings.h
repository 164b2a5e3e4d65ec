// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace trx {

// Whether a project keeps the copies its runs replace or delete, and for how long: each such copy is
// moved into the destination's versions folder instead, and removed from there when it is older than
// `Days` days or when `MaxCount` newer versions of the same file are kept (0: no such limit).
struct cVersionSettings {
    bool Keep = false;
    int Days = 30;
    int MaxCount = 0;

    // What a project gets when the user starts a new one: a mistake at the source no longer reaches the
    // only good copy on the next run. Projects saved before this setting existed stay as they were.
    static cVersionSettings ForNewProject() { return {true, 30, 0}; }

    bool operator==(const cVersionSettings&) const = default;
};

}  // namespace trx

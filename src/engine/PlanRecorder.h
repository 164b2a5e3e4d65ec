// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/RunPlan.h"
#include "platform/FileTypes.h"

#include <string>
#include <unordered_map>

namespace trx {

namespace platform {
struct EntryInfo;
}

// Writes the decisions of a run into a plan as the walk takes them, in their order: the decisions of a
// preview, which carries none of them out, and of a real run (where a test compares the two). Folders
// are kept once per source and relative path.
class cPlanRecorder {
public:
    explicit cPlanRecorder(cRunPlan& plan) : plan_(plan) {}

    // The next decisions belong to this source of this destination, whose target folder is `target` (a
    // source met again, for its comparison after the walk, is the group it was).
    void BeginGroup(const std::string& destination, const std::string& source, const std::string& target);

    // `name` in the folder `relative` ("a/b/") of the current source: a new copy, or the replacement of the
    // copy `copy` (nullptr for a new one).
    void Copy(const std::string& relative, const std::string& name, const platform::EntryInfo& source,
              const platform::EntryInfo* copy);
    // The copy `name` (a folder with everything in it when `folder`) in the target folder `targetFolder`
    // (a full path ending with "/" at or below the current source's target folder) is deleted; `modified`
    // is the time of a file's copy.
    void Delete(const std::string& targetFolder, const std::string& name, bool folder, std::uint64_t size,
                platform::FileTime modified = {});
    // The folder `path` (of the source or of its target) holds back its deletions or copies; `text` says
    // which.
    void HoldBack(const std::string& path, std::uint64_t entries, const std::string& text);
    void Problem(const std::string& text);

private:
    std::uint32_t Folder(const std::string& relative);
    // `path` relative to the current source or its target folder; "" for a path outside both.
    std::string Relative(const std::string& path) const;

    cRunPlan& plan_;
    std::uint32_t group_ = 0;
    bool grouped_ = false;
    std::unordered_map<std::string, std::uint32_t> groups_;   // by destination and source
    std::unordered_map<std::string, std::uint32_t> folders_;  // by group and relative path
};

}  // namespace trx

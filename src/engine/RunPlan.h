// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/FileTypes.h"

#include <cstdint>
#include <string>
#include <vector>

namespace trx {

// What a run decides, in the order it decides it: the plan that a preview shows and that the run carries
// out. Paths are kept once per folder, so that a plan of a million actions stays small.

// One source of one destination.
struct cPlanGroup {
    std::string Destination;  // the destination's Path
    std::string Source;       // the source's Path
    std::string Target;       // the source's target folder: Destination followed by its TargetSubPath
};

// One folder of a source (and the folder of its copies below the target folder).
struct cPlanFolder {
    std::uint32_t Group = 0;  // index into cRunPlan::Groups
    std::string Relative;     // "" or "Briefe/2025/": below the source, and likewise below the target
};

struct cPlannedAction {
    enum class Kind : std::uint8_t {
        Copy,      // a new copy
        Replace,   // a copy that is out of date is replaced
        Delete,    // a copy whose original is gone is deleted (a folder with everything in it)
        HoldBack,  // deletions or copies that wait for the user's release; Text says which
        Problem,   // something that cannot be done; Text says what
    };

    Kind What = Kind::Copy;
    bool Folder = false;       // the entry is a folder (a deleted one, or the folder held back)
    std::uint32_t Where = 0;   // index into cRunPlan::Folders
    std::string Name;          // the entry's name in that folder ("" for a whole folder or a source)
    std::uint64_t Size = 0;    // bytes of the source file (Copy, Replace), of the copy (Delete of a file),
                               // catalogued entries (HoldBack)
    platform::FileTime SourceModified;  // Copy, Replace
    platform::FileTime CopyModified;    // Replace, Delete of a file
    std::string Text;          // HoldBack, Problem: the protocol line that tells it
};

struct cRunPlan {
    std::vector<cPlanGroup> Groups;
    std::vector<cPlanFolder> Folders;
    std::vector<cPlannedAction> Actions;

    // The source entry of a Copy or Replace: the group's Source, the folder's Relative and the Name.
    std::string SourcePath(const cPlannedAction& action) const;
    // The copy that is made, replaced or deleted; for HoldBack and Problem the folder concerned.
    std::string TargetPath(const cPlannedAction& action) const;
    const cPlanGroup& GroupOf(const cPlannedAction& action) const { return Groups[Folders[action.Where].Group]; }
};

// Counts and bytes per kind of action, for one destination or for the whole plan.
struct cPlanSummary {
    std::uint64_t Copies = 0, CopyBytes = 0;
    std::uint64_t Replacements = 0, ReplaceBytes = 0;
    std::uint64_t Deletions = 0;
    std::uint64_t HeldBack = 0;  // held-back items (their catalogued entries are in the actions' Size)
    std::uint64_t Problems = 0;
};

// The summary of the actions that belong to `destination` ("" for all of them).
cPlanSummary Summarize(const cRunPlan& plan, const std::string& destination = {});

}  // namespace trx

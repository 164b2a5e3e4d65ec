// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/RunPlan.h"

namespace trx {

std::string cRunPlan::SourcePath(const cPlannedAction& action) const {
    const cPlanFolder& folder = Folders[action.Where];
    return Groups[folder.Group].Source + folder.Relative + action.Name;
}

std::string cRunPlan::TargetPath(const cPlannedAction& action) const {
    const cPlanFolder& folder = Folders[action.Where];
    std::string path = Groups[folder.Group].Target + folder.Relative + action.Name;
    if (action.Folder && !action.Name.empty()) {
        path += '/';
    }
    return path;
}

cPlanSummary Summarize(const cRunPlan& plan, const std::string& destination) {
    cPlanSummary summary;
    for (const cPlannedAction& action : plan.Actions) {
        if (!destination.empty() && plan.GroupOf(action).Destination != destination) {
            continue;
        }
        switch (action.What) {
            case cPlannedAction::Kind::Copy:
                ++summary.Copies;
                summary.CopyBytes += action.Size;
                break;
            case cPlannedAction::Kind::Replace:
                ++summary.Replacements;
                summary.ReplaceBytes += action.Size;
                break;
            case cPlannedAction::Kind::Delete:
                ++summary.Deletions;
                break;
            case cPlannedAction::Kind::HoldBack:
                ++summary.HeldBack;
                break;
            case cPlannedAction::Kind::Problem:
                ++summary.Problems;
                break;
        }
    }
    return summary;
}

}  // namespace trx

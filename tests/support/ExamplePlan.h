// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/RunPlan.h"

#include <string>

namespace trx::test {

// A plan of two destinations as a run of one source to each would decide it. The first holds every kind
// of action (a copy, a replacement of a name that is no UTF-8, a deleted folder and file, held-back
// deletions and a problem whose text holds a tab); the second one copy.
inline cRunPlan ExamplePlan() {
    using Kind = cPlannedAction::Kind;
    cRunPlan plan;
    plan.Groups = {{"/z1/", "/q/", "/z1/q/"}, {"/z2/", "/q/", "/z2/"}};
    plan.Folders = {{0, ""}, {0, "Sub/"}, {1, ""}};
    auto add = [&](Kind kind, std::uint32_t where, std::string name, std::uint64_t size,
                   std::string text = {}, bool folder = false) -> cPlannedAction& {
        cPlannedAction action;
        action.What = kind;
        action.Where = where;
        action.Name = std::move(name);
        action.Size = size;
        action.Text = std::move(text);
        action.Folder = folder;
        return plan.Actions.emplace_back(std::move(action));
    };
    add(Kind::Copy, 0, "neu.txt", 1536).SourceModified = {1'700'000'000, 0};
    cPlannedAction& replaced = add(Kind::Replace, 1, "alt\xE4.txt", 10);
    replaced.SourceModified = {1'700'000'300, 0};
    replaced.CopyModified = {1'600'000'000, 0};
    add(Kind::Delete, 1, "weg", 0, {}, true);
    add(Kind::Delete, 0, "weg.txt", 7).CopyModified = {1'500'000'000, 0};
    add(Kind::HoldBack, 1, "", 12, "12 Löschungen in \"/z1/q/Sub/\" wurden zurückgehalten.", true);
    add(Kind::Problem, 0, "", 0, "Auf \"/q/x\" kann nicht zugegriffen werden.\tFehler");
    add(Kind::Copy, 2, "b", 2048);
    return plan;
}

}  // namespace trx::test

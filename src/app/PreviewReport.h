// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/RunPlan.h"

#include <string>
#include <string_view>
#include <vector>

namespace trx {

class cTextFormats;

// The plan of a preview as standard output carries it: for people, one line per action and a summary per
// destination; for scripts, tab-separated fields. Both are UTF-8 whatever the names hold.

// `text` made safe for one line and one field: bytes that are no UTF-8 and control characters as "\xHH"
// ("\t", "\n", "\r" for those three), a backslash doubled. Nothing else changes.
std::string EscapeForReport(std::string_view text);

// The German word of an action's kind: "Kopieren", "Ersetzen", "Löschen", "Zurückgehalten", "Problem".
const char* KindWord(cPlannedAction::Kind kind);

// The destinations of the plan in the order the run reaches them, each once.
std::vector<std::string> PlanDestinations(const cRunPlan& plan);

// One line per action in the run's order, then a summary per destination.
std::string PreviewText(const cRunPlan& plan, const cTextFormats& formats);

// Five tab-separated fields per action (kind, bytes, source, copy, text), then per destination a line
// "Summe", the destination and seven numbers: files and bytes to copy, files and bytes to replace,
// entries to delete, held back, problems.
std::string PreviewTabs(const cRunPlan& plan);

// True when the plan holds work the run would not do: problems or held-back items.
bool PlanHasTrouble(const cRunPlan& plan);

}  // namespace trx

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>

namespace trx {

struct cRunResult;

// The texts with which the run window tells how a run ended. A run "had problems" when the engine
// reported any, held something back, or the project could not be saved afterwards; only a run without
// problems that was not cancelled is told as a success.
bool HadProblems(const cRunResult& result);

// The bold line of the end of the run: a success, a run with problems, or a cancelled run.
QString OutcomeHeadline(const cRunResult& result);

// The lines below it, empty for a plain success or cancel: the number of problems (not for a cancelled
// run), where to read about them, a failed save, and what was held back with its folders. Lines are separated
// by "\n"; each folder is shortened from the left to what its line leaves of `maxWidth`, measured by `width`.
QString OutcomeDetails(const cRunResult& result, const std::function<int(const QString&)>& width,
                       int maxWidth);

// The question asked before held-back work goes ahead: what will be deleted and written, with full paths;
// `fromPreview` when it was a preview that found the work, not a run that held it back.
QString ReleaseQuestion(const cRunResult& result, bool fromPreview = false);

}  // namespace trx

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

namespace trx {

struct cRunResult;

// Asks once, over `parent`, whether the work `result` held back may go ahead, naming what will be deleted
// and written (`fromPreview`: found by a preview, not held back by a run). Only a click on "Ausführen"
// says yes: Enter and Escape keep everything.
bool ConfirmRelease(QWidget& parent, const cRunResult& result, bool fromPreview = false);

}  // namespace trx

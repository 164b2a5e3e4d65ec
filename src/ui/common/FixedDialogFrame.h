// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

namespace trx {

// The frame of a dialog whose size is fixed: title, window menu and close button, and no maximise button,
// which could do nothing. `minimise` keeps a minimise button (the run window, which may be put aside
// during a long run).
void UseFixedDialogFrame(QWidget& dialog, bool minimise = false);

}  // namespace trx

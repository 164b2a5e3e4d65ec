// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

namespace trx {

// Moves the top-level `window`, frame included, to the centre of its screen's available area; a window
// without a screen stays where it is.
void CentreOnScreen(QWidget& window);

}  // namespace trx

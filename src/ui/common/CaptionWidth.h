// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QMessageBox;
class QWidget;

namespace trx {

// The width a window needs so that the window manager shows its whole caption: the caption in the
// desktop's title font (bold, as most title bars draw it) and room for the window icon and the buttons
// beside it.
int CaptionWidth(const QWidget& window);

// Widens a message box to CaptionWidth. A message box sizes itself to its text and would otherwise leave
// a long caption cut short ("Ungültige oder u…tändige Angaben").
void FitCaption(QMessageBox& box);

// Makes a message box at least `width` pixels wide, for lines (such as paths) that read badly wrapped.
void WidenTo(QMessageBox& box, int width);

}  // namespace trx

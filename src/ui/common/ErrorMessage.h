// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

namespace trx {

// Appends "." when the last character sorts after "." in code order (letters and digits do; "!" and "."
// do not), so that error texts read as sentences.
QString WithFullStop(const QString& message);

// Shows `message` (with its full stop) in an error box captioned with the program's title. Where no
// display is available nobody could answer a box: the text goes to standard error instead.
void ShowErrorMessage(QWidget* parent, const QString& message);

}  // namespace trx

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace trx {

// Splits a command line into items the way a comma-separated text list is read: blanks and control
// characters before and after an item are skipped; an item that starts with a double quote runs to the
// next lone double quote (two double quotes inside stand for one, the quotes go, an unclosed quote runs
// to the end); any other item runs up to the next comma, blank or control character. One comma separates
// two items, and a comma as the very last character adds an empty item. A NUL character ends the text.
QStringList SplitCommaText(const QString& text);

// The items joined with one blank between them; an item holding a blank, a double quote or a control
// character is put in double quotes with its double quotes doubled.
QString ParameterText(const QStringList& items);

}  // namespace trx

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace trx {

// Splits the line typed into "Dateitypen hinzufügen" into parts: ";" and every blank or control
// character separate; blanks before and after a part are skipped; a part that begins with a double quote
// runs to the matching quote, may hold blanks and ";", and a doubled quote inside stands for one; two
// separators in a row or a ";" at the very end give an empty part. "txt; .Doc;;htm" gives txt, .Doc, ""
// and htm.
QStringList SplitExtensionInput(const QString& line);

// The extension a part makes: one leading "." removed and ASCII letters upper-cased (other letters stay,
// as the filter compares extensions in ASCII only). Empty when the part is empty.
QString ExtensionFromPart(const QString& part);

// Whether two extensions are the same when ASCII letters are compared without regard to case.
bool SameExtension(const QString& a, const QString& b);

}  // namespace trx

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace trx {

// The rules of systemd's unit files that the schedules follow.

// `path` as systemd puts a path into a unit name (systemd-escape --path): the slashes at its ends dropped,
// every other slash a "-", and every byte of its UTF-8 form other than ASCII letters, digits, ":", "_"
// and "." (and a "." at the start) written as "\xNN"; "-" for the root. So two paths never give the same
// name.
QString EscapeUnitNamePath(const QString& path);

// One word of a command line (ExecStart=) in double quotes: "\" and the quote escaped, control characters
// in C form, "%" doubled (it would start a specifier) and, except in the program's path, which systemd
// takes literally, "$" doubled (it would start a variable).
QString QuoteCommandWord(const QString& word, bool isProgram);
// The words of a command line as QuoteCommandWord writes them (and plain words), as the program gets them.
QStringList SplitCommandLine(const QString& value);

// A text that is only shown (Description=): control characters left out, "%" doubled, no backslash at
// its end (it would continue the line).
QString UnitTextValue(const QString& text);

// Any text as one line that comes back exactly: "\" and control characters in C form.
QString EscapeUnitValue(const QString& text);
QString UnescapeUnitValue(const QString& value);

// One setting of a unit file.
struct cUnitSetting {
    QString Section;  // "Unit", "Service", ...
    QString Key;
    QString Value;
};

// The settings of a unit file's text in their order: comments and blank lines skipped, continued lines
// joined as systemd joins them.
QList<cUnitSetting> ParseUnitText(const QByteArray& text);
// The value of the last setting `key` in `section`; "" when there is none.
QString UnitValue(const QList<cUnitSetting>& settings, const QString& section, const QString& key);

}  // namespace trx

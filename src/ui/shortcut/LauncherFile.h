// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace trx {

// The parts of a freedesktop launcher (".desktop" file) that a shortcut carries.
struct cLauncher {
    QString Name;
    QString Comment;
    // The program followed by its arguments, exactly as the started process receives them.
    QStringList Exec;
    QString Icon;
};

// The text of an application launcher for `launcher`. Exec is quoted and escaped so that a desktop that
// follows the launcher rules hands every item over unchanged. False, and `text` untouched, when an item
// of Exec holds a control character other than tab, line feed or carriage return: no launcher can carry
// it. Control characters in the other fields are left out (they are only shown).
bool FormatLauncher(const cLauncher& launcher, QByteArray& text);

// Reads the group "Desktop Entry" of a launcher's text: Name, Comment and Icon unescaped, Exec unescaped,
// unquoted and with its field codes expanded as if no files were handed over (%k becomes `location`).
// Also takes launchers other programs wrote. False when the text has no such group.
bool ParseLauncher(const QByteArray& text, const QString& location, cLauncher& launcher);

}  // namespace trx

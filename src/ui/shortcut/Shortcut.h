// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace trx {

namespace platform {
class FileSystem;
}

// Shortcut files are freedesktop launchers: the suffix of their names.
inline const QString kShortcutSuffix = QStringLiteral(".desktop");

// The name under which the program's icon is installed into the icon theme.
inline const QString kProgramIconName = QStringLiteral("tresorix");

// `item` in double quotes with each double quote inside doubled, as an argument string carries it; the
// comma-text split gives it back unchanged, blanks, commas and quotes included.
QString QuotedArgument(const QString& item);

// The argument string for the items a launcher hands to the program, in the form the shortcut dialog
// composes: the first item (the project) and the item after "/a" (the command line) in double quotes,
// every other item only when the comma-text split needs it.
QString ShortcutArguments(const QStringList& items);

// Writes the launcher `linkFile` that starts `target` with `arguments` (an argument string as the
// shortcut dialog composes it; the comma-text split gives the items) and shows `description`. An empty
// `iconPath` gives the program's own icon; the index has no meaning for launchers. The file is written
// beside its final name and renamed over it, so an existing launcher stays whole when writing fails; it
// gets its execute bits. Returns false on failure and puts the reason into `failure` when given.
// Called by the shortcut dialog's "OK".
bool CreateShortcut(platform::FileSystem& fs, const QString& target, const QString& linkFile,
                    const QString& arguments, const QString& description, const QString& iconPath,
                    int iconIndex, QString* failure = nullptr);

// Reads the parts the caller gives a place for from the launcher `linkFile`: the program, the argument
// string (as the shortcut dialog composed it: the comma-text split gives the items the program would
// get), the description (Comment), the icon and index 0. Returns false, with every requested part
// emptied, when the file cannot be read or is no launcher. Used for shortcuts dropped onto the main window.
bool ReadShortcut(platform::FileSystem& fs, const QString& linkFile, QString* target, QString* arguments,
                  QString* description = nullptr, QString* iconPath = nullptr, int* iconIndex = nullptr);

}  // namespace trx

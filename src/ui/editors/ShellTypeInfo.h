// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QString>

namespace trx {

// What the desktop shows for files of one extension.
struct cShellTypeInfo {
    QString TypeName;  // the type's description in the user's language
    QIcon Icon;        // its small icon
};

// Looks a file name ending in "." + `extension` up in the MIME database by name only (the disk is never
// touched):
// the type's comment and its theme icon, else the theme's generic icon for it, else the style's file
// icon. An unknown extension gets what the database gives every unknown file.
cShellTypeInfo LookUpShellTypeInfo(const QString& extension);

}  // namespace trx

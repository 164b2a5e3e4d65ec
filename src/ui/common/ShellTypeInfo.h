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

}  // namespace trx

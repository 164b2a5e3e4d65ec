// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/editors/ShellTypeInfo.h"

#include <QApplication>
#include <QMimeDatabase>
#include <QStyle>

namespace trx {

cShellTypeInfo LookUpShellTypeInfo(const QString& extension) {
    const QMimeDatabase database;
    // The database passes over names that begin with a dot, so the extension gets a neutral stem.
    const QMimeType type =
        database.mimeTypeForFile(QStringLiteral("datei.") + extension, QMimeDatabase::MatchExtension);
    const QIcon fallback = QApplication::style()->standardIcon(QStyle::SP_FileIcon);
    return {type.comment(),
            QIcon::fromTheme(type.iconName(), QIcon::fromTheme(type.genericIconName(), fallback))};
}

}  // namespace trx

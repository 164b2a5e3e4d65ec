// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/common/QtDesktopServices.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QStyle>
#include <QUrl>
#include <cstdlib>

namespace trx {

void cQtDesktopServices::OpenUrl(const QUrl& url) {
    QDesktopServices::openUrl(url);
}

QIcon cQtDesktopServices::ShellIcon(const QString& path) {
    const QFileInfo info(path);
    if (!info.isDir()) {
        return {};
    }
    return QFileIconProvider().icon(info);
}

cShellTypeInfo cQtDesktopServices::ShellTypeInfo(const QString& extension) {
    const QMimeDatabase database;
    // The database passes over names that begin with a dot, so the extension gets a neutral stem.
    const QMimeType type =
        database.mimeTypeForFile(QStringLiteral("datei.") + extension, QMimeDatabase::MatchExtension);
    const QIcon fallback = QApplication::style()->standardIcon(QStyle::SP_FileIcon);
    return {type.comment(),
            QIcon::fromTheme(type.iconName(), QIcon::fromTheme(type.genericIconName(), fallback))};
}

void cQtDesktopServices::EndProcess(int status) {
    std::exit(status);
}

}  // namespace trx

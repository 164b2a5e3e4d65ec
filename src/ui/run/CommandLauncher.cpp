// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/run/CommandLauncher.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace trx {

QString cDesktopCommandLauncher::ExecutableFor(const QString& item) {
    if (item.isEmpty()) {
        return {};
    }
    if (item.contains(QLatin1Char('/'))) {
        const QFileInfo file(item);
        return file.isFile() && file.isExecutable() ? file.absoluteFilePath() : QString();
    }
    return QStandardPaths::findExecutable(item);
}

bool cDesktopCommandLauncher::Open(const QString& item, const QStringList& arguments) {
    if (item.isEmpty()) {
        return false;
    }
    const QString program = ExecutableFor(item);
    if (!program.isEmpty()) {
        return QProcess::startDetached(program, arguments, QDir::currentPath());
    }
    const QUrl url = QFileInfo::exists(item) ? QUrl::fromLocalFile(QFileInfo(item).absoluteFilePath())
                                             : QUrl::fromUserInput(item, QDir::currentPath());
    return url.isValid() && QDesktopServices::openUrl(url);
}

}  // namespace trx

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/common/MinimizeName.h"

#include <QFontMetrics>

namespace trx {

namespace {

const QString kSeparator = QStringLiteral("/");
const QString kCut = QStringLiteral(".../");
const QString kRootCut = QStringLiteral("/.../");

// Replaces the first directory name of `dir` with ".../"; a directory part that has no further name
// becomes empty. A leading separator (an absolute path) stays in front.
void CutFirstDirectory(QString& dir) {
    if (dir == kSeparator) {
        dir.clear();
        return;
    }
    const bool root = dir.startsWith(kSeparator);
    if (root) {
        dir.remove(0, 1);
    }
    if (dir.startsWith(kCut)) {
        dir.remove(0, kCut.size());
    }
    const qsizetype separator = dir.indexOf(kSeparator);
    if (separator >= 0) {
        dir = kCut + dir.mid(separator + 1);
    } else {
        dir.clear();
    }
    if (root) {
        dir.prepend(kSeparator);
    }
}

}  // namespace

QString MinimizeName(const QString& path, const std::function<int(const QString&)>& width, int maxWidth) {
    QString result = path;
    const qsizetype lastSeparator = path.lastIndexOf(kSeparator);
    QString dir = path.left(lastSeparator + 1);
    const QString name = path.mid(lastSeparator + 1);
    QString drive;
    if (dir.size() >= 2 && dir[1] == QLatin1Char(':')) {
        drive = dir.left(2);
        dir.remove(0, 2);
    }
    while ((!dir.isEmpty() || !drive.isEmpty()) && width(result) > maxWidth) {
        if (dir == kRootCut) {
            drive.clear();
            dir = kCut;
        } else if (dir.isEmpty()) {
            drive.clear();
        } else {
            CutFirstDirectory(dir);
        }
        result = drive + dir + name;
    }
    return result;
}

QString MinimizeName(const QString& path, const QFontMetrics& metrics, int maxWidth) {
    return MinimizeName(
        path, [&metrics](const QString& text) { return metrics.horizontalAdvance(text); }, maxWidth);
}

}  // namespace trx

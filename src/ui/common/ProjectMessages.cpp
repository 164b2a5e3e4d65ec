// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/common/ProjectMessages.h"

namespace trx {

namespace {

QString ProjectFailure(const QString& path, const QString& what, const QString& detail) {
    const QString sentence = QStringLiteral("Das Projekt »%1« kann nicht %2 werden").arg(path, what);
    return detail.isEmpty() ? sentence : sentence + QStringLiteral(": ") + detail;
}

}  // namespace

QString ProjectLoadFailure(const QString& path, const QString& detail) {
    return ProjectFailure(path, QStringLiteral("geladen"), detail);
}

QString ProjectSaveFailure(const QString& path, const QString& detail) {
    return ProjectFailure(path, QStringLiteral("gespeichert"), detail);
}

}  // namespace trx

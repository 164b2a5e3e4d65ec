// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/common/ProjectMessages.h"

#include "model/ProjectFile.h"
#include "ui/common/ModelText.h"

#include <exception>

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

bool LoadProjectOfStart(cProject& project, const std::string& path, platform::FileSystem& fs,
                        QString& failure) {
    QString detail;
    try {
        LoadProject(project, path, fs);
        return true;
    } catch (const std::exception& error) {
        detail = QString::fromUtf8(error.what());
    } catch (...) {
    }
    failure = ProjectLoadFailure(FromModel(path), detail);
    return false;
}

}  // namespace trx

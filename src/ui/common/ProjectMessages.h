// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <string>

namespace trx {

namespace platform {
class FileSystem;
}
class cProject;

// „Das Projekt »/pfad/Täglich.buf« kann nicht geladen werden: Stream read error" — which project, what
// failed, and the reader's own detail unchanged (none when it gave none). Without the full stop, which
// the message box adds.
QString ProjectLoadFailure(const QString& path, const QString& detail);

// The same for a project that could not be written.
QString ProjectSaveFailure(const QString& path, const QString& detail);

// Loads the project `path` of a start from the command line; false with the ProjectLoadFailure text in
// `failure` (for a message box or standard error, as the start needs).
bool LoadProjectOfStart(cProject& project, const std::string& path, platform::FileSystem& fs,
                        QString& failure);

}  // namespace trx

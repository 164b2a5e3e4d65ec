// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace trx {

// „Das Projekt »/pfad/Täglich.buf« kann nicht geladen werden: Stream read error" — which project, what
// failed, and the reader's own detail unchanged (none when it gave none). Without the full stop, which
// the message box adds.
QString ProjectLoadFailure(const QString& path, const QString& detail);

// The same for a project that could not be written.
QString ProjectSaveFailure(const QString& path, const QString& detail);

}  // namespace trx

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/run/Notice.h"

#include <optional>

namespace trx {

struct cRunResult;

// The notice for how an unattended run of the project `projectPath` ended, or none for a run that
// completed without problems and held nothing back, unless `always` asks for one after every run.
// `protocolPath` is the run's protocol file, "" when there is none to show.
std::optional<cNotice> RunNotice(const cRunResult& result, const QString& projectPath,
                                 const QString& protocolPath, bool always);

// The notice for an unattended start whose project could not be loaded; `message` says why.
cNotice LoadFailureNotice(const QString& projectPath, const QString& message);

// The project's name in notices: its file name without the extension.
QString ProjectDisplayName(const QString& projectPath);

}  // namespace trx

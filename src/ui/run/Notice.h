// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace trx {

// What a desktop notification about a run says.
struct cNotice {
    QString Summary;
    QString Body;
    bool Critical = false;  // the run needs the user: problems, held-back work, no run at all
    QString ProtocolPath;   // offered as "Protokoll anzeigen" when not empty
};

// The notice as the arguments of the helper process that shows it (after the helper switch), and back.
QStringList NoticeArguments(const cNotice& notice);
std::optional<cNotice> NoticeFromArguments(const QStringList& arguments);

}  // namespace trx

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/run/Notice.h"

namespace trx {

namespace {
const QString kCritical = QStringLiteral("critical");
const QString kNormal = QStringLiteral("normal");
}  // namespace

QStringList NoticeArguments(const cNotice& notice) {
    return {notice.Critical ? kCritical : kNormal, notice.Summary, notice.Body, notice.ProtocolPath};
}

std::optional<cNotice> NoticeFromArguments(const QStringList& arguments) {
    if (arguments.size() != 4 || (arguments[0] != kCritical && arguments[0] != kNormal) ||
        arguments[1].isEmpty()) {
        return std::nullopt;
    }
    return cNotice{arguments[1], arguments[2], arguments[0] == kCritical, arguments[3]};
}

}  // namespace trx

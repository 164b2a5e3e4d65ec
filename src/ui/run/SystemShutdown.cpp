// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/run/SystemShutdown.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>

namespace trx {

cLogindShutdown::cLogindShutdown(QString connectionName) : connectionName_(std::move(connectionName)) {
}

bool cLogindShutdown::RequestPowerOff() {
    QDBusConnection bus =
        connectionName_.isEmpty() ? QDBusConnection::systemBus() : QDBusConnection(connectionName_);
    if (!bus.isConnected()) {
        return false;
    }
    const QDBusMessage ask =
        QDBusMessage::createMethodCall(QString::fromLatin1(kService), QString::fromLatin1(kPath),
                                       QString::fromLatin1(kInterface), QStringLiteral("CanPowerOff"));
    const QDBusReply<QString> answer = bus.call(ask);
    if (!answer.isValid() || answer.value() != QStringLiteral("yes")) {
        return false;
    }
    QDBusMessage powerOff =
        QDBusMessage::createMethodCall(QString::fromLatin1(kService), QString::fromLatin1(kPath),
                                       QString::fromLatin1(kInterface), QStringLiteral("PowerOff"));
    powerOff << false;  // not interactive: nobody may be there to answer a question
    bus.call(powerOff);
    return true;
}

}  // namespace trx

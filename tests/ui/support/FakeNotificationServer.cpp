// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeNotificationServer.h"

#include "PrivateBus.h"

#include <QDBusArgument>
#include <atomic>

namespace trx::test {

FakeNotificationServer::FakeNotificationServer(const QStringList& capabilities) {
    Script(QStringLiteral("GetCapabilities"),
           [capabilities](const QDBusMessage& call) { return call.createReply(capabilities); });
    auto next = std::make_shared<std::atomic<uint>>(1);
    Script(QStringLiteral("Notify"),
           [next](const QDBusMessage& call) { return call.createReply(next->fetch_add(1)); });
}

QList<FakeNotificationServer::cShown> FakeNotificationServer::Shown() const {
    QList<cShown> shown;
    for (const QDBusMessage& call : Calls(QStringLiteral("Notify"))) {
        const QList<QVariant> a = call.arguments();
        if (a.size() != 8) {
            continue;
        }
        cShown notice{a[0].toString(),
                      a[1].toUInt(),
                      a[2].toString(),
                      a[3].toString(),
                      a[4].toString(),
                      a[5].toStringList(),
                      {},
                      a[7].toInt()};
        if (a[6].canConvert<QDBusArgument>()) {
            a[6].value<QDBusArgument>() >> notice.Hints;
        } else {
            notice.Hints = a[6].toMap();
        }
        shown.append(notice);
    }
    return shown;
}

bool FakeNotificationServer::Invoke(PrivateBus& bus, uint id, const QString& action) {
    QDBusMessage signal = QDBusMessage::createSignal(
        QString::fromLatin1(kPath), QString::fromLatin1(kService), QStringLiteral("ActionInvoked"));
    signal << id << action;
    return bus.Emit(QString::fromLatin1(kService), signal);
}

bool FakeNotificationServer::Close(PrivateBus& bus, uint id, uint reason) {
    QDBusMessage signal = QDBusMessage::createSignal(
        QString::fromLatin1(kPath), QString::fromLatin1(kService), QStringLiteral("NotificationClosed"));
    signal << id << reason;
    return bus.Emit(QString::fromLatin1(kService), signal);
}

}  // namespace trx::test

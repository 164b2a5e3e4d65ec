// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/run/SleepInhibitor.h"

#include "ui/run/SystemShutdown.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>

namespace trx {

namespace {
// A login manager that does not answer must not hold up the start of a run for long.
constexpr int kCallTimeoutMs = 5000;
}  // namespace

cLogindSleepInhibitor::cLogindSleepInhibitor(QString connectionName)
    : connectionName_(std::move(connectionName)) {
}

cLogindSleepInhibitor::~cLogindSleepInhibitor() {
    Release();
}

bool cLogindSleepInhibitor::Acquire(const QString& reason) {
    Release();
    QDBusConnection bus =
        connectionName_.isEmpty() ? QDBusConnection::systemBus() : QDBusConnection(connectionName_);
    if (!bus.isConnected()) {
        return false;
    }
    QDBusMessage inhibit = QDBusMessage::createMethodCall(
        QString::fromLatin1(cLogindShutdown::kService), QString::fromLatin1(cLogindShutdown::kPath),
        QString::fromLatin1(cLogindShutdown::kInterface), QStringLiteral("Inhibit"));
    inhibit << QStringLiteral("sleep:idle") << QString::fromLatin1(kWho) << reason << QStringLiteral("block");
    const QDBusReply<QDBusUnixFileDescriptor> answer = bus.call(inhibit, QDBus::Block, kCallTimeoutMs);
    if (!answer.isValid() || !answer.value().isValid()) {
        return false;
    }
    held_ = answer.value();
    return true;
}

void cLogindSleepInhibitor::Release() {
    held_ = QDBusUnixFileDescriptor();  // closes the descriptor: logind lets go of the inhibitor
}

}  // namespace trx

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusConnection>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>

namespace trx::test {

class FakeService;

// A message bus of the test's own (dbus-daemon on a private address): stand-in services are offered
// there and the code under test is pointed at it, so that no test ever reaches the session or system bus
// of the machine. It starts no service by activation, so that a name nobody offers stays unanswered
// instead of starting the machine's real service. Without dbus-daemon the bus is not started and the
// test skips.
class PrivateBus {
public:
    PrivateBus();
    ~PrivateBus();
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    bool Started() const { return !address_.isEmpty(); }
    const QString& Address() const { return address_; }

    // A connection of the code under test to this bus under `name` (QDBusConnection(name) finds it).
    bool Connect(const QString& name);
    // Offers `service` under the well-known `serviceName` at `path`. It answers on a thread of the bus's
    // own, so that calls the code under test makes while it blocks this thread are answered. The service
    // must outlive the bus.
    bool Offer(FakeService& service, const QString& serviceName, const QString& path);
    // Sends `signal` from the connection that owns `serviceName`.
    bool Emit(const QString& serviceName, const QDBusMessage& signal);

private:
    QTemporaryDir folder_;
    QProcess daemon_;
    QString address_;
    QThread thread_;
    QStringList connections_;
    QList<QPair<QString, QString>> objects_;  // connection, path
};

#define TRX_REQUIRE_PRIVATE_BUS(bus)               \
    do {                                           \
        if (!(bus).Started()) {                    \
            QSKIP("dbus-daemon is not installed"); \
        }                                          \
    } while (false)

}  // namespace trx::test

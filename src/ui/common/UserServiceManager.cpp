// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/common/UserServiceManager.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVariant>
#include <QList>

namespace trx::detail {

// One property of a unit as the manager takes it when it creates a unit ("(sv)").
struct cUnitProperty {
    QString Name;
    QDBusVariant Value;
};

// A unit created beside the requested one ("(sa(sv))"); none is asked for, but the call carries the list.
struct cAuxiliaryUnit {
    QString Name;
    QList<cUnitProperty> Properties;
};

}  // namespace trx::detail

Q_DECLARE_METATYPE(trx::detail::cUnitProperty)
Q_DECLARE_METATYPE(trx::detail::cAuxiliaryUnit)

namespace trx::detail {

QDBusArgument& operator<<(QDBusArgument& argument, const cUnitProperty& property) {
    argument.beginStructure();
    argument << property.Name << property.Value;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, cUnitProperty& property) {
    argument.beginStructure();
    argument >> property.Name >> property.Value;
    argument.endStructure();
    return argument;
}

QDBusArgument& operator<<(QDBusArgument& argument, const cAuxiliaryUnit& unit) {
    argument.beginStructure();
    argument << unit.Name << unit.Properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, cAuxiliaryUnit& unit) {
    argument.beginStructure();
    argument >> unit.Name >> unit.Properties;
    argument.endStructure();
    return argument;
}

}  // namespace trx::detail

namespace trx {

namespace {

// Reloading and stopping wait for the manager; a hung manager must not freeze the window for long.
constexpr int kCallTimeoutMs = 30000;
// The end of a run waits for this one; a manager busy shutting down must not hold up its exit.
constexpr int kScopeTimeoutMs = 5000;

void RegisterTypes() {
    static const bool registered = [] {
        qDBusRegisterMetaType<detail::cUnitProperty>();
        qDBusRegisterMetaType<QList<detail::cUnitProperty>>();
        qDBusRegisterMetaType<detail::cAuxiliaryUnit>();
        qDBusRegisterMetaType<QList<detail::cAuxiliaryUnit>>();
        return true;
    }();
    (void)registered;
}

QDBusMessage Call(const char* method) {
    return QDBusMessage::createMethodCall(
        QString::fromLatin1(cSystemdUserManager::kService), QString::fromLatin1(cSystemdUserManager::kPath),
        QString::fromLatin1(cSystemdUserManager::kInterface), QString::fromLatin1(method));
}

bool Send(const QString& connectionName, const QDBusMessage& call, QString& failure,
          int timeoutMs = kCallTimeoutMs) {
    QDBusConnection bus =
        connectionName.isEmpty() ? QDBusConnection::sessionBus() : QDBusConnection(connectionName);
    if (!bus.isConnected()) {
        failure = QStringLiteral("Der Sitzungsbus (D-Bus) ist nicht erreichbar.");
        return false;
    }
    const QDBusMessage reply = bus.call(call, QDBus::Block, timeoutMs);
    if (reply.type() != QDBusMessage::ErrorMessage) {
        return true;
    }
    const QString name = reply.errorName();
    // No manager on the bus, or the bus could not start one (a system without systemd).
    if (name == QStringLiteral("org.freedesktop.DBus.Error.ServiceUnknown") ||
        name == QStringLiteral("org.freedesktop.DBus.Error.NameHasNoOwner") ||
        name.startsWith(QStringLiteral("org.freedesktop.DBus.Error.Spawn."))) {
        failure = QStringLiteral("Der Dienstverwalter des Benutzers (systemd --user) ist nicht erreichbar.");
    } else {
        failure = reply.errorMessage().isEmpty() ? name : reply.errorMessage();
    }
    return false;
}

}  // namespace

cSystemdUserManager::cSystemdUserManager(QString connectionName)
    : connectionName_(std::move(connectionName)) {
}

bool cSystemdUserManager::Reload(QString& failure) {
    return Send(connectionName_, Call("Reload"), failure);
}

bool cSystemdUserManager::EnableTimer(const QString& unit, QString& failure) {
    QDBusMessage enable = Call("EnableUnitFiles");
    enable << QStringList{unit} << false << true;  // persistent, replacing links of an earlier version
    QDBusMessage restart = Call("RestartUnit");
    restart << unit << QStringLiteral("replace");
    return Send(connectionName_, enable, failure) && Send(connectionName_, restart, failure);
}

bool cSystemdUserManager::DisableTimer(const QString& unit, QString& failure) {
    QDBusMessage stop = Call("StopUnit");
    stop << unit << QStringLiteral("replace");
    QDBusMessage disable = Call("DisableUnitFiles");
    disable << QStringList{unit} << false;
    // A timer the manager no longer knows cannot be stopped, yet its links must still go.
    QString stopFailure;
    Send(connectionName_, stop, stopFailure);
    return Send(connectionName_, disable, failure);
}

bool cSystemdUserManager::MoveIntoScope(const QString& scope, qint64 pid, QString& failure) {
    RegisterTypes();
    const QList<detail::cUnitProperty> properties{
        {QStringLiteral("Description"), QDBusVariant(QStringLiteral("Tresorix: Benachrichtigung"))},
        {QStringLiteral("PIDs"), QDBusVariant(QVariant::fromValue(QList<uint>{static_cast<uint>(pid)}))},
        // Gone from the manager's list once it ends, also when it ended badly.
        {QStringLiteral("CollectMode"), QDBusVariant(QStringLiteral("inactive-or-failed"))},
    };
    QDBusMessage start = Call("StartTransientUnit");
    start << scope << QStringLiteral("fail") << QVariant::fromValue(properties)
          << QVariant::fromValue(QList<detail::cAuxiliaryUnit>());
    return Send(connectionName_, start, failure, kScopeTimeoutMs);
}

}  // namespace trx

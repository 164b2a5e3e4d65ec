// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace trx {

// The user's own service manager (systemd --user): timers of the schedules and the scope that lets a
// helper process outlive the service it was started from. The windows and start-up talk only to this
// interface, so that tests hand them a recorder or point the real one at a stand-in on a private bus.
class cUserServiceManager {
public:
    virtual ~cUserServiceManager() = default;
    // Makes the manager read the unit files again after they were written or removed.
    virtual bool Reload(QString& failure) = 0;
    // Enables the timer `unit` (it starts with the manager from now on) and starts it afresh now, so that
    // a changed schedule counts at once.
    virtual bool EnableTimer(const QString& unit, QString& failure) = 0;
    // Stops the timer `unit` and disables it.
    virtual bool DisableTimer(const QString& unit, QString& failure) = 0;
    // Moves the process `pid` into a scope unit `scope` of its own, outside the caller's unit, so that it
    // lives on when the caller's service ends.
    virtual bool MoveIntoScope(const QString& scope, qint64 pid, QString& failure) = 0;
};

// systemd's user manager over D-Bus (org.freedesktop.systemd1 on the session bus). Every failure comes
// back as the manager's or the bus's own message.
class cSystemdUserManager : public cUserServiceManager {
public:
    static constexpr const char* kService = "org.freedesktop.systemd1";
    static constexpr const char* kPath = "/org/freedesktop/systemd1";
    static constexpr const char* kInterface = "org.freedesktop.systemd1.Manager";

    // Talks to the session bus; tests name a connection to a private bus of their own instead.
    explicit cSystemdUserManager(QString connectionName = {});
    bool Reload(QString& failure) override;
    bool EnableTimer(const QString& unit, QString& failure) override;
    bool DisableTimer(const QString& unit, QString& failure) override;
    bool MoveIntoScope(const QString& scope, qint64 pid, QString& failure) override;

private:
    QString connectionName_;
};

}  // namespace trx

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/run/Notice.h"

#include <QObject>
#include <QString>

namespace trx {

// A client of the desktop's notification server (org.freedesktop.Notifications on the session bus): shows
// a notice and waits for the user's answer to it.
class cDesktopNotifications : public QObject {
    Q_OBJECT

public:
    static constexpr const char* kService = "org.freedesktop.Notifications";
    static constexpr const char* kPath = "/org/freedesktop/Notifications";
    static constexpr const char* kInterface = "org.freedesktop.Notifications";
    // The key of the action "Protokoll anzeigen"; a click on the notice itself ("default") means the same.
    static constexpr const char* kProtocolAction = "protocol";
    static constexpr const char* kDefaultAction = "default";

    // `appId` names the program's launcher (the "desktop-entry" hint), so that the desktop shows the
    // program's name and icon. Talks to the session bus, or to the named connection that tests give.
    explicit cDesktopNotifications(QString appId, QString connectionName = {});

    // Shows `notice`; returns its id, 0 when no server could be reached or it refused.
    uint Show(const cNotice& notice);
    // Waits until the user answered the notice `id` (an action) or it was closed, at most `limitMs`
    // milliseconds. Returns the key of the chosen action, "" for anything else.
    QString WaitForAnswer(uint id, int limitMs);

private slots:
    void OnActionInvoked(uint id, const QString& key);
    void OnClosed(uint id, uint reason);
    void OnServerGone();

signals:
    void Answered();

private:
    QString appId_;
    QString connectionName_;
    uint waitingFor_ = 0;
    QString answer_;
    bool subscribed_ = false;
};

class cCommandLauncher;

// The whole life of the helper that shows a run's notice: shows it, waits for the answer at most `limitMs`
// milliseconds, and when the user asks for the protocol, opens it with the desktop's default application
// (xdg-open, else gio open) through `launcher`.
void ShowNoticeAndWait(cDesktopNotifications& notifications, const cNotice& notice,
                       cCommandLauncher& launcher, int limitMs);

}  // namespace trx

// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/RunNotification.h"

#include "app/CommandLine.h"
#include "platform/ControlGroup.h"
#include "ui/common/UserServiceManager.h"
#include "ui/run/CommandLauncher.h"
#include "ui/run/DesktopNotifications.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDeadlineTimer>
#include <QProcess>
#include <QThread>

namespace trx {

namespace {

// The desktop keeps an unanswered notice while the helper waits; a scheduled run's next one comes a day
// later at the earliest.
constexpr int kAnswerLimitMs = 24 * 60 * 60 * 1000;
// How long the run's process waits for the helper to leave its service.
constexpr int kScopeMoveLimitMs = 3000;
constexpr unsigned long kScopePollMs = 20;

}  // namespace

bool MoveOutOfService(qint64 pid, const std::string& ownGroup, cUserServiceManager& manager) {
    if (!platform::IsServiceGroup(ownGroup)) {
        return true;
    }
    QString failure;
    const QString scope = QStringLiteral("tresorix-notice-%1.scope").arg(pid);
    if (!manager.MoveIntoScope(scope, pid, failure)) {
        return false;
    }
    // The manager moves it a moment after it answered; the service must not end before.
    const QDeadlineTimer deadline(kScopeMoveLimitMs);
    while (platform::ControlGroupOf(static_cast<int>(pid)) == ownGroup) {
        if (deadline.hasExpired()) {
            return false;
        }
        QThread::msleep(kScopePollMs);
    }
    return true;
}

bool StartNoticeHelper(const cNotice& notice, cUserServiceManager& manager) {
    if (!QDBusConnection::sessionBus().isConnected()) {
        return false;
    }
    QProcess helper;
    helper.setProgram(QCoreApplication::applicationFilePath());
    helper.setArguments(QStringList{QString::fromLatin1(kNotifySwitch)} + NoticeArguments(notice));
    // It may wait for a day: it must hold no pipe a caller reads to its end, and no folder on a medium the
    // user wants to unmount.
    helper.setStandardInputFile(QProcess::nullDevice());
    helper.setStandardOutputFile(QProcess::nullDevice());
    helper.setStandardErrorFile(QProcess::nullDevice());
    helper.setWorkingDirectory(QStringLiteral("/"));
    qint64 pid = 0;
    if (!helper.startDetached(&pid)) {
        return false;
    }
    MoveOutOfService(pid, platform::ControlGroupOf(0), manager);
    return true;
}

int RunNoticeHelper(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments().mid(2);
    const std::optional<cNotice> notice = NoticeFromArguments(arguments);
    if (!notice) {
        return 1;
    }
    cDesktopNotifications notifications(QStringLiteral(TRX_APP_ID));
    cDesktopCommandLauncher launcher;
    ShowNoticeAndWait(notifications, *notice, launcher, kAnswerLimitMs);
    return 0;
}

}  // namespace trx

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

// Moves the helper out of this process's service, whose end would kill it, and waits until it is out.
void KeepAliveBeyondService(qint64 pid, cUserServiceManager& manager) {
    const std::string own = platform::ControlGroupOf(0);
    if (!platform::IsServiceGroup(own)) {
        return;
    }
    QString failure;
    const QString scope = QStringLiteral("tresorix-notice-%1.scope").arg(pid);
    if (!manager.MoveIntoScope(scope, pid, failure)) {
        return;
    }
    const QDeadlineTimer deadline(kScopeMoveLimitMs);
    while (!deadline.hasExpired() && platform::ControlGroupOf(static_cast<int>(pid)) == own) {
        QThread::msleep(kScopePollMs);
    }
}

}  // namespace

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
    KeepAliveBeyondService(pid, manager);
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

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/run/DesktopNotifications.h"

#include "ui/run/CommandLauncher.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusServiceWatcher>
#include <QEventLoop>
#include <QTimer>
#include <QVariantMap>

namespace trx {

namespace {

constexpr int kCallTimeoutMs = 10000;
// How often a long wait looks whether the bus is still there (it goes with the session).
constexpr int kBusCheckMs = 10000;
constexpr uchar kUrgencyNormal = 1;
constexpr uchar kUrgencyCritical = 2;

QDBusConnection Bus(const QString& connectionName) {
    return connectionName.isEmpty() ? QDBusConnection::sessionBus() : QDBusConnection(connectionName);
}

QDBusMessage Call(const char* method) {
    return QDBusMessage::createMethodCall(QString::fromLatin1(cDesktopNotifications::kService),
                                          QString::fromLatin1(cDesktopNotifications::kPath),
                                          QString::fromLatin1(cDesktopNotifications::kInterface),
                                          QString::fromLatin1(method));
}

// A server that reads markup in the body would take "&" or "<" in a project's name as the start of it.
QString BodyFor(const QString& body, const QStringList& capabilities) {
    return capabilities.contains(QStringLiteral("body-markup")) ? body.toHtmlEscaped() : body;
}

}  // namespace

cDesktopNotifications::cDesktopNotifications(QString appId, QString connectionName)
    : appId_(std::move(appId)), connectionName_(std::move(connectionName)) {
    QDBusConnection bus = Bus(connectionName_);
    if (!bus.isConnected()) {
        return;
    }
    // Listening starts before the notice is shown, so that no answer can come too early.
    const QString service = QString::fromLatin1(kService);
    const QString path = QString::fromLatin1(kPath);
    const QString interface = QString::fromLatin1(kInterface);
    subscribed_ = bus.connect(service, path, interface, QStringLiteral("ActionInvoked"), this,
                              SLOT(OnActionInvoked(uint, QString))) &&
                  bus.connect(service, path, interface, QStringLiteral("NotificationClosed"), this,
                              SLOT(OnClosed(uint, uint)));
    auto* watcher = new QDBusServiceWatcher(service, bus, QDBusServiceWatcher::WatchForUnregistration, this);
    connect(watcher, &QDBusServiceWatcher::serviceUnregistered, this, &cDesktopNotifications::OnServerGone);
}

uint cDesktopNotifications::Show(const cNotice& notice) {
    QDBusConnection bus = Bus(connectionName_);
    if (!bus.isConnected()) {
        return 0;
    }
    const QDBusReply<QStringList> capabilities =
        bus.call(Call("GetCapabilities"), QDBus::Block, kCallTimeoutMs);
    const QStringList known = capabilities.isValid() ? capabilities.value() : QStringList();

    QStringList actions;
    if (!notice.ProtocolPath.isEmpty() && known.contains(QStringLiteral("actions"))) {
        const QString label = QStringLiteral("Protokoll anzeigen");
        actions << QString::fromLatin1(kDefaultAction) << label << QString::fromLatin1(kProtocolAction)
                << label;
    }
    QVariantMap hints;
    hints.insert(QStringLiteral("urgency"),
                 QVariant::fromValue(notice.Critical ? kUrgencyCritical : kUrgencyNormal));
    hints.insert(QStringLiteral("desktop-entry"), appId_);
    hints.insert(QStringLiteral("category"),
                 notice.Critical ? QStringLiteral("transfer.error") : QStringLiteral("transfer.complete"));

    QDBusMessage notify = Call("Notify");
    notify << QStringLiteral("Tresorix") << uint(0) << QStringLiteral("tresorix") << notice.Summary
           << BodyFor(notice.Body, known) << actions << hints << int(-1);
    const QDBusReply<uint> id = bus.call(notify, QDBus::Block, kCallTimeoutMs);
    return id.isValid() ? id.value() : 0;
}

QString cDesktopNotifications::WaitForAnswer(uint id, int limitMs) {
    if (id == 0 || !subscribed_) {
        return {};
    }
    waitingFor_ = id;
    answer_.clear();
    QEventLoop loop;
    connect(this, &cDesktopNotifications::Answered, &loop, &QEventLoop::quit);
    QTimer::singleShot(limitMs, &loop, &QEventLoop::quit);
    QTimer busCheck;
    connect(&busCheck, &QTimer::timeout, &loop, [this, &loop] {
        if (!Bus(connectionName_).isConnected()) {
            loop.quit();
        }
    });
    busCheck.start(kBusCheckMs);
    loop.exec();
    waitingFor_ = 0;
    return answer_;
}

void cDesktopNotifications::OnActionInvoked(uint id, const QString& key) {
    if (waitingFor_ != 0 && id == waitingFor_) {
        answer_ = key;
        emit Answered();
    }
}

void cDesktopNotifications::OnClosed(uint id, uint) {
    if (waitingFor_ != 0 && id == waitingFor_) {
        emit Answered();
    }
}

void cDesktopNotifications::OnServerGone() {
    // The notice went with its server; nobody is left to answer.
    emit Answered();
}

void ShowNoticeAndWait(cDesktopNotifications& notifications, const cNotice& notice,
                       cCommandLauncher& launcher, int limitMs) {
    const uint id = notifications.Show(notice);
    // While this process waits, the desktop keeps the notice and can hand back its answer; some desktops
    // drop a program's notices once the program is gone.
    const QString answer = notifications.WaitForAnswer(id, limitMs);
    if (notice.ProtocolPath.isEmpty() ||
        (answer != QString::fromLatin1(cDesktopNotifications::kProtocolAction) &&
         answer != QString::fromLatin1(cDesktopNotifications::kDefaultAction))) {
        return;
    }
    if (!cDesktopCommandLauncher::ExecutableFor(QStringLiteral("xdg-open")).isEmpty()) {
        launcher.Open(QStringLiteral("xdg-open"), {notice.ProtocolPath});
    } else if (!cDesktopCommandLauncher::ExecutableFor(QStringLiteral("gio")).isEmpty()) {
        launcher.Open(QStringLiteral("gio"), {QStringLiteral("open"), notice.ProtocolPath});
    }
}

}  // namespace trx

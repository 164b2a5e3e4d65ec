// SPDX-License-Identifier: GPL-3.0-or-later
#include "PrivateBus.h"

#include "FakeService.h"

#include <QFile>
#include <QStandardPaths>
#include <QtTest>

namespace trx::test {

namespace {

// A session bus without service folders: nothing is ever started by activation.
const char kConfiguration[] =
    R"(<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:tmpdir=%1</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
)";

QString OwnerConnection(const QString& serviceName) {
    return QStringLiteral("trx-fake-") + serviceName;
}

}  // namespace

PrivateBus::PrivateBus() {
    const QString program = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
    if (program.isEmpty()) {
        return;
    }
    const QString configuration = folder_.filePath(QStringLiteral("bus.conf"));
    QFile file(configuration);
    if (!folder_.isValid() || !file.open(QIODevice::WriteOnly) ||
        file.write(QString::fromLatin1(kConfiguration).arg(folder_.path()).toUtf8()) < 0) {
        return;
    }
    file.close();
    daemon_.start(program, {QStringLiteral("--config-file=") + configuration, QStringLiteral("--nofork"),
                            QStringLiteral("--print-address")});
    if (!daemon_.waitForStarted() || !QTest::qWaitFor([&] { return daemon_.canReadLine(); }, 10000)) {
        return;
    }
    address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
    thread_.start();
}

PrivateBus::~PrivateBus() {
    for (const auto& [connection, path] : objects_) {
        QDBusConnection(connection).unregisterObject(path);
    }
    for (const QString& name : connections_) {
        QDBusConnection::disconnectFromBus(name);
    }
    thread_.quit();
    thread_.wait();
    if (daemon_.state() != QProcess::NotRunning) {
        daemon_.kill();
        daemon_.waitForFinished();
    }
}

bool PrivateBus::Connect(const QString& name) {
    if (!Started()) {
        return false;
    }
    connections_.append(name);
    return QDBusConnection::connectToBus(address_, name).isConnected();
}

bool PrivateBus::Offer(FakeService& service, const QString& serviceName, const QString& path) {
    const QString name = OwnerConnection(serviceName);
    if (!connections_.contains(name) && !Connect(name)) {
        return false;
    }
    service.moveToThread(&thread_);
    QDBusConnection connection(name);
    if (!connection.registerVirtualObject(path, &service, QDBusConnection::SingleNode)) {
        return false;
    }
    objects_.append({name, path});
    return connection.registerService(serviceName);
}

bool PrivateBus::Emit(const QString& serviceName, const QDBusMessage& signal) {
    return QDBusConnection(OwnerConnection(serviceName)).send(signal);
}

}  // namespace trx::test

// SPDX-License-Identifier: GPL-3.0-or-later
// The real program's unattended runs on a desktop made of stand-ins: a notification server and a login
// manager on a private bus that the program takes for its session and system bus, and an "xdg-open" that
// only writes down what it was asked to open. Nothing reaches the machine's own desktop or manager.
#include "FakeLoginManager.h"
#include "FakeNotificationServer.h"
#include "PrivateBus.h"
#include "model/BackUpSource.h"
#include "model/Project.h"
#include "model/ProjectFile.h"
#include "platform/PosixFileSystem.h"
#include "support/TestDir.h"

#include <QDBusConnectionInterface>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QtTest>

using namespace trx;
using test::FakeNotificationServer;

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

const QString kNowhere = QStringLiteral("unix:path=/nonexistent/trx-test-no-bus");

// A desktop of stand-ins and a project beside them.
struct Desktop {
    Desktop() {
        if (!bus.Started()) {
            return;
        }
        bus.Offer(server, FakeNotificationServer::kService, FakeNotificationServer::kPath);
        bus.Offer(login, test::FakeLoginManager::kService, test::FakeLoginManager::kPath);
        bus.Connect(QStringLiteral("trx-test-observer"));
        tmp.WriteFile(
            "bin/xdg-open",
            "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.args.part\" && mv \"$0.args.part\" \"$0.args\"\n");
        QFile::setPermissions(Q(tmp / "bin/xdg-open"), QFile::ReadOwner | QFile::ExeOwner);
    }

    // A saved project whose one source is there (with a file) or missing, which is a problem of the run.
    QString Project(bool missingSource) {
        cProject project;
        project.DefaultOptions.Protocol = 2;
        auto* destination = new cBackUpDestination(project, tmp / "ziel/");
        tmp.WriteFile("quelle/a.txt", "a");
        new cBackUpSource(missingSource ? tmp / "fehlt/" : tmp / "quelle/", *destination);
        platform::PosixFileSystem fs;
        SaveProject(project, tmp / "Projekt.buf", fs);
        return Q(tmp / "Projekt.buf");
    }

    // Runs the program without a display; its buses are this desktop's, or none.
    int Run(const QStringList& arguments, bool withBuses = true) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
            environment.remove(QString::fromLatin1(name));
        }
        const QString address = withBuses ? bus.Address() : kNowhere;
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address);
        environment.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), address);
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), Q(tmp.MakeDir("runtime")));
        environment.insert(QStringLiteral("PATH"),
                           Q(tmp / "bin") + u':' + environment.value(QStringLiteral("PATH")));
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(TRXMAIN_PATH), arguments);
        if (!program.waitForFinished(60000) || program.exitStatus() != QProcess::NormalExit) {
            program.kill();
            program.waitForFinished();
            return -1;
        }
        return program.exitCode();
    }

    // Waits until the helper that sent the notice `index` has left the bus.
    bool HelperGone(int index) {
        const QString helper = server.Calls(QStringLiteral("Notify")).value(index).service();
        QDBusConnectionInterface* observer = QDBusConnection(QStringLiteral("trx-test-observer")).interface();
        return !helper.isEmpty() &&
               QTest::qWaitFor([&] { return !observer->isServiceRegistered(helper).value(); }, 10000);
    }

    FakeNotificationServer server;
    test::FakeLoginManager login;
    test::PrivateBus bus;
    test::TestDir tmp;
};

}  // namespace

class TestRunNotification : public QObject {
    Q_OBJECT

private slots:
    void aHiddenRunWithProblemsNotifiesAndItsActionOpensTheProtocol() {
        Desktop desktop;
        TRX_REQUIRE_PRIVATE_BUS(desktop.bus);
        const QString project = desktop.Project(true);
        // The run's own process ends with its status, before anybody answers the notice.
        QCOMPARE(desktop.Run({project, QStringLiteral("/h"), QStringLiteral("/s")}), 2);

        QVERIFY(desktop.server.WaitFor(QStringLiteral("Notify")));
        const FakeNotificationServer::cShown shown = desktop.server.Shown().value(0);
        QCOMPARE(shown.Summary, QStringLiteral("Sicherung „Projekt“ mit Problemen beendet"));
        QVERIFY2(shown.Body.startsWith(QStringLiteral("1 Problem, keine zurückgehaltenen Löschungen.")),
                 qPrintable(shown.Body));
        QCOMPARE(shown.Hints.value(QStringLiteral("urgency")).toInt(), 2);
        QCOMPARE(shown.Hints.value(QStringLiteral("desktop-entry")).toString(),
                 QStringLiteral("de.tresorix.Tresorix"));

        // While it copied, the computer was kept awake; the inhibitor went with the run.
        QCOMPARE(desktop.login.Calls(QStringLiteral("Inhibit")).size(), 1);
        QCOMPARE(desktop.login.InhibitorsHeld(), 0);

        QVERIFY(desktop.server.Invoke(desktop.bus, 1, QStringLiteral("protocol")));
        QVERIFY(QTest::qWaitFor([&] { return desktop.tmp.Exists("bin/xdg-open.args"); }, 10000));
        QCOMPARE(Q(desktop.tmp.ReadFile("bin/xdg-open.args")), Q(desktop.tmp / "Projekt_Protocol.txt\n"));
        QVERIFY(desktop.HelperGone(0));
    }

    void aRunWithoutProblemsNotifiesOnlyWhenAskedTo() {
        Desktop desktop;
        TRX_REQUIRE_PRIVATE_BUS(desktop.bus);
        const QString project = desktop.Project(false);
        QCOMPARE(desktop.Run({project, QStringLiteral("/h"), QStringLiteral("/s")}), 0);
        QCOMPARE(desktop.Run({project, QStringLiteral("/h"), QStringLiteral("/s"), QStringLiteral("/N")}), 0);
        QVERIFY(desktop.server.WaitFor(QStringLiteral("Notify")));
        QTest::qWait(500);
        const QList<FakeNotificationServer::cShown> shown = desktop.server.Shown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].Summary, QStringLiteral("Sicherung „Projekt“ abgeschlossen"));
        QCOMPARE(shown[0].Hints.value(QStringLiteral("urgency")).toInt(), 1);
        // Closed by the user: the helper ends and opens nothing.
        QVERIFY(desktop.server.Close(desktop.bus, 1));
        QVERIFY(desktop.HelperGone(0));
        QVERIFY(!desktop.tmp.Exists("bin/xdg-open.args"));
    }

    void withoutBusesTheRunEndsWithItsStatusAsBefore() {
        Desktop desktop;
        TRX_REQUIRE_PRIVATE_BUS(desktop.bus);
        const QString project = desktop.Project(true);
        QElapsedTimer took;
        took.start();
        QCOMPARE(desktop.Run({project, QStringLiteral("/h"), QStringLiteral("/s")}, false), 2);
        QVERIFY(took.elapsed() < 30000);
        QVERIFY(desktop.tmp.Exists("ziel/"));
        QTest::qWait(300);
        QVERIFY(desktop.server.Calls().isEmpty());
        QVERIFY(desktop.login.Calls().isEmpty());
    }
};

QTEST_MAIN(TestRunNotification)
#include "tst_RunNotification.moc"

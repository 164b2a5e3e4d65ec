// SPDX-License-Identifier: GPL-3.0-or-later
// Desktop notifications about unattended runs: what they say for each way a run can end, how the notice
// reaches the helper process, and the notification server's protocol, spoken with a stand-in server on a
// private bus of the test's own (never the desktop's).
#include "ActionRecorders.h"
#include "FakeNotificationServer.h"
#include "PrivateBus.h"
#include "engine/RunController.h"
#include "ui/run/DesktopNotifications.h"
#include "ui/run/RunNotice.h"

#include <QTimer>
#include <QtTest>

Q_DECLARE_METATYPE(trx::cRunResult)

using namespace trx;
using test::FakeNotificationServer;

namespace {

const QString kProject = QStringLiteral("/home/anna/Sicherung/Täglich.buf");
const QString kProtocol = QStringLiteral("/home/anna/Sicherung/Täglich_Protocol.txt");

cRunResult Result(int problems, bool cancelled = false) {
    cRunResult result;
    result.Ran = true;
    result.ProblemCount = problems;
    result.Cancelled = cancelled;
    return result;
}

cHeldBack Held(cHeldBack::Reason why, std::uint64_t entries) {
    cHeldBack held;
    held.Why = why;
    held.Path = "/media/stick/";
    held.Entries = entries;
    return held;
}

}  // namespace

class TestNotifications : public QObject {
    Q_OBJECT

private slots:
    void theNoticeSaysHowTheRunEnded_data() {
        QTest::addColumn<cRunResult>("result");
        QTest::addColumn<bool>("always");
        QTest::addColumn<QString>("summary");
        QTest::addColumn<QString>("body");
        QTest::addColumn<bool>("critical");

        const QString details = QStringLiteral("\nEinzelheiten stehen im Protokoll.");
        QTest::newRow("problems") << Result(3) << false << "Sicherung „Täglich“ mit Problemen beendet"
                                  << "3 Probleme, keine zurückgehaltenen Löschungen." + details << true;
        QTest::newRow("one problem") << Result(1) << false << "Sicherung „Täglich“ mit Problemen beendet"
                                     << "1 Problem, keine zurückgehaltenen Löschungen." + details << true;
        cRunResult held = Result(0);
        held.HeldBack = {Held(cHeldBack::Reason::SourceEmpty, 1200),
                         Held(cHeldBack::Reason::ManyDeletions, 50),
                         Held(cHeldBack::Reason::DestinationMissing, 7)};
        QTest::newRow("held back") << held << false << "Sicherung „Täglich“ unvollständig"
                                   << "Keine Probleme, 1.250 zurückgehaltene Löschungen.\n1 Ziel wurde nicht "
                                      "beschrieben, weil ein Datenträger zu fehlen scheint." +
                                          details
                                   << true;
        cRunResult unsaved = Result(0);
        unsaved.SaveError = "Stream write error";
        QTest::newRow("not saved")
            << unsaved << false << "Sicherung „Täglich“ mit Problemen beendet"
            << "Keine Probleme, keine zurückgehaltenen Löschungen.\nDas Projekt konnte "
               "nach der Sicherung nicht gespeichert werden." +
                   details
            << true;
        QTest::newRow("cancelled") << Result(0, true) << false << "Sicherung „Täglich“ abgebrochen"
                                   << "Der Sicherungsvorgang wurde abgebrochen.\nKeine Probleme, keine "
                                      "zurückgehaltenen Löschungen."
                                   << false;
        cRunResult refused;
        refused.AlreadyRunning = true;
        QTest::newRow("refused") << refused << false << "Sicherung „Täglich“ nicht gestartet"
                                 << "Ein anderer Sicherungsvorgang dieses Projekts lief noch. Dieser Vorgang "
                                    "wurde nicht gestartet; es wurde nichts verändert."
                                 << false;
        QTest::newRow("completed, asked for")
            << Result(0) << true << "Sicherung „Täglich“ abgeschlossen"
            << "Keine Probleme, keine zurückgehaltenen Löschungen." << false;
        QTest::newRow("completed") << Result(0) << false << QString() << QString() << false;
    }

    void theNoticeSaysHowTheRunEnded() {
        QFETCH(cRunResult, result);
        QFETCH(bool, always);
        QFETCH(QString, summary);
        QFETCH(QString, body);
        QFETCH(bool, critical);
        const std::optional<cNotice> notice = RunNotice(result, kProject, kProtocol, always);
        QCOMPARE(notice.has_value(), !summary.isEmpty());
        if (notice) {
            QCOMPARE(notice->Summary, summary);
            QCOMPARE(notice->Body, body);
            QCOMPARE(notice->Critical, critical);
            QCOMPARE(notice->ProtocolPath, kProtocol);
            // The helper process gets it whole.
            const std::optional<cNotice> passed = NoticeFromArguments(NoticeArguments(*notice));
            QVERIFY(passed.has_value());
            QCOMPARE(passed->Summary, summary);
            QCOMPARE(passed->Body, body);
            QCOMPARE(passed->Critical, critical);
            QCOMPARE(passed->ProtocolPath, kProtocol);
        }
        const cNotice failed = LoadFailureNotice(kProject, QStringLiteral("Cannot open file x."));
        QCOMPARE(failed.Summary, QStringLiteral("Sicherung „Täglich“ nicht gestartet"));
        QVERIFY(failed.Critical);
        QVERIFY(!NoticeFromArguments({QStringLiteral("laut"), QStringLiteral("a"), QString(), QString()}));
        QVERIFY(!NoticeFromArguments({QStringLiteral("normal")}));
    }

    void theServerGetsTheNoticeWithUrgencyLauncherAndAction() {
        FakeNotificationServer server;
        test::PrivateBus bus;
        TRX_REQUIRE_PRIVATE_BUS(bus);
        QVERIFY(bus.Offer(server, FakeNotificationServer::kService, FakeNotificationServer::kPath));
        QVERIFY(bus.Connect(QStringLiteral("trx-test-session")));
        cDesktopNotifications notifications(QStringLiteral("de.tresorix.Tresorix"),
                                            QStringLiteral("trx-test-session"));

        const cNotice problems{QStringLiteral("Sicherung „A&B“ mit Problemen beendet"),
                               QStringLiteral("1 Problem <a>"), true, kProtocol};
        QCOMPARE(notifications.Show(problems), 1u);
        QCOMPARE(
            notifications.Show({QStringLiteral("Sicherung „A“ abgebrochen"), QString(), false, QString()}),
            2u);
        const QList<FakeNotificationServer::cShown> shown = server.Shown();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[0].AppName, QStringLiteral("Tresorix"));
        QCOMPARE(shown[0].Summary, problems.Summary);
        QCOMPARE(shown[0].Body, QStringLiteral("1 Problem &lt;a&gt;"));  // the server reads markup
        QCOMPARE(shown[0].Actions,
                 (QStringList{"default", "Protokoll anzeigen", "protocol", "Protokoll anzeigen"}));
        QCOMPARE(shown[0].Hints.value(QStringLiteral("urgency")).toInt(), 2);
        QCOMPARE(shown[0].Hints.value(QStringLiteral("urgency")).metaType(), QMetaType::fromType<uchar>());
        QCOMPARE(shown[0].Hints.value(QStringLiteral("desktop-entry")).toString(),
                 QStringLiteral("de.tresorix.Tresorix"));
        QCOMPARE(shown[0].Timeout, -1);
        QCOMPARE(shown[1].Hints.value(QStringLiteral("urgency")).toInt(), 1);
        QVERIFY(shown[1].Actions.isEmpty());  // no protocol, nothing to show
    }

    void theHelperOpensTheProtocolWhenAskedAndOtherwiseJustEnds() {
        FakeNotificationServer server;
        test::PrivateBus bus;
        TRX_REQUIRE_PRIVATE_BUS(bus);
        QVERIFY(bus.Offer(server, FakeNotificationServer::kService, FakeNotificationServer::kPath));
        QVERIFY(bus.Connect(QStringLiteral("trx-test-session")));
        cDesktopNotifications notifications(QStringLiteral("de.tresorix.Tresorix"),
                                            QStringLiteral("trx-test-session"));
        const cNotice notice{QStringLiteral("Sicherung „A“ mit Problemen beendet"), QString(), true,
                             kProtocol};

        // The answer to another notice does not count; the one to ours does.
        test::LauncherRecorder launcher;
        QTimer::singleShot(0, [&] {
            QVERIFY(server.WaitFor(QStringLiteral("Notify")));
            server.Invoke(bus, 99, QStringLiteral("protocol"));
            server.Invoke(bus, 1, QStringLiteral("protocol"));
        });
        ShowNoticeAndWait(notifications, notice, launcher, 10000);
        QCOMPARE(launcher.Items.size(), 1);
        QVERIFY(launcher.Items[0] == QStringLiteral("xdg-open") ||
                launcher.Items[0] == QStringLiteral("gio"));
        QCOMPARE(launcher.Arguments[0].last(), kProtocol);

        // Closed without an answer: nothing opens.
        QTimer::singleShot(0, [&] {
            QVERIFY(server.WaitFor(QStringLiteral("Notify"), 2));
            server.Close(bus, 2);
        });
        QElapsedTimer waited;
        waited.start();
        ShowNoticeAndWait(notifications, notice, launcher, 10000);
        QVERIFY(waited.elapsed() < 5000);
        QCOMPARE(launcher.Items.size(), 1);

        // Nobody answers: the wait ends at its limit.
        QCOMPARE(notifications.WaitForAnswer(notifications.Show(notice), 200), QString());
    }

    void withoutAServerNothingIsShownAndNothingWaits() {
        test::PrivateBus bus;
        TRX_REQUIRE_PRIVATE_BUS(bus);
        QVERIFY(bus.Connect(QStringLiteral("trx-test-empty")));
        cDesktopNotifications notifications(QStringLiteral("de.tresorix.Tresorix"),
                                            QStringLiteral("trx-test-empty"));
        test::LauncherRecorder launcher;
        QElapsedTimer waited;
        waited.start();
        ShowNoticeAndWait(notifications, {QStringLiteral("x"), QString(), true, kProtocol}, launcher, 60000);
        QVERIFY(waited.elapsed() < 15000);
        QVERIFY(launcher.Items.isEmpty());
        cDesktopNotifications nowhere(QStringLiteral("x"), QStringLiteral("trx-not-connected"));
        QCOMPARE(nowhere.Show({QStringLiteral("x"), QString(), true, QString()}), 0u);
    }
};

QTEST_MAIN(TestNotifications)
#include "tst_Notifications.moc"

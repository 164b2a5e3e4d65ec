// SPDX-License-Identifier: GPL-3.0-or-later
// The parts the run window is built from: path shortening, the user's formats, starting a command, and
// the shutdown request and the sleep inhibitor, which talk to a stand-in login manager on a private
// message bus of the test's own (never to the system bus).
#include "FakeLoginManager.h"
#include "PrivateBus.h"
#include "support/TestDir.h"
#include "ui/common/MinimizeName.h"
#include "ui/common/QtTextFormats.h"
#include "ui/run/CommandLauncher.h"
#include "ui/run/SleepInhibitor.h"
#include "ui/run/SystemShutdown.h"
#include "ui/run/TaskbarProgress.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QFile>
#include <QProcess>
#include <QProgressBar>
#include <QStandardPaths>
#include <QtTest>

using namespace trx;

// Hears what a dock would hear of the program's entry.
class LauncherEntryListener : public QObject {
    Q_OBJECT

public:
    QList<QPair<double, bool>> Updates;  // progress, progress-visible
    QString AppUri;

public slots:
    void Update(const QString& appUri, const QVariantMap& properties) {
        AppUri = appUri;
        Updates.append({properties.value(QStringLiteral("progress")).toDouble(),
                        properties.value(QStringLiteral("progress-visible")).toBool()});
    }
};

namespace {

// The texts a shortening tried, one per step, ending with its result.
QStringList Steps(const QString& path) {
    QStringList measured;
    const QString result = MinimizeName(
        path,
        [&measured](const QString& text) {
            measured.append(text);
            return 1000;
        },
        0);
    if (measured.isEmpty() || measured.last() != result) {
        measured.append(result);
    }
    return measured;
}

int Length(const QString& text) {
    return static_cast<int>(text.size());
}

}  // namespace

class TestRunWindowParts : public QObject {
    Q_OBJECT

private slots:
    void pathsLoseTheirLeadingDirectoriesOneByOne() {
        QCOMPARE(Steps("/a/b/c/file"), (QStringList{"/a/b/c/file", "/.../b/c/file", "/.../c/file",
                                                    "/.../file", ".../file", "file"}));
        QCOMPARE(Steps("C:/a/b/c/file"), (QStringList{"C:/a/b/c/file", "C:/.../b/c/file", "C:/.../c/file",
                                                      "C:/.../file", ".../file", "file"}));
        QCOMPARE(Steps("Briefe/Entwürfe/alt/"),
                 (QStringList{"Briefe/Entwürfe/alt/", ".../Entwürfe/alt/", ".../alt/", ".../", ""}));
        QCOMPARE(Steps("/file"), (QStringList{"/file", "file"}));
        QCOMPARE(Steps("file"), (QStringList{"file"}));
        // A directory that begins with dots is a name like any other.
        QCOMPARE(Steps("/.config/x/"), (QStringList{"/.config/x/", "/.../x/", "/.../", ".../", ""}));
    }

    void shorteningStopsAsSoonAsThePathFits() {
        const QString path = QStringLiteral("/media/Backups/Daily/Office/");
        QCOMPARE(MinimizeName(path, Length, 100), path);
        QCOMPARE(MinimizeName(path, Length, Length("/.../Office/")), QStringLiteral("/.../Office/"));
        QCOMPARE(MinimizeName(path, Length, 3), QString());  // may still be too wide: nothing left to cut
        const QFont bold(QStringLiteral("Arial"), 8, QFont::Bold);
        const QFontMetrics metrics(bold);
        const QString shortened =
            MinimizeName(path + QStringLiteral("Sehr langer Unterordner/"), metrics, 120);
        QVERIFY(metrics.horizontalAdvance(shortened) <= 120);
        QVERIFY(shortened.startsWith(QStringLiteral("/.../")));
    }

    void datesAlwaysHaveFourDigitYearsAndTimesNoZone() {
        QCOMPARE(WithFourDigitYear(QStringLiteral("dd.MM.yy")), QStringLiteral("dd.MM.yyyy"));
        QCOMPARE(WithFourDigitYear(QStringLiteral("d/M/yyyy")), QStringLiteral("d/M/yyyy"));
        QCOMPARE(WithFourDigitYear(QStringLiteral("yy-MM-dd 'yy'")), QStringLiteral("yyyy-MM-dd 'yy'"));
        QCOMPARE(WithoutTimeZone(QStringLiteral("HH:mm:ss t")), QStringLiteral("HH:mm:ss"));
        QCOMPARE(WithoutTimeZone(QStringLiteral("h:mm:ss AP")), QStringLiteral("h:mm:ss AP"));

        const platform::cLocalTime moment{2026, 12, 7, 0, 11, 8, 0};
        const cQtTextFormats german(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(QString::fromStdString(german.ShortDate(moment)), QStringLiteral("07.12.2026"));
        QCOMPARE(QString::fromStdString(german.LongTime(moment)), QStringLiteral("00:11:08"));
        QCOMPARE(QString::fromStdString(german.DecimalSeparator()), QStringLiteral(","));
        const cQtTextFormats english(QLocale(QLocale::English, QLocale::UnitedStates));
        QVERIFY(QString::fromStdString(english.ShortDate(moment)).endsWith(QStringLiteral("2026")));
        QCOMPARE(QString::fromStdString(english.DecimalSeparator()), QStringLiteral("."));
        const cQtTextFormats none(QLocale::c());
        QCOMPARE(QString::fromStdString(none.ShortDate(moment)), QStringLiteral("07.12.2026"));
        QCOMPARE(QString::fromStdString(none.LongTime(moment)), QStringLiteral("00:11:08"));
        QCOMPARE(QString::fromStdString(none.DecimalSeparator()), QStringLiteral(","));
    }

    void onlyExecutableFilesAndProgramsInThePathAreStartedDirectly() {
        test::TestDir tmp;
        const QString script = QString::fromStdString(tmp.WriteFile("werkzeug.sh", "#!/bin/sh\n"));
        const QString document = QString::fromStdString(tmp.WriteFile("Bericht.txt", "Text"));
        QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(cDesktopCommandLauncher::ExecutableFor(script), script);
        QCOMPARE(cDesktopCommandLauncher::ExecutableFor(document), QString());
        QCOMPARE(cDesktopCommandLauncher::ExecutableFor(QString::fromStdString(tmp.Path())), QString());
        QCOMPARE(cDesktopCommandLauncher::ExecutableFor(QStringLiteral("sh")),
                 QStandardPaths::findExecutable(QStringLiteral("sh")));
        QCOMPARE(cDesktopCommandLauncher::ExecutableFor(QString()), QString());
        QCOMPARE(cDesktopCommandLauncher::ExecutableFor(QStringLiteral("gibt-es-nicht-trx")), QString());
    }

    void aProgramGetsTheItemsAsArgumentsWithoutAShell() {
        test::TestDir tmp;
        const std::string marker = tmp / "args.txt";
        const QString script = QString::fromStdString(
            tmp.WriteFile("echo.sh", "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + marker + ".part'\nmv '" +
                                         marker + ".part' '" + marker + "'\n"));
        QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        cDesktopCommandLauncher launcher;
        QVERIFY(launcher.Open(script, {QStringLiteral("a b"), QStringLiteral("$HOME"), QStringLiteral("*")}));
        QVERIFY(QTest::qWaitFor([&] { return tmp.Exists("args.txt"); }, 10000));
        QCOMPARE(QString::fromStdString(tmp.ReadFile("args.txt")), QStringLiteral("a b\n$HOME\n*\n"));
        QVERIFY(!launcher.Open(QString(), {}));
    }

    void theShutdownAsksTheLoginManagerAndPowersOffOnlyOnYes() {
        test::FakeLoginManager manager;
        test::PrivateBus bus;
        TRX_REQUIRE_PRIVATE_BUS(bus);
        QVERIFY(bus.Offer(manager, test::FakeLoginManager::kService, test::FakeLoginManager::kPath));
        QVERIFY(bus.Connect(QStringLiteral("trx-test-client")));

        cLogindShutdown shutdown(QStringLiteral("trx-test-client"));
        QVERIFY(shutdown.RequestPowerOff());
        QCOMPARE(manager.Members(), (QStringList{"CanPowerOff", "PowerOff"}));
        QCOMPARE(manager.Calls(QStringLiteral("PowerOff")).value(0).arguments(), QList<QVariant>{false});

        manager.SetCanPowerOff(QStringLiteral("challenge"));  // a password would be asked: no request
        QVERIFY(!shutdown.RequestPowerOff());
        QCOMPARE(manager.Calls(QStringLiteral("PowerOff")).size(), 1);

        QVERIFY(!cLogindShutdown(QStringLiteral("trx-not-connected")).RequestPowerOff());
    }

    void theSleepInhibitorHoldsLogindsDescriptorUntilReleased() {
        test::FakeLoginManager manager;
        test::PrivateBus bus;
        TRX_REQUIRE_PRIVATE_BUS(bus);
        QVERIFY(bus.Offer(manager, test::FakeLoginManager::kService, test::FakeLoginManager::kPath));
        QVERIFY(bus.Connect(QStringLiteral("trx-test-client")));

        cLogindSleepInhibitor inhibitor(QStringLiteral("trx-test-client"));
        QVERIFY(inhibitor.Acquire(QStringLiteral("Ein Sicherungsvorgang kopiert gerade Dateien.")));
        QVERIFY(inhibitor.Held());
        QCOMPARE(manager.Calls(QStringLiteral("Inhibit")).value(0).arguments(),
                 (QList<QVariant>{"sleep:idle", "Tresorix", "Ein Sicherungsvorgang kopiert gerade Dateien.",
                                  "block"}));
        QCOMPARE(manager.InhibitorsHeld(), 1);
        inhibitor.Release();
        QVERIFY(!inhibitor.Held());
        QVERIFY(QTest::qWaitFor([&] { return manager.InhibitorsHeld() == 0; }, 5000));
        inhibitor.Release();  // twice does no harm

        // Going out of scope lets go as well.
        {
            cLogindSleepInhibitor scoped(QStringLiteral("trx-test-client"));
            QVERIFY(scoped.Acquire(QStringLiteral("x")));
            QCOMPARE(manager.InhibitorsHeld(), 1);
        }
        QVERIFY(QTest::qWaitFor([&] { return manager.InhibitorsHeld() == 0; }, 5000));

        manager.Fail(QStringLiteral("Inhibit"), QStringLiteral("org.freedesktop.DBus.Error.AccessDenied"),
                     QStringLiteral("Permission denied"));
        QVERIFY(!inhibitor.Acquire(QStringLiteral("x")));
        QVERIFY(!inhibitor.Held());
        QVERIFY(!cLogindSleepInhibitor(QStringLiteral("trx-not-connected")).Acquire(QStringLiteral("x")));
    }

    void theTaskBarEntryFollowsTheOverallBarInWholePercent() {
        test::PrivateBus bus;
        TRX_REQUIRE_PRIVATE_BUS(bus);
        QVERIFY(bus.Connect(QStringLiteral("trx-test-client")));
        QVERIFY(bus.Connect(QStringLiteral("trx-test-dock")));
        LauncherEntryListener dock;
        QVERIFY(QDBusConnection(QStringLiteral("trx-test-dock"))
                    .connect(QString(), QString(), QStringLiteral("com.canonical.Unity.LauncherEntry"),
                             QStringLiteral("Update"), &dock, SLOT(Update(QString, QVariantMap))));
        QWidget window;
        auto* bar = new QProgressBar(&window);
        bar->setRange(0, 400);
        cTaskbarProgress taskbar(QStringLiteral("de.tresorix.Tresorix"), QStringLiteral("trx-test-client"));
        taskbar.Follow(*bar, window);
        window.show();
        for (const int value : {0, 1, 3, 4, 200, 400}) {
            bar->setValue(value);
        }
        window.hide();
        QVERIFY(QTest::qWaitFor([&] { return dock.Updates.size() == 5; }, 5000));
        QCOMPARE(dock.AppUri, QStringLiteral("application://de.tresorix.Tresorix.desktop"));
        QCOMPARE(dock.Updates, (QList<QPair<double, bool>>{
                                   {0.0, true}, {0.01, true}, {0.5, true}, {1.0, true}, {0.0, false}}));
    }
};

QTEST_MAIN(TestRunWindowParts)
#include "tst_RunWindowParts.moc"

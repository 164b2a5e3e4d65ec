// SPDX-License-Identifier: GPL-3.0-or-later
// The schedules' systemd units: names as systemd escapes them, command lines and texts quoted by the
// unit-file rules (checked by systemd-analyze where it is installed), the store that writes, lists and
// removes them, and the service manager's D-Bus calls, made to a stand-in on a private bus.
#include "FakeService.h"
#include "PrivateBus.h"
#include "ScheduleTestSupport.h"
#include "support/FaultyFileSystem.h"
#include "ui/common/UserServiceManager.h"
#include "ui/shortcut/ScheduleUnits.h"
#include "ui/shortcut/UnitFileText.h"

#include <QDBusArgument>
#include <QDBusObjectPath>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>
#include <cerrno>

using namespace trx;
using trx::test::ScheduleFixture;

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

cSchedule Daily(const QString& project, QTime time = QTime(2, 30)) {
    cSchedule schedule;
    schedule.ProjectPath = project;
    schedule.Time = time;
    return schedule;
}

QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class TestSchedule : public QObject {
    Q_OBJECT

private slots:
    void unitNamesAreEscapedAsSystemdDoes_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("escaped");
        QTest::newRow("umlaut") << "/home/anna/Sicherung/Täglich.buf"
                                << "home-anna-Sicherung-T\\xc3\\xa4glich.buf";
        QTest::newRow("dash, blank, leading dot") << "/.hidden/a b-c"
                                                  << "\\x2ehidden-a\\x20b\\x2dc";
        QTest::newRow("doubled and trailing slashes") << "//a//b/"
                                                      << "a-b";
        QTest::newRow("root") << "/"
                              << "-";
        QTest::newRow("specials") << "/a/$%\"\\x"
                                  << "a-\\x24\\x25\\x22\\x5cx";
    }

    void unitNamesAreEscapedAsSystemdDoes() {
        QFETCH(QString, path);
        QFETCH(QString, escaped);
        QCOMPARE(EscapeUnitNamePath(path), escaped);
        const QString tool = QStandardPaths::findExecutable(QStringLiteral("systemd-escape"));
        if (!tool.isEmpty()) {
            QProcess escape;
            escape.start(tool, {QStringLiteral("--path"), path});
            QVERIFY(escape.waitForFinished());
            QCOMPARE(QString::fromUtf8(escape.readAllStandardOutput()).trimmed(), escaped);
        }
    }

    void everyProjectHasUnitsOfItsOwn() {
        const QString a = ScheduleUnitName(QStringLiteral("/a/b-c.buf"));
        QCOMPARE(a, QStringLiteral("tresorix-a-b\\x2dc.buf"));
        QVERIFY(a != ScheduleUnitName(QStringLiteral("/a/b/c.buf")));
        QVERIFY(IsScheduleTimerName(a + kTimerSuffix));
        QVERIFY(!IsScheduleTimerName(a + kServiceSuffix));
        // Too long for a unit name: a digest of the path, still one of its own.
        const QString deep = QStringLiteral("/") + QString(300, u'ä') + QStringLiteral(".buf");
        const QString hashed = ScheduleUnitName(deep);
        QVERIFY(hashed.size() + kServiceSuffix.size() <= 255);
        QVERIFY(hashed != ScheduleUnitName(deep + QStringLiteral("x")));
    }

    void commandWordsComeBackWhole_data() {
        QTest::addColumn<QString>("word");
        QTest::newRow("plain") << "/home/anna/Täglich.buf";
        QTest::newRow("blanks and quotes") << "/a b/\"zitiert\" 'auch'.buf";
        QTest::newRow("specifier and variable") << "/x/%h $HOME ${USER} $$.buf";
        QTest::newRow("backslashes") << "/x\\/y\\\\z\\";
        QTest::newRow("control characters") << "/x\ny\tz\x01.buf";
    }

    void commandWordsComeBackWhole() {
        QFETCH(QString, word);
        const QString line =
            QuoteCommandWord(word, true) + u' ' + QuoteCommandWord(word, false) + QStringLiteral(" /h");
        QCOMPARE(SplitCommandLine(line), (QStringList{word, word, QStringLiteral("/h")}));
        QVERIFY(!line.contains(u'\n'));
        QCOMPARE(UnescapeUnitValue(EscapeUnitValue(word)), word);
        QCOMPARE(UnescapeUnitValue(EscapeUnitValue(QStringLiteral(" ") + word + u' ')), u' ' + word + u' ');
        QVERIFY(!UnitTextValue(word).endsWith(u'\\'));
    }

    void unitsOfEveryKindComeBack_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("timerLine");
        QTest::addColumn<QString>("text");
        QTest::newRow("daily") << 0 << "OnCalendar=*-*-* 02:30:00"
                               << "Täglich um 02:30 Uhr";
        QTest::newRow("weekly") << 1 << "OnCalendar=Wed *-*-* 02:30:00"
                                << "Mittwochs um 02:30 Uhr";
        QTest::newRow("at login") << 2 << "OnStartupSec=1min"
                                  << "Bei jeder Anmeldung";
    }

    void unitsOfEveryKindComeBack() {
        QFETCH(int, kind);
        QFETCH(QString, timerLine);
        QFETCH(QString, text);
        cSchedule schedule = Daily(QStringLiteral("/home/anna/Sicherung/Täglich 100%.buf"));
        schedule.When = static_cast<cSchedule::Kind>(kind);
        schedule.Weekday = 3;
        schedule.NotifyAlways = kind == 1;
        const QString timer = QString::fromUtf8(TimerUnitText(schedule));
        const QString service =
            QString::fromUtf8(ServiceUnitText(schedule, QStringLiteral("/usr/bin/trxmain")));
        QVERIFY2(timer.contains(u'\n' + timerLine + u'\n'), qPrintable(timer));
        QCOMPARE(timer.contains(QStringLiteral("Persistent=true")), kind != 2);
        QVERIFY(timer.contains(QStringLiteral("WantedBy=timers.target")));
        QVERIFY2(
            service.contains(QStringLiteral("\nAssertPathExists=/home/anna/Sicherung/Täglich 100%%.buf\n")),
            qPrintable(service));
        QVERIFY2(service.contains(QStringLiteral("Type=oneshot\nExecStart=\"/usr/bin/trxmain\" "
                                                 "\"/home/anna/Sicherung/Täglich 100%%.buf\" /h /s") +
                                  (kind == 1 ? QStringLiteral(" /n\n") : QStringLiteral("\n"))),
                 qPrintable(service));
        cSchedule back;
        QVERIFY(ReadScheduleUnits(timer.toUtf8(), service.toUtf8(), back));
        QCOMPARE(int(back.When), kind);
        QCOMPARE(back.ProjectPath, schedule.ProjectPath);
        QCOMPARE(back.NotifyAlways, schedule.NotifyAlways);
        QCOMPARE(ScheduleText(back), text);
        if (kind != 2) {
            QCOMPARE(back.Time, schedule.Time);
        }
        QVERIFY(!ReadScheduleUnits("[Timer]\nOnCalendar=daily\n", service.toUtf8(), back));  // not ours
    }

    // Paths with blanks, umlauts, quotes, "%" and "$", for the project and for the program itself.
    void writtenUnitsPassSystemdsOwnCheck() {
        const QString analyze = QStandardPaths::findExecutable(QStringLiteral("systemd-analyze"));
        if (analyze.isEmpty()) {
            QSKIP("systemd-analyze is not installed (Debian package systemd)");
        }
        ScheduleFixture f;
        const QString programFolder = Q(f.units.MakeDir("Programm $HOME 100% ä"));
        const QString program = programFolder + QStringLiteral("trx main");
        QFile::copy(QStringLiteral("/bin/true"), program);
        QFile::setPermissions(program, QFile::ReadOwner | QFile::ExeOwner);
        const QStringList projects{QStringLiteral("/home/anna/Sicherung/Täglich.buf"),
                                   QStringLiteral("/media/Mein Stick/\"Fotos\" 50% $USER\\.buf")};
        QStringList files;
        for (int kind = 0; kind < 3; ++kind) {
            for (const QString& project : projects) {
                cSchedule schedule = Daily(project + QString::number(kind));
                schedule.When = static_cast<cSchedule::Kind>(kind);
                QString failure;
                QVERIFY2(f.store.Save(schedule, program, failure), qPrintable(failure));
                const QString name = f.UnitFolder() + u'/' + ScheduleUnitName(schedule.ProjectPath);
                files << name + kTimerSuffix << name + kServiceSuffix;
            }
        }
        QProcess verify;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), Q(f.units.MakeDir("runtime")));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), Q(f.units.Path()));
        verify.setProcessEnvironment(environment);
        verify.setProcessChannelMode(QProcess::MergedChannels);
        verify.start(analyze, QStringList{QStringLiteral("--user"), QStringLiteral("verify")} + files);
        QVERIFY(verify.waitForFinished(60000));
        const QString output = QString::fromUtf8(verify.readAll());
        QVERIFY2(verify.exitCode() == 0 && !output.contains(QStringLiteral("tresorix")), qPrintable(output));
    }

    void theStoreWritesListsAndRemoves() {
        ScheduleFixture f;
        QString failure;
        cSchedule weekly = Daily(QStringLiteral("/b/Wöchentlich.buf"), QTime(19, 0));
        weekly.When = cSchedule::Kind::Weekly;
        weekly.Weekday = 7;
        QVERIFY2(f.store.Save(Daily(QStringLiteral("/a/Täglich.buf")), QStringLiteral("/usr/bin/trxmain"),
                              failure),
                 qPrintable(failure));
        QVERIFY(f.store.Save(weekly, QStringLiteral("/usr/bin/trxmain"), failure));
        const QString daily = ScheduleUnitName(QStringLiteral("/a/Täglich.buf"));
        QCOMPARE(f.manager.Calls,
                 (QStringList{"Reload", "EnableTimer " + daily + ".timer", "Reload",
                              "EnableTimer " + ScheduleUnitName("/b/Wöchentlich.buf") + ".timer"}));
        // A timer of that name that this program did not write is the user's own.
        f.units.WriteFile("systemd/user/tresorix-nacht.timer", "[Timer]\nOnCalendar=*-*-* 02:30:00\n");
        // The manager enables a timer by a link, which it would make itself.
        QVERIFY(QFile::link(f.UnitFolder() + "/" + daily + ".timer",
                            Q(f.units.MakeDir("systemd/user/timers.target.wants")) + daily + ".timer"));

        const QList<cScheduleEntry> listed = f.store.List();
        QCOMPARE(listed.size(), 2);
        QCOMPARE(listed[0].UnitName, daily);
        QVERIFY(listed[0].Enabled);
        QCOMPARE(ScheduleText(listed[1].Schedule), QStringLiteral("Sonntags um 19:00 Uhr"));
        QVERIFY(!listed[1].Enabled);
        QVERIFY(f.store.Find(QStringLiteral("/b/Wöchentlich.buf")).has_value());
        QVERIFY(!f.store.Find(QStringLiteral("/c/Anders.buf")).has_value());

        f.manager.Calls.clear();
        QVERIFY(f.store.Remove(daily, failure));
        QCOMPARE(f.manager.Calls, (QStringList{"DisableTimer " + daily + ".timer", "Reload"}));
        QVERIFY(!QFile::exists(f.UnitFolder() + "/" + daily + ".timer"));
        QVERIFY(!QFile::exists(f.UnitFolder() + "/" + daily + ".service"));
        QCOMPARE(f.store.List().size(), 1);
    }

    void aScheduleTheManagerRefusesLeavesTheFilesAsTheyWere() {
        ScheduleFixture f;
        const QString project = QStringLiteral("/a/Täglich.buf");
        const QString timer = f.UnitFolder() + "/" + ScheduleUnitName(project) + kTimerSuffix;
        QString failure;
        f.manager.Failing = QStringList{QStringLiteral("EnableTimer")};
        QVERIFY(!f.store.Save(Daily(project), QStringLiteral("/usr/bin/trxmain"), failure));
        QVERIFY2(failure.contains(f.manager.Failure), qPrintable(failure));
        QVERIFY(!QFile::exists(timer));
        QVERIFY(!QFile::exists(f.UnitFolder() + "/" + ScheduleUnitName(project) + kServiceSuffix));

        f.manager.Failing.clear();
        QVERIFY(f.store.Save(Daily(project), QStringLiteral("/usr/bin/trxmain"), failure));
        const QByteArray before = Read(timer);
        f.manager.Failing = QStringList{QStringLiteral("Reload")};
        f.manager.Failure = QStringLiteral("Zugriff verweigert");
        QVERIFY(!f.store.Save(Daily(project, QTime(5, 0)), QStringLiteral("/usr/bin/trxmain"), failure));
        QCOMPARE(failure, QStringLiteral("Der Zeitplan kann nicht eingeschaltet werden: Zugriff verweigert"));
        QCOMPARE(Read(timer), before);

        f.manager.Failing = QStringList{QStringLiteral("DisableTimer")};
        QVERIFY(!f.store.Remove(ScheduleUnitName(project), failure));
        QCOMPARE(Read(timer), before);

        // A hand-written unit that happens to have the name is never overwritten.
        f.manager.Failing.clear();
        f.manager.Calls.clear();
        const QString own = QStringLiteral("[Service]\nExecStart=/bin/true\n");
        f.units.WriteFile("systemd/user/tresorix-nacht.service", own.toStdString());
        QVERIFY(!f.store.Save(Daily(QStringLiteral("/nacht")), QStringLiteral("/usr/bin/trxmain"), failure));
        QVERIFY2(failure.contains(QStringLiteral("tresorix-nacht.service")), qPrintable(failure));
        QCOMPARE(QString::fromUtf8(Read(f.UnitFolder() + "/tresorix-nacht.service")), own);
        QVERIFY(f.manager.Calls.isEmpty());
    }

    void aFailedWriteIsReportedAndLeavesNothing() {
        ScheduleFixture f;
        test::FaultyFileSystem faulty(f.fs);
        faulty.Fail(test::FaultyFileSystem::Op::Write, ".timer", ENOSPC);
        cScheduleStore store(f.UnitFolder(), f.manager, faulty);
        QString failure;
        QVERIFY(!store.Save(Daily(QStringLiteral("/a/x.buf")), QStringLiteral("/usr/bin/trxmain"), failure));
        QVERIFY2(failure.contains(QStringLiteral(".timer")), qPrintable(failure));
        QCOMPARE(QDir(f.UnitFolder()).entryList(QDir::Files | QDir::Hidden), QStringList());
        QVERIFY(!f.manager.Calls.contains(QStringLiteral("EnableTimer ") + ScheduleUnitName("/a/x.buf") +
                                          ".timer"));
        // A path no unit file can carry back is refused before anything is written.
        QVERIFY(
            !f.store.Save(Daily(QStringLiteral("relativ.buf")), QStringLiteral("/usr/bin/trxmain"), failure));
        QVERIFY(failure.contains(QStringLiteral("relativ.buf")));
        // systemd would refuse to start it.
        QVERIFY(
            !f.store.Save(Daily(QStringLiteral("/a/x.buf")), QStringLiteral("/opt/\"x\"/trxmain"), failure));
        QVERIFY(failure.contains(QStringLiteral("Anführungszeichen")));
    }

    void theManagerIsAskedOverDBus() {
        test::FakeService systemd;
        test::PrivateBus bus;
        TRX_REQUIRE_PRIVATE_BUS(bus);
        QVERIFY(bus.Offer(systemd, QStringLiteral("org.freedesktop.systemd1"),
                          QStringLiteral("/org/freedesktop/systemd1")));
        QVERIFY(bus.Connect(QStringLiteral("trx-test-user")));
        cSystemdUserManager manager(QStringLiteral("trx-test-user"));
        QString failure;
        QVERIFY(manager.Reload(failure));
        QVERIFY(manager.EnableTimer(QStringLiteral("tresorix-a.timer"), failure));
        QVERIFY(manager.DisableTimer(QStringLiteral("tresorix-a.timer"), failure));
        QVERIFY(manager.MoveIntoScope(QStringLiteral("tresorix-notice-42.scope"), 42, failure));
        QCOMPARE(systemd.Members(), (QStringList{"Reload", "EnableUnitFiles", "RestartUnit", "StopUnit",
                                                 "DisableUnitFiles", "StartTransientUnit"}));
        const auto arguments = [&systemd](const char* member) {
            return systemd.Calls(member).value(0).arguments();
        };
        QCOMPARE(arguments("EnableUnitFiles"),
                 (QList<QVariant>{QStringList{"tresorix-a.timer"}, false, true}));
        QCOMPARE(arguments("RestartUnit"), (QList<QVariant>{"tresorix-a.timer", "replace"}));
        QCOMPARE(arguments("DisableUnitFiles"), (QList<QVariant>{QStringList{"tresorix-a.timer"}, false}));

        const QDBusMessage scope = systemd.Calls(QStringLiteral("StartTransientUnit")).value(0);
        QCOMPARE(scope.signature(), QStringLiteral("ssa(sv)a(sa(sv))"));
        QCOMPARE(scope.arguments().value(0).toString(), QStringLiteral("tresorix-notice-42.scope"));
        QCOMPARE(scope.arguments().value(1).toString(), QStringLiteral("fail"));
        const QDBusArgument properties = scope.arguments().value(2).value<QDBusArgument>();
        QMap<QString, QVariant> byName;
        properties.beginArray();
        while (!properties.atEnd()) {
            QString name;
            QDBusVariant value;
            properties.beginStructure();
            properties >> name >> value;
            properties.endStructure();
            byName.insert(name, value.variant());
        }
        properties.endArray();
        QList<uint> pids;
        byName.value(QStringLiteral("PIDs")).value<QDBusArgument>() >> pids;
        QCOMPARE(pids, QList<uint>{42});

        systemd.Fail(QStringLiteral("RestartUnit"), QStringLiteral("org.freedesktop.systemd1.NoSuchUnit"),
                     QStringLiteral("Unit tresorix-a.timer not found."));
        QVERIFY(!manager.EnableTimer(QStringLiteral("tresorix-a.timer"), failure));
        QCOMPARE(failure, QStringLiteral("Unit tresorix-a.timer not found."));
        // A bus without the manager: said in German, as the dialog shows it.
        test::PrivateBus empty;
        QVERIFY(empty.Connect(QStringLiteral("trx-test-empty")));
        QVERIFY(!cSystemdUserManager(QStringLiteral("trx-test-empty")).Reload(failure));
        QCOMPARE(failure,
                 QStringLiteral("Der Dienstverwalter des Benutzers (systemd --user) ist nicht erreichbar."));
        QVERIFY(!cSystemdUserManager(QStringLiteral("trx-not-connected")).Reload(failure));
        QVERIFY(!failure.isEmpty());
    }
};

QTEST_MAIN(TestSchedule)
#include "tst_Schedule.moc"

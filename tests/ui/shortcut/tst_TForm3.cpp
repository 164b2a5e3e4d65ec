// SPDX-License-Identifier: GPL-3.0-or-later
// The shortcut dialog: what it shows, what it refuses and why, the overwrite question, the launcher its
// "OK" writes, and the schedules of its group "Zeitplan" (in a unit folder of the test's own, switched by
// a recorder).
#include "LauncherReading.h"
#include "ScheduleTestSupport.h"
#include "platform/PosixFileSystem.h"
#include "support/FaultyFileSystem.h"
#include "support/TestDir.h"
#include "ui/common/CommaText.h"
#include "ui/shortcut/ScheduleUnits.h"
#include "ui/shortcut/Shortcut.h"
#include "ui/shortcut/TForm3.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimeEdit>
#include <QTimer>
#include <QtTest>
#include <cstdlib>
#include <functional>

using namespace trx;

namespace {

const QString kProgram = QStringLiteral("/opt/tresorix/trxmain");

QString Q(const std::string& path) {
    return QString::fromStdString(path);
}

// What a message box showed, and where the dialog's focus was while it was open.
struct cSeenBox {
    bool Seen = false;
    QString Caption;
    QString Text;
    QMessageBox::Icon Icon = QMessageBox::NoIcon;
    QWidget* FocusWhileShown = nullptr;
};

// Answers the next message box that opens over `dialog` with `answer` and records it in `seen`.
void AnswerNextBox(TForm3& dialog, cSeenBox& seen, QMessageBox::StandardButton answer) {
    auto* poll = new QTimer(&dialog);
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, &dialog, [&dialog, &seen, answer, poll] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return;
        }
        poll->deleteLater();
        poll->stop();
        seen = {true, box->windowTitle(), box->text(), box->icon(), dialog.focusWidget()};
        box->button(answer)->click();
    });
    poll->start();
}

// Runs the dialog for `project`: `act` fills it in once it is on screen and is expected to end it.
// Returns the dialog's result; a dialog `act` leaves open is cancelled.
int RunDialog(TForm3& dialog, const QString& project, const std::function<void()>& act,
              const QString& label = QString()) {
    QTimer::singleShot(0, &dialog, [&dialog, act] {
        act();
        if (dialog.isVisible()) {
            dialog.reject();
        }
    });
    return dialog.Execute(project, label);
}

QStringList EntriesOf(const std::string& dir) {
    return QDir(Q(dir)).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

}  // namespace

class TestTForm3 : public QObject {
    Q_OBJECT

private slots:
    void showsTheControlsInTheDesktopFont() {
        test::ScheduleFixture schedules;
        TForm3 dialog(schedules.fs, schedules.store);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Projektverknüpfung anlegen"));
        QCOMPARE(dialog.font(), QApplication::font());
        QCOMPARE(dialog.Label_Suffix->text(), QStringLiteral(".desktop"));
        QCOMPARE(dialog.CheckBox_Silent->text(),
                 QStringLiteral("Automatisches Programmende nach Sicherungsvorgang"));
        QCOMPARE(dialog.CheckBox_Hidden->text(), QStringLiteral("Statusfenster ausblenden"));
        QStringList items;
        for (int i = 0; i < dialog.ComboBox_AfterFinishing->count(); ++i) {
            items << dialog.ComboBox_AfterFinishing->itemText(i);
        }
        QCOMPARE(items, (QStringList{"Keine Aktion", "Computer herunterfahren", "Befehl ausführen"}));
        QVERIFY(dialog.Button_OK->isDefault());
        for (const char* name :
             {"Edit_Dir", "Button_SearchDir", "Edit_LinkName", "Edit_Description", "CheckBox_Silent",
              "CheckBox_Hidden", "ComboBox_AfterFinishing", "Edit_ExecLine", "Button_OK", "Button_Cancel"}) {
            QVERIFY2(dialog.findChild<QWidget*>(QString::fromLatin1(name)) != nullptr, name);
        }
    }

    void showingFillsInTheProject_data() {
        QTest::addColumn<QString>("project");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("description");
        QTest::newRow("with label") << "/home/u/Jobs/Daily.BUF"
                                    << "Weekly"
                                    << "Daily"
                                    << "Tresorix-Projekt \"Weekly\"";
        QTest::newRow("without label") << "/home/u/Daily.buf"
                                       << ""
                                       << "Daily"
                                       << "Tresorix-Projekt";
        QTest::newRow("dots in the name") << "/home/u.v/my.project.buf"
                                          << "a \"b\""
                                          << "my.project"
                                          << "Tresorix-Projekt \"a \"b\"\"";
    }

    void showingFillsInTheProject() {
        QFETCH(QString, project);
        QFETCH(QString, label);
        QFETCH(QString, name);
        QFETCH(QString, description);
        test::ScheduleFixture schedules;
        TForm3 dialog(schedules.fs, schedules.store);
        QString shownName, shownDescription;
        RunDialog(
            dialog, project,
            [&] {
                shownName = dialog.Edit_LinkName->text();
                shownDescription = dialog.Edit_Description->text();
            },
            label);
        QCOMPARE(shownName, name);
        QCOMPARE(shownDescription, description);
    }

    // Folder and ticks stay from one opening to the next; the after-finishing choice starts over.
    void folderAndTicksPersist() {
        trx::test::TestDir tmp;
        test::ScheduleFixture schedules;
        TForm3 dialog(schedules.fs, schedules.store);
        QCOMPARE(dialog.Edit_Dir->text(), QString());
        QVERIFY(!dialog.CheckBox_Silent->isChecked() && !dialog.CheckBox_Hidden->isChecked());
        const int first = RunDialog(dialog, "/p/A.buf", [&] {
            dialog.Edit_Dir->setText(Q(tmp.Path()));
            dialog.CheckBox_Silent->setChecked(true);
            dialog.CheckBox_Hidden->setChecked(true);
            dialog.ComboBox_AfterFinishing->setCurrentIndex(TForm3::kRunCommand);
            dialog.Edit_ExecLine->setText("mail -q");
            dialog.Edit_LinkName->setText("anders");
            QTest::keyClick(&dialog, Qt::Key_Escape);
        });
        QCOMPARE(first, TForm3::kResultCancel);
        QCOMPARE(EntriesOf(tmp.Path()), QStringList());

        bool startedOver = false;
        RunDialog(dialog, "/p/B.buf", [&] {
            startedOver = dialog.Edit_Dir->text() == Q(tmp.Path()) && dialog.CheckBox_Silent->isChecked() &&
                          dialog.CheckBox_Hidden->isChecked() &&
                          dialog.ComboBox_AfterFinishing->currentIndex() == 0 &&
                          dialog.Edit_ExecLine->text().isEmpty() && !dialog.Edit_ExecLine->isEnabled() &&
                          dialog.Edit_LinkName->text() == "B";
        });
        QVERIFY(startedOver);
    }

    // Leaving the name or the description cleans the name of the nine invalid characters.
    void invalidCharactersLeaveTheName() {
        test::ScheduleFixture schedules;
        TForm3 dialog(schedules.fs, schedules.store);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        dialog.Edit_LinkName->setFocus();
        dialog.Edit_LinkName->setText("a:b*c?");
        dialog.Edit_Description->setFocus();
        QCOMPARE(dialog.Edit_LinkName->text(), QStringLiteral("abc"));

        dialog.Edit_LinkName->setText("\\1/2:3*4?5\"6<7>8|9 ä");
        dialog.Edit_Description->setText("<a|b>");
        dialog.Edit_Dir->setFocus();  // leaving the description
        QCOMPARE(dialog.Edit_LinkName->text(), QStringLiteral("123456789 ä"));
        QCOMPARE(dialog.Edit_Description->text(), QStringLiteral("<a|b>"));
    }

    void commandLineFollowsTheChoice() {
        test::ScheduleFixture schedules;
        TForm3 dialog(schedules.fs, schedules.store);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QVERIFY(!dialog.Edit_ExecLine->isEnabled());
        dialog.ComboBox_AfterFinishing->setCurrentIndex(TForm3::kShutDown);
        QVERIFY(!dialog.Edit_ExecLine->isEnabled());
        dialog.ComboBox_AfterFinishing->setCurrentIndex(TForm3::kRunCommand);
        QVERIFY(dialog.Edit_ExecLine->isEnabled());
        QCOMPARE(dialog.focusWidget(), dialog.Edit_ExecLine);
        dialog.Edit_ExecLine->setText("mail -q");
        dialog.ComboBox_AfterFinishing->setCurrentIndex(TForm3::kNoAction);
        QVERIFY(!dialog.Edit_ExecLine->isEnabled());
        QCOMPARE(dialog.Edit_ExecLine->text(), QStringLiteral("mail -q"));
    }

    // Each failed check names the fault, puts the focus on its field, keeps the dialog open and writes
    // nothing.
    void invalidInputIsRefused_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("action");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("field");
        const QString noFolder = "Das angegebene Verzeichnis existiert nicht.";
        QTest::newRow("empty folder") << ""
                                      << "A" << 0 << noFolder << "Edit_Dir";
        QTest::newRow("missing folder") << "fehlt"
                                        << "A" << 0 << noFolder << "Edit_Dir";
        QTest::newRow("a file, no folder") << "datei"
                                           << "A" << 0 << noFolder << "Edit_Dir";
        QTest::newRow("folder checked first") << ""
                                              << "" << 2 << noFolder << "Edit_Dir";
        QTest::newRow("name of invalid characters")
            << "."
            << "\\/:*?\"<>|" << 0 << "Sie müssen einen Namen für die Verknüpfung angeben."
            << "Edit_LinkName";
        QTest::newRow("empty command line")
            << "."
            << "A" << 2 << "Sie müssen eine Befehlszeile eingeben oder eine andere Aktion auswählen."
            << "Edit_ExecLine";
    }

    void invalidInputIsRefused() {
        QFETCH(QString, folder);
        QFETCH(QString, name);
        QFETCH(int, action);
        QFETCH(QString, message);
        QFETCH(QString, field);
        trx::test::TestDir tmp;
        tmp.WriteFile("datei", "");
        const QString dir = folder.isEmpty() ? QString() : Q(tmp / folder.toStdString());
        test::ScheduleFixture schedules;
        TForm3 dialog(schedules.fs, schedules.store);
        dialog.ProgramPath = kProgram;
        cSeenBox seen;
        bool stayedOpen = false;
        QWidget* focusAfter = nullptr;
        const int result = RunDialog(dialog, "/p/A.buf", [&] {
            dialog.Edit_Dir->setText(dir);
            dialog.Edit_LinkName->setText(name);
            dialog.ComboBox_AfterFinishing->setCurrentIndex(action);
            dialog.Button_OK->setFocus();
            AnswerNextBox(dialog, seen, QMessageBox::Ok);
            dialog.Button_OK->click();
            stayedOpen = dialog.isVisible();
            focusAfter = dialog.focusWidget();
        });
        QVERIFY(seen.Seen);
        QCOMPARE(seen.Caption, QStringLiteral("Ungültige oder unvollständige Angaben"));
        QCOMPARE(seen.Text, message);
        QCOMPARE(seen.Icon, QMessageBox::Critical);
        QCOMPARE(seen.FocusWhileShown ? seen.FocusWhileShown->objectName() : QString(), field);
        QCOMPARE(focusAfter ? focusAfter->objectName() : QString(), field);
        QVERIFY(stayedOpen);
        QCOMPARE(result, TForm3::kResultCancel);
        QCOMPARE(EntriesOf(tmp.Path()), QStringList{"datei"});
    }

    // The switches the dialog composes, checked in the launcher it writes.
    void launcherCarriesTheChoices_data() {
        QTest::addColumn<bool>("silent");
        QTest::addColumn<bool>("hidden");
        QTest::addColumn<int>("action");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("tail");  // the argument string after the quoted project
        QTest::addColumn<QStringList>("switches");
        QTest::newRow("nothing ticked") << false << false << 0 << ""
                                        << "" << QStringList{};
        QTest::newRow("all and shut down") << true << true << 1 << ""
                                           << " /s /h /a" << QStringList{"/s", "/h", "/a"};
        QTest::newRow("hidden alone") << false << true << 0 << ""
                                      << " /h" << QStringList{"/h"};
        QTest::newRow("command") << false << false << 2 << "C:\\Tools\\mail.exe -q"
                                 << " /a \"C:\\Tools\\mail.exe -q\""
                                 << QStringList{"/a", "C:\\Tools\\mail.exe -q"};
        QTest::newRow("command with quotes") << true << false << 2 << "\"/opt/My Tool/tool\" /x \"a b\""
                                             << " /s /a \"\"\"/opt/My Tool/tool\"\" /x \"\"a b\"\"\""
                                             << QStringList{"/s", "/a", "\"/opt/My Tool/tool\" /x \"a b\""};
        QTest::newRow("command after a shown choice") << false << false << -2 << "mail"
                                                      << "" << QStringList{};
    }

    void launcherCarriesTheChoices() {
        QFETCH(bool, silent);
        QFETCH(bool, hidden);
        QFETCH(int, action);
        QFETCH(QString, command);
        QFETCH(QString, tail);
        QFETCH(QStringList, switches);
        trx::test::TestDir tmp;
        const QString project = Q(tmp / "Eigene \"Dateien\"/$Täglich\\ 5%.BUF");
        test::ScheduleFixture schedules;
        TForm3 dialog(schedules.fs, schedules.store);
        dialog.ProgramPath = kProgram;
        QString composed;
        const int result = RunDialog(
            dialog, project,
            [&] {
                dialog.Edit_Dir->setText(Q(tmp.Path()));
                dialog.CheckBox_Silent->setChecked(silent);
                dialog.CheckBox_Hidden->setChecked(hidden);
                // A command line typed, then another choice made: the hidden text is not written.
                dialog.ComboBox_AfterFinishing->setCurrentIndex(std::abs(action));
                dialog.Edit_ExecLine->setText(command);
                if (action < 0) {
                    dialog.ComboBox_AfterFinishing->setCurrentIndex(TForm3::kNoAction);
                }
                composed = dialog.ComposeArguments();
                dialog.Button_OK->click();
            },
            "Woche");
        QCOMPARE(result, TForm3::kResultOK);
        QCOMPARE(composed, QStringLiteral("\"%1\"").arg(QString(project).replace("\"", "\"\"")) + tail);

        // The backslash is one of the characters a name may not hold.
        const QString link = Q(tmp / "$Täglich 5%.desktop");
        const auto exec = trx::test::ReadExecStrictly(trx::test::RawLauncherValue(link, "Exec"));
        QVERIFY2(exec.Problem.isEmpty(), qPrintable(exec.Problem));
        QCOMPARE(exec.Items, (QStringList{kProgram, project} + switches));

        QString arguments, description;
        QVERIFY(ReadShortcut(schedules.fs, link, nullptr, &arguments, &description));
        QCOMPARE(arguments, composed);
        QCOMPARE(SplitCommaText(arguments).first(), project);
        QCOMPARE(description, QStringLiteral("Tresorix-Projekt \"Woche\""));
        QVERIFY(QFileInfo(link).isExecutable());
    }

    // The name is used as typed: cleaned, and with the suffix added even when it already ends in it.
    void nameIsCleanedAndSuffixed() {
        trx::test::TestDir tmp;
        test::ScheduleFixture schedules;
        TForm3 dialog(schedules.fs, schedules.store);
        dialog.ProgramPath = kProgram;
        RunDialog(dialog, "/p/A.buf", [&] {
            dialog.Edit_Dir->setText(Q(tmp.Path()).chopped(1));  // without its trailing slash
            dialog.Edit_LinkName->setText("a:b*c?.desktop");
            dialog.Button_OK->click();
        });
        QCOMPARE(EntriesOf(tmp.Path()), QStringList{"abc.desktop.desktop"});
    }

    void existingLauncherIsReplacedOnlyOnYes() {
        trx::test::TestDir tmp;
        const std::string link = tmp.WriteFile("A.desktop", "alt");
        test::ScheduleFixture schedules;
        TForm3 dialog(schedules.fs, schedules.store);
        dialog.ProgramPath = kProgram;
        dialog.Edit_Dir->setText(Q(tmp.Path()));

        cSeenBox seen;
        bool stayedOpen = false;
        int result = RunDialog(dialog, "/p/A.buf", [&] {
            AnswerNextBox(dialog, seen, QMessageBox::No);
            dialog.Button_OK->click();
            stayedOpen = dialog.isVisible();
        });
        QVERIFY(seen.Seen);
        QCOMPARE(seen.Caption, QStringLiteral("Verknüpfung überschreiben"));
        QCOMPARE(seen.Text,
                 QStringLiteral("Eine Verknüpfung mit dem angegebenen Namen existiert bereits. Soll die "
                                "vorhandene Verknüpfung überschrieben werden?"));
        QCOMPARE(seen.Icon, QMessageBox::Question);
        QVERIFY(stayedOpen);
        QCOMPARE(result, TForm3::kResultCancel);
        QCOMPARE(trx::test::ReadWholeFile(link), std::string("alt"));

        seen = {};
        result = RunDialog(dialog, "/p/A.buf", [&] {
            AnswerNextBox(dialog, seen, QMessageBox::Yes);
            dialog.Button_OK->click();
        });
        QVERIFY(seen.Seen);
        QCOMPARE(result, TForm3::kResultOK);
        QString arguments;
        QVERIFY(ReadShortcut(schedules.fs, Q(link), nullptr, &arguments));
        QCOMPARE(arguments, QStringLiteral("\"/p/A.buf\""));
        QCOMPARE(EntriesOf(tmp.Path()), QStringList{"A.desktop"});
    }

    // A launcher that could not be written is reported, and the dialog stays open for another try.
    void failedWriteIsReported() {
        trx::test::TestDir tmp;
        platform::PosixFileSystem real;
        trx::test::FaultyFileSystem faulty(real);
        faulty.Fail(trx::test::FaultyFileSystem::Op::Write, ".trx-", ENOSPC);
        test::ScheduleFixture schedules;
        TForm3 dialog(faulty, schedules.store);
        dialog.ProgramPath = kProgram;
        cSeenBox seen;
        bool stayedOpen = false;
        const int result = RunDialog(dialog, "/p/A.buf", [&] {
            dialog.Edit_Dir->setText(Q(tmp.Path()));
            AnswerNextBox(dialog, seen, QMessageBox::Ok);
            dialog.Button_OK->click();
            stayedOpen = dialog.isVisible();
        });
        QVERIFY(seen.Seen);
        QCOMPARE(seen.Caption, QStringLiteral("Verknüpfung nicht angelegt"));
        QVERIFY2(seen.Text.contains(Q(tmp / "A.desktop")), qPrintable(seen.Text));
        QCOMPARE(seen.Icon, QMessageBox::Critical);
        QVERIFY(stayedOpen);
        QCOMPARE(result, TForm3::kResultCancel);
        QCOMPARE(EntriesOf(tmp.Path()), QStringList());
    }

    // The folder browser opens on the desktop (or the home folder) and offers the applications menu.
    void folderBrowserFillsTheFolder() {
        trx::test::TestDir tmp;
        const QString chosen = Q(tmp.MakeDir("Ziel")).chopped(1);
        test::ScheduleFixture schedules;
        TForm3 dialog(schedules.fs, schedules.store);
        dialog.Edit_Dir->setText("vorher");
        QString title, startedIn;
        RunDialog(dialog, "/p/A.buf", [&] {
            for (bool accept : {false, true}) {
                QTimer::singleShot(50, &dialog, [&, accept] {
                    auto* browser = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                    if (browser == nullptr) {
                        return;
                    }
                    title = browser->windowTitle();
                    startedIn = browser->directory().absolutePath();
                    if (accept) {
                        browser->setDirectory(chosen);  // a folder browser returns the folder it shows
                        static_cast<QDialog*>(browser)->accept();
                    } else {
                        browser->reject();
                    }
                });
                dialog.Button_SearchDir->click();
                if (!accept) {
                    QCOMPARE(dialog.Edit_Dir->text(), QStringLiteral("vorher"));
                }
            }
        });
        QCOMPARE(title, QStringLiteral("Geben Sie den Ort der Verknüpfung an:"));
        const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
        QCOMPARE(startedIn, QFileInfo(desktop).isDir() ? QDir(desktop).absolutePath() : QDir::homePath());
        QCOMPARE(dialog.Edit_Dir->text(), chosen);
    }

    void theScheduleControlsFollowTheKind() {
        test::ScheduleFixture schedules;
        TForm3 dialog(schedules.fs, schedules.store);
        const QList<std::tuple<int, bool, bool>> expected{
            {TForm3::kDaily, false, true}, {TForm3::kWeekly, true, true}, {TForm3::kAtLogin, false, false}};
        for (const auto& [kind, weekday, time] : expected) {
            dialog.ComboBox_ScheduleKind->setCurrentIndex(kind);
            QCOMPARE(dialog.ComboBox_Weekday->isEnabled(), weekday);
            QCOMPARE(dialog.TimeEdit_Schedule->isEnabled(), time);
        }
        QCOMPARE(dialog.ComboBox_ScheduleKind->count(), 3);
        QCOMPARE(dialog.ComboBox_Weekday->itemText(6), QStringLiteral("Sonntag"));
    }

    // Written, listed (the project's own in bold), replaced only on Yes, removed only on Yes.
    void aScheduleIsWrittenListedReplacedAndRemoved() {
        test::ScheduleFixture schedules;
        TForm3 dialog(schedules.fs, schedules.store);
        dialog.ProgramPath = kProgram;
        const QString project = QStringLiteral("/p/Täglich.buf");
        const QString unit = ScheduleUnitName(project);
        cSeenBox seen;
        RunDialog(dialog, project, [&] {
            dialog.ComboBox_ScheduleKind->setCurrentIndex(TForm3::kWeekly);
            dialog.ComboBox_Weekday->setCurrentIndex(2);
            dialog.TimeEdit_Schedule->setTime(QTime(19, 0));
            dialog.CheckBox_NotifyAlways->setChecked(true);
            dialog.Button_SaveSchedule->click();
            QCOMPARE(dialog.ListBox_Schedules->count(), 1);
            QCOMPARE(dialog.ListBox_Schedules->item(0)->text(),
                     QStringLiteral("Mittwochs um 19:00 Uhr – /p/Täglich.buf (ausgeschaltet)"));
            QVERIFY(dialog.ListBox_Schedules->item(0)->font().bold());
            QVERIFY(dialog.Button_RemoveSchedule->isEnabled());

            dialog.ComboBox_ScheduleKind->setCurrentIndex(TForm3::kDaily);
            AnswerNextBox(dialog, seen, QMessageBox::No);
            dialog.Button_SaveSchedule->click();
            QCOMPARE(seen.Caption, QStringLiteral("Zeitplan ersetzen"));
            QVERIFY(seen.Text.contains(QStringLiteral("Mittwochs um 19:00 Uhr")));
            QCOMPARE(schedules.store.Find(project)->Schedule.When, cSchedule::Kind::Weekly);
            AnswerNextBox(dialog, seen, QMessageBox::Yes);
            dialog.Button_SaveSchedule->click();
            QCOMPARE(schedules.store.Find(project)->Schedule.When, cSchedule::Kind::Daily);
            QVERIFY(
                dialog.ListBox_Schedules->item(0)->text().startsWith(QStringLiteral("Täglich um 19:00 Uhr")));
        });
        QCOMPARE(schedules.manager.Calls, (QStringList{"Reload", "EnableTimer " + unit + ".timer", "Reload",
                                                       "EnableTimer " + unit + ".timer"}));
        QVERIFY(schedules.store.Find(project)->Schedule.NotifyAlways);
        const std::string service = trx::test::ReadWholeFile(
            (schedules.UnitFolder() + u'/' + unit + QStringLiteral(".service")).toStdString());
        QVERIFY2(service.find("ExecStart=\"/opt/tresorix/trxmain\" \"/p/Täglich.buf\" /h /s /n\n") !=
                     std::string::npos,
                 service.c_str());

        // The next showing finds the schedule and presets the group from it.
        RunDialog(dialog, project, [&] {
            dialog.ListBox_Schedules->setCurrentRow(0);
            AnswerNextBox(dialog, seen, QMessageBox::No);
            dialog.Button_RemoveSchedule->click();
            QCOMPARE(seen.Caption, QStringLiteral("Zeitplan entfernen"));
            QCOMPARE(dialog.ListBox_Schedules->count(), 1);
            AnswerNextBox(dialog, seen, QMessageBox::Yes);
            dialog.Button_RemoveSchedule->click();
            QCOMPARE(dialog.ListBox_Schedules->count(), 0);
            QVERIFY(!dialog.Button_RemoveSchedule->isEnabled());
        });
        QCOMPARE(dialog.ComboBox_ScheduleKind->currentIndex(), int(TForm3::kDaily));
        QCOMPARE(dialog.TimeEdit_Schedule->time(), QTime(19, 0));
        QVERIFY(!schedules.store.Find(project).has_value());
        QCOMPARE(schedules.manager.Calls.mid(4), (QStringList{"DisableTimer " + unit + ".timer", "Reload"}));
    }

    void aScheduleThatCannotBeSwitchedOnIsReportedAndLeavesNothing() {
        test::ScheduleFixture schedules;
        schedules.manager.Failing = QStringList{QStringLiteral("Reload")};
        schedules.manager.Failure = QStringLiteral("Der Sitzungsbus (D-Bus) ist nicht erreichbar.");
        TForm3 dialog(schedules.fs, schedules.store);
        dialog.ProgramPath = kProgram;
        cSeenBox seen;
        RunDialog(dialog, QStringLiteral("/p/A.buf"), [&] {
            AnswerNextBox(dialog, seen, QMessageBox::Ok);
            dialog.Button_SaveSchedule->click();
            QCOMPARE(dialog.ListBox_Schedules->count(), 0);
        });
        QCOMPARE(seen.Caption, QStringLiteral("Zeitplan nicht angelegt"));
        QCOMPARE(seen.Icon, QMessageBox::Critical);
        QVERIFY2(seen.Text.contains(schedules.manager.Failure), qPrintable(seen.Text));
        QCOMPARE(QDir(schedules.UnitFolder()).entryList(QDir::Files), QStringList());
    }
};

QTEST_MAIN(TestTForm3)
#include "tst_TForm3.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// End to end: a project built in the real main window, saved, and backed up with "Backup starten", the
// modal run window driven as a user would: wait for the end of the run, then "Schließen".
#include "MainWindowTestSupport.h"
#include "engine/Protocol.h"
#include "engine/RunOptions.h"
#include "model/ProjectFile.h"
#include "platform/PosixFileSystem.h"
#include "ui/main/ProjectCommands.h"
#include "ui/main/ProtocolTab.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>

using namespace trx;
using trx::test::MainWindowFixture;
using trx::test::Q;
using trx::test::ReadWholeFile;
using trx::test::RunWindowDriver;

class TestMainWindowBackup : public QObject {
    Q_OBJECT

private slots:
    void aProjectBuiltAndSavedInTheWindowIsBackedUpWithF5() {
        MainWindowFixture f;
        f.window.CreateDialogs();
        TForm2& run = *f.window.RunWindow();
        const std::string ziel = f.tmp.MakeDir("ziel");
        const std::string quelle1 = f.tmp.MakeDir("quelle1");
        const std::string quelle2 = f.tmp.MakeDir("quelle2");
        f.tmp.WriteFile("quelle1/a.txt", "alpha");
        f.tmp.WriteFile("quelle1/unter/b.txt", "beta");
        f.tmp.WriteFile("quelle2/c.txt", "gamma");

        f.window.show();
        f.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f.window));
        f.dialogs.Directories = {Q(ziel), Q(quelle1), Q(quelle2)};
        f.window.Button_AddDest->click();
        f.window.Button_AddSource->click();
        f.window.Button_AddSource->click();
        QCOMPARE(f.ModelOutline(), (QStringList{Q(ziel), "  " + Q(quelle1), "  " + Q(quelle2)}));
        f.window.Edit_Description->setText(QStringLiteral("Ende-zu-Ende"));
        const std::string projectPath = f.tmp / "projekt.buf";
        f.dialogs.SaveAnswers = {Q(projectPath)};
        f.window.Action_SaveAs->trigger();
        QVERIFY(f.tmp.Exists("projekt.buf"));
        QVERIFY(!f.window.TabSheet_Protocol->IsShown());  // no run yet, no protocol

        // Left over from an earlier run: the command resets both before it shows the window.
        cRunOptions earlier;
        earlier.Action = AfterFinishing::RunCommand;
        earlier.Command = "true";
        run.SetRunOptions(earlier);

        RunWindowDriver driver(run);
        QTest::keyClick(&f.window, Qt::Key_F5);
        QVERIFY(driver.SawModalRun);
        QVERIFY(!driver.TimedOut);
        QVERIFY(!run.isVisible());
        QCOMPARE(driver.FileShown, Q(projectPath));
        QCOMPARE(driver.DescriptionShown, QStringLiteral("Ende-zu-Ende"));
        QCOMPARE(run.ComboBox_AfterFinishing->currentIndex(), static_cast<int>(AfterFinishing::None));
        QCOMPARE(run.RunOptions().Action, AfterFinishing::None);
        QVERIFY(run.RunOptions().Command.empty());
        QCOMPARE(f.services.shutdown.Requests, 0);
        QVERIFY(f.services.launcher.Items.isEmpty());

        // The copies.
        QCOMPARE(f.tmp.ReadFile("ziel/a.txt"), std::string("alpha"));
        QCOMPARE(f.tmp.ReadFile("ziel/unter/b.txt"), std::string("beta"));
        QCOMPARE(f.tmp.ReadFile("ziel/c.txt"), std::string("gamma"));
        // The protocol beside the project.
        const std::string protocol = ReadWholeFile(ProtocolFileName(projectPath));
        QVERIFY(protocol.find("Der Sicherungsvorgang hat begonnen.") != std::string::npos);
        QVERIFY(protocol.find("Der Sicherungsvorgang ist beendet.") != std::string::npos);
        // The project file was written again with the catalogues of the run.
        cProject saved;
        platform::PosixFileSystem fs;
        LoadProject(saved, projectPath, fs);
        QCOMPARE(saved.Description, std::string("Ende-zu-Ende"));
        QCOMPARE(saved.Destinations.Count(), 1);
        QCOMPARE(saved.Destinations[0]->Sources.Count(), 2);
        QCOMPARE(saved.Destinations[0]->Sources[0]->TotalSize, std::uint64_t{9});
        QCOMPARE(saved.Destinations[0]->Sources[1]->TotalSize, std::uint64_t{5});
        // The window shows the model again.
        QCOMPARE(f.window.windowTitle(), QStringLiteral("Tresorix - [") + Q(projectPath) + u']');
        QCOMPARE(f.TreeOutline(), f.ModelOutline());
        QVERIFY(f.dialogs.Errors.isEmpty());
        // The run's protocol is on the last tab.
        QCOMPARE(f.window.PageControl->count(), 5);
        QCOMPARE(f.window.PageControl->widget(4), f.window.TabSheet_Protocol);
        const QString shown = f.window.TabSheet_Protocol->Memo_Protocol->toPlainText();
        QVERIFY(shown.startsWith(QString::fromUtf8(protocol.substr(0, protocol.find("\r\n")))));
        QVERIFY(shown.contains(QStringLiteral("Der Sicherungsvorgang ist beendet.")));
        QVERIFY(!shown.contains(u'\r'));
    }

    void anUnsavedProjectRunsWithoutProtocolAndStaysUnsaved() {
        MainWindowFixture f;
        f.window.CreateDialogs();
        const std::string ziel = f.tmp.MakeDir("ziel");
        const std::string quelle = f.tmp.MakeDir("quelle");
        f.tmp.WriteFile("quelle/d.txt", "delta");
        TDirNode* destination = f.AddDestination(ziel);
        f.AddSource(destination, quelle);

        RunWindowDriver driver(*f.window.RunWindow());
        f.window.Action_StartBackup->trigger();
        QVERIFY(driver.SawModalRun);
        QVERIFY(!driver.TimedOut);
        QCOMPARE(driver.FileShown, QStringLiteral("(nicht gespeichert)"));
        QCOMPARE(f.tmp.ReadFile("ziel/d.txt"), std::string("delta"));
        QCOMPARE(f.window.windowTitle(), QStringLiteral("Tresorix"));
        QVERIFY(f.project.ProjectPath.empty());
        QVERIFY(!f.window.RunWindow()->Button_Protocol->isEnabled());
        QVERIFY(!f.window.TabSheet_Protocol->IsShown());
        QCOMPARE(f.TreeOutline(), f.ModelOutline());
        // The run's catalogue stays in memory for the next save.
        QCOMPARE(f.project.Destinations[0]->Sources[0]->TotalSize, std::uint64_t{5});
    }
};

QTEST_MAIN(TestMainWindowBackup)
#include "tst_MainWindowBackup.moc"

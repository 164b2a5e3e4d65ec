// SPDX-License-Identifier: GPL-3.0-or-later
// The actions after a run: choosing them in the run window, splitting the command line, and carrying them
// out through recorders (no test ever reaches the real shutdown request).
#include "RunWindowTestSupport.h"
#include "ui/common/CommaText.h"

#include <QComboBox>
#include <QInputDialog>
#include <QLabel>
#include <QPushButton>

using namespace trx;
using trx::test::DuringTheRun;
using trx::test::RunWindowFixture;
using trx::test::Silent;
using trx::test::WithAction;
using trx::test::WithNextModal;

namespace {

// Picks `index` in the list the way a user does, answering the input box with `answer`: a text to
// confirm, or a null string to cancel. Returns the box's caption, prompt and prefilled text.
QStringList Pick(TForm2& window, AfterFinishing action, const QString& answer) {
    QStringList seen;
    const int index = static_cast<int>(action);
    if (action == AfterFinishing::RunCommand) {
        WithNextModal([&seen, answer](QWidget* modal) {
            auto* box = qobject_cast<QInputDialog*>(modal);
            QVERIFY(box != nullptr);
            seen << box->windowTitle() << box->labelText() << box->textValue();
            if (answer.isNull()) {
                box->reject();
            } else {
                box->setTextValue(answer);
                box->accept();
            }
        });
    }
    window.ComboBox_AfterFinishing->setCurrentIndex(index);
    emit window.ComboBox_AfterFinishing->activated(index);
    return seen;
}

}  // namespace

class TestAfterFinishing : public QObject {
    Q_OBJECT

private slots:
    void theCommandLineIsSplitLikeACommaText_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("quoted program with blanks")
            << "\"C:\\Program Files\\Tool\\tool.exe\" /x \"a b\""
            << QStringList{"C:\\Program Files\\Tool\\tool.exe", "/x", "a b"};
        QTest::newRow("program and file")
            << "notepad.exe C:\\Logs\\run.txt" << QStringList{"notepad.exe", "C:\\Logs\\run.txt"};
        QTest::newRow("a comma separates") << "prog a,b" << QStringList{"prog", "a", "b"};
        QTest::newRow("comma with blanks around it") << "prog a , b" << QStringList{"prog", "a", "b"};
        QTest::newRow("two commas give an empty item") << "a,,b" << QStringList{"a", "", "b"};
        QTest::newRow("comma at the very end") << "prog a," << QStringList{"prog", "a", ""};
        QTest::newRow("comma and blank at the end") << "prog a, " << QStringList{"prog", "a"};
        QTest::newRow("leading and trailing blanks, tabs") << " \t prog\t a  " << QStringList{"prog", "a"};
        QTest::newRow("empty") << "" << QStringList{};
        QTest::newRow("blanks only") << "   " << QStringList{};
        QTest::newRow("doubled quotes inside quotes")
            << "\"say \"\"hi\"\"\" x" << QStringList{"say \"hi\"", "x"};
        QTest::newRow("unclosed quote runs to the end") << "prog \"a b" << QStringList{"prog", "a b"};
        QTest::newRow("quote in the middle of an item") << "a\"b c" << QStringList{"a\"b", "c"};
        QTest::newRow("text right after a closing quote") << "\"a\"b" << QStringList{"a", "b"};
        QTest::newRow("empty quotes") << "prog \"\"" << QStringList{"prog", ""};
        QTest::newRow("NUL ends the text") << QString::fromUtf16(u"prog a\0b", 8) << QStringList{"prog", "a"};
        QTest::newRow("umlauts are ordinary characters")
            << "/usr/bin/prüfe Übersicht" << QStringList{"/usr/bin/prüfe", "Übersicht"};
    }

    void theCommandLineIsSplitLikeACommaText() {
        QFETCH(QString, command);
        QFETCH(QStringList, items);
        QCOMPARE(SplitCommaText(command), items);
    }

    void theParameterTextQuotesWhatNeedsQuoting() {
        QCOMPARE(ParameterText({"/x", "a b"}), QStringLiteral("/x \"a b\""));
        QCOMPARE(ParameterText({"C:\\Logs\\run.txt"}), QStringLiteral("C:\\Logs\\run.txt"));
        QCOMPARE(ParameterText({"a", "b"}), QStringLiteral("a b"));
        QCOMPARE(ParameterText({"say \"hi\""}), QStringLiteral("\"say \"\"hi\"\"\""));
        QCOMPARE(ParameterText({"tab\there"}), QStringLiteral("\"tab\there\""));
        QCOMPARE(ParameterText({}), QString());
        QCOMPARE(ParameterText({"ä,ö"}), QStringLiteral("ä,ö"));
    }

    void pickingTheCommandAsksForItAndACancelFallsBackToNoAction() {
        RunWindowFixture f;
        f.window.SetRunOptions(WithAction(AfterFinishing::None, "alt.sh"));
        const QStringList seen = Pick(f.window, AfterFinishing::RunCommand, QString());
        QCOMPARE(seen, (QStringList{"Befehl ausführen", "Geben Sie die Befehlszeile ein:", "alt.sh"}));
        QCOMPARE(f.window.ComboBox_AfterFinishing->currentIndex(), int(AfterFinishing::None));
        QCOMPARE(f.window.RunOptions().Action, AfterFinishing::None);
        QCOMPARE(f.window.RunOptions().Command, std::string("alt.sh"));

        Pick(f.window, AfterFinishing::RunCommand, QStringLiteral(""));
        QCOMPARE(f.window.ComboBox_AfterFinishing->currentIndex(), int(AfterFinishing::None));
        QCOMPARE(f.window.RunOptions().Command, std::string());

        Pick(f.window, AfterFinishing::RunCommand, QStringLiteral("prog a,b"));
        QCOMPARE(f.window.ComboBox_AfterFinishing->currentIndex(), int(AfterFinishing::RunCommand));
        QCOMPARE(f.window.RunOptions().Action, AfterFinishing::RunCommand);
        QCOMPARE(f.window.RunOptions().Command, std::string("prog a,b"));

        // Only "Befehl ausführen" asks.
        Pick(f.window, AfterFinishing::ShutDown, QString());
        QCOMPARE(f.window.ComboBox_AfterFinishing->currentIndex(), int(AfterFinishing::ShutDown));
        QCOMPARE(f.window.RunOptions().Action, AfterFinishing::ShutDown);

        // Options set from outside (the command line) show in the list.
        f.window.SetRunOptions(WithAction(AfterFinishing::RunCommand, "x"));
        QCOMPARE(f.window.ComboBox_AfterFinishing->currentIndex(), int(AfterFinishing::RunCommand));
    }

    void theCommandRunsAfterTheRunWithItsItemsAsArguments() {
        RunWindowFixture f;
        f.AddSource(f.AddDestination("dst"), "src");
        DuringTheRun(f.window, [&] {
            Pick(f.window, AfterFinishing::RunCommand,
                 QStringLiteral("\"/opt/Mein Werkzeug/tool\" /x \"a b\""));
        });
        f.RunShown();
        QCOMPARE(f.launcher.Items, QStringList{"/opt/Mein Werkzeug/tool"});
        QCOMPARE(f.launcher.Arguments.value(0), (QStringList{"/x", "a b"}));
        QCOMPARE(ParameterText(f.launcher.Arguments.value(0)), QStringLiteral("/x \"a b\""));
        QCOMPARE(f.EndApplicationCalls, 1);
        QCOMPARE(f.shutdown.Requests, 0);
        QVERIFY(!f.window.ComboBox_AfterFinishing->isEnabled());
    }

    void anEmptyCommandFromTheCommandLineStartsNothingButEndsTheApplication() {
        RunWindowFixture f;
        f.AddSource(f.AddDestination("dst"), "src");
        f.window.SetRunOptions(WithAction(AfterFinishing::RunCommand));
        f.RunShown();
        QVERIFY(f.launcher.Items.isEmpty());
        QCOMPARE(f.EndApplicationCalls, 1);
    }

    void aCancelledRunStillShutsDown() {
        RunWindowFixture f;
        f.AddSource(f.AddDestination("dst"), "src", 5);
        f.window.SetRunOptions(WithAction(AfterFinishing::ShutDown));
        DuringTheRun(f.window, [&] { f.window.Button_Cancel->click(); });
        f.RunShown();
        QVERIFY(f.window.LastRun().Cancelled);
        QCOMPARE(f.shutdown.Requests, 1);
        QCOMPARE(f.EndApplicationCalls, 1);
    }

    void changingTheListDuringTheRunPreventsTheShutdown() {
        RunWindowFixture f;
        f.AddSource(f.AddDestination("dst"), "src", 3);
        f.window.SetRunOptions(WithAction(AfterFinishing::ShutDown));
        bool enabledDuringRun = false;
        DuringTheRun(f.window, [&] {
            enabledDuringRun = f.window.ComboBox_AfterFinishing->isEnabled();
            Pick(f.window, AfterFinishing::None, QString());
        });
        f.RunShown();
        QVERIFY(enabledDuringRun);
        QCOMPARE(f.shutdown.Requests, 0);
        QCOMPARE(f.EndApplicationCalls, 0);
        QVERIFY(f.window.isVisible());  // nothing ends: the window shows the result
    }

    void theComputerStaysAwakeWhileTheRunCopiesButMaySleepForTheAction() {
        RunWindowFixture f;
        f.AddSource(f.AddDestination("dst"), "src", 3);
        f.window.SetRunOptions(WithAction(AfterFinishing::ShutDown));
        bool heldDuringRun = false;
        bool heldAtShutdown = true;
        DuringTheRun(f.window, [&] { heldDuringRun = f.sleep.Held; });
        f.shutdown.OnRequest = [&] { heldAtShutdown = f.sleep.Held; };
        f.RunShown();
        QVERIFY(heldDuringRun);
        QVERIFY(!heldAtShutdown);
        QVERIFY(!f.sleep.Held);
        QCOMPARE(f.sleep.Reasons, QStringList{"Ein Sicherungsvorgang kopiert gerade Dateien."});

        // Refused, the request changes nothing about the run.
        f.sleep.Grant = false;
        f.window.ComboBox_AfterFinishing->setCurrentIndex(int(AfterFinishing::None));
        f.AddSource(f.project.Destinations[0], "src2", 2);
        f.RunShown();
        QVERIFY(!f.window.LastRun().Cancelled);
        QCOMPARE(f.window.LastRun().ProblemCount, 0);
        QCOMPARE(f.window.Controller().FilesCompared(), 5);
        QCOMPARE(f.sleep.Reasons.size(), 2);
    }

    void aSilentRunWithAnActionEndsTheApplicationAndClosesTheWindow() {
        RunWindowFixture f;
        f.AddSource(f.AddDestination("dst"), "src");
        f.window.SetRunOptions(Silent(WithAction(AfterFinishing::ShutDown)));
        f.RunShown();
        QCOMPARE(f.shutdown.Requests, 1);
        QCOMPARE(f.EndApplicationCalls, 1);
        QVERIFY(!f.window.isVisible());
        QVERIFY(f.window.ComboBox_AfterFinishing->isEnabled());  // a silent run has no end-of-run display
    }
};

QTEST_MAIN(TestAfterFinishing)
#include "tst_AfterFinishing.moc"

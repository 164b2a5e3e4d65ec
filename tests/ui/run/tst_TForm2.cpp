// SPDX-License-Identifier: GPL-3.0-or-later
// The run window: its layout, the preparation, the progress display, cancelling and closing, silent and
// hidden runs, the protocol viewer and a failed save.
#include "RunWindowTestSupport.h"
#include "model/ProjectFile.h"
#include "platform/PosixFileSystem.h"
#include "support/FaultyFileSystem.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <cerrno>
#include <csignal>

using namespace trx;
using trx::test::DuringTheRun;
using trx::test::RunWindowFixture;
using trx::test::Silent;
using trx::test::WithAction;
using trx::test::WithNextModal;

class TestTForm2 : public QObject {
    Q_OBJECT

private slots:
    void theWindowHasItsNamedControlsAndCaptions() {
        RunWindowFixture f;
        TForm2& w = f.window;
        QCOMPARE(w.windowTitle(), QStringLiteral("Status"));
        QCOMPARE(w.font(), QApplication::font());  // the desktop's font, as every window
        for (const char* name :
             {"Edit_File", "Edit_Description", "Memo_Comments", "Image_Folder", "Label_MainSource",
              "Label_SubSource", "Label_Arrows", "Label_MainDestination", "Label_File", "Label10",
              "ProgressBar_File", "ProgressBar", "Label_TimeElapsed", "Label_TimeRest", "Label_FilesCompared",
              "Label_FilesCopied", "ComboBox_AfterFinishing", "Button_Protocol", "Button_Cancel"}) {
            QVERIFY2(w.findChild<QWidget*>(QString::fromLatin1(name)) != nullptr, name);
        }
        // At least the width of a small font, and wide enough for the longest end-of-run line in bold.
        QVERIFY(w.Label_MainSource->width() >= 249);
        QVERIFY(w.Label_MainSource->width() >=
                w.Label_MainSource->fontMetrics().horizontalAdvance(
                    QStringLiteral("Der Sicherungsvorgang wurde abgebrochen.")));
        QCOMPARE(w.Label_MainDestination->width(), w.Label_MainSource->width());
        QCOMPARE(w.Label_SubSource->width(), w.Label_MainSource->width() - 16);
        QVERIFY(w.Label_MainSource->font().bold());
        QVERIFY(w.Label_FilesCopied->font().bold());
        QCOMPARE(w.Label_Arrows->text(), QStringLiteral(">>>"));
        QCOMPARE(w.Label10->text(), QStringLiteral("Dateifortschritt:"));
        QVERIFY(w.Edit_File->isReadOnly() && w.Edit_Description->isReadOnly() &&
                w.Memo_Comments->isReadOnly());
        QCOMPARE(w.ComboBox_AfterFinishing->count(), 3);
        QCOMPARE(w.ComboBox_AfterFinishing->itemText(0), QStringLiteral("Keine Aktion"));
        QCOMPARE(w.ComboBox_AfterFinishing->itemText(1), QStringLiteral("Computer herunterfahren"));
        QCOMPARE(w.ComboBox_AfterFinishing->itemText(2), QStringLiteral("Befehl ausführen"));
        QCOMPARE(w.Button_Protocol->text(), QStringLiteral("Protokoll anzeigen"));
        QCOMPARE(w.Timer_Backup->interval(), 1);
        QCOMPARE(w.Timer_ShowTime->interval(), 1000);
        QVERIFY(!w.Timer_Backup->isActive() && !w.Timer_ShowTime->isActive());
        QCOMPARE(w.RunOptions().Action, AfterFinishing::None);
        QVERIFY(w.RunOptions().Command.empty());
    }

    void thePreparationResetsTheDisplayAndSizesTheBarsToTheirWidth() {
        RunWindowFixture f;
        f.project.Description = "Tägliche Sicherung";
        f.project.Comments = "erste Zeile\r\nzweite Zeile";
        f.AddSource(f.AddDestination("dst"), "src");
        TForm2& w = f.window;
        w.Label_File->setText(QStringLiteral("alt"));
        w.Button_Protocol->setEnabled(true);
        w.Prepare();
        QCOMPARE(w.Edit_File->text(), QStringLiteral("(nicht gespeichert)"));
        QCOMPARE(w.Edit_Description->text(), QStringLiteral("Tägliche Sicherung"));
        QCOMPARE(w.Memo_Comments->toPlainText(), QStringLiteral("erste Zeile\nzweite Zeile"));
        QVERIFY(w.Label_File->text().isEmpty());
        QVERIFY(!w.Label10->isEnabled());
        QVERIFY(!w.Button_Protocol->isEnabled());
        QCOMPARE(w.Button_Cancel->text(), QStringLiteral("Abbrechen"));
        QCOMPARE(w.Label_FilesCompared->text(), QStringLiteral("0"));
        QVERIFY(w.ProgressBar->maximum() > 100);
        QCOMPARE(w.ProgressBar->maximum(), w.ProgressBar->contentsRect().width());
        QCOMPARE(w.ProgressBar_File->maximum(), w.ProgressBar_File->contentsRect().width());
        QCOMPARE(w.ProgressBar->value(), 0);
        // A hidden run is prepared without showing: the same widths as on screen.
        const int hiddenWidth = w.ProgressBar->maximum();
        f.RunShown();
        QCOMPARE(w.ProgressBar->maximum(), hiddenWidth);

        f.project.ProjectPath = f.tmp / "Täglich.buf";
        w.Prepare();
        QCOMPARE(w.Edit_File->text(), QString::fromStdString(f.tmp / "Täglich.buf"));
        QCOMPARE(w.Edit_File->cursorPosition(), 0);
    }

    void theOverallBarMovesByCountThenBySizeAndIsFullAtTheEnd() {
        RunWindowFixture f;
        cBackUpDestination* destination = f.AddDestination("dst");
        f.AddSource(destination, "one", 1, 1000);
        f.AddSource(destination, "two", 1, 2000);
        f.AddSource(destination, "three", 1, 1000);
        QList<int> values;
        connect(f.window.ProgressBar, &QProgressBar::valueChanged, this,
                [&values](int v) { values.append(v); });
        f.RunShown();
        const int max = f.window.ProgressBar->maximum();
        QVERIFY(!f.window.Controller().SizeWeighting());
        QVERIFY2(values.contains(max / 3) && values.contains(2 * max / 3), qPrintable(QString::number(max)));
        QCOMPARE(f.window.ProgressBar->value(), max);

        values.clear();
        f.RunShown();
        QVERIFY(f.window.Controller().SizeWeighting());
        QVERIFY(values.contains(max / 4) && values.contains(3 * max / 4));
        QCOMPARE(f.window.ProgressBar->value(), max);
    }

    void countersFileLabelAndIconFollowTheRun() {
        RunWindowFixture f;
        cBackUpDestination* destination = f.AddDestination("dst");
        f.AddSource(destination, "src", 2, 100);
        f.tmp.WriteFile("src/leer.txt", "");  // an empty file counts as copied at its first report
        f.tmp.WriteFile("src/gross.bin", std::string(5 << 20, 'g'));  // copied in two chunks
        QStringList fileNames;
        bool iconDuringRun = false;
        f.window.Controller().SetPumpHook([&] {
            if (!f.window.Label_File->text().isEmpty()) {
                fileNames.append(f.window.Label_File->text());
            }
            iconDuringRun = iconDuringRun || !f.window.Image_Folder->pixmap().isNull();
        });
        f.RunShown();
        QCOMPARE(f.window.Label_FilesCompared->text(), QStringLiteral("4"));
        QCOMPARE(f.window.Label_FilesCopied->text(), QStringLiteral("4"));
        QVERIFY(iconDuringRun);
        QVERIFY(fileNames.contains(QStringLiteral("gross.bin")));  // shown while its chunks are copied
        QVERIFY(f.window.Label_File->text().isEmpty());
        QVERIFY(!f.window.Label10->isEnabled());
        QCOMPARE(f.window.Label_MainSource->text(), QStringLiteral("Die Sicherung ist abgeschlossen."));
        QVERIFY(!f.window.Image_Folder->pixmap().isNull());
        QVERIFY(f.window.Label_MainDestination->text().isEmpty());
        QVERIFY(!f.window.Label_Arrows->isVisible());
        QVERIFY(!f.window.ComboBox_AfterFinishing->isEnabled());
        QCOMPARE(f.window.Button_Cancel->text(), QStringLiteral("Schließen"));
    }

    void longPathsAreShortenedFromTheLeftAndAmpersandsStayPlain() {
        RunWindowFixture f;
        cBackUpDestination* destination =
            f.AddDestination("Sicherungen/Täglich/Büro und Verwaltung/Abteilung Rechnungswesen/Office & Co");
        f.AddSource(destination, "src");
        QString shownDestination;
        f.window.Controller().SetPumpHook([&] {
            if (shownDestination.isEmpty()) {
                shownDestination = f.window.Label_MainDestination->text();
            }
        });
        f.RunShown();
        QVERIFY2(shownDestination.startsWith(QStringLiteral("/.../")) ||
                     shownDestination.startsWith(QStringLiteral(".../")),
                 qPrintable(shownDestination));
        QVERIFY(shownDestination.endsWith(QStringLiteral("/Office & Co/")));
        QVERIFY(f.window.Label_MainDestination->fontMetrics().horizontalAdvance(shownDestination) <=
                f.window.Label_MainDestination->width());
    }

    void theRemainingTimeShowsADashUntilASourceIsDoneAndZeroAfterTheRun() {
        RunWindowFixture f;
        cBackUpDestination* destination = f.AddDestination("dst");
        f.AddSource(destination, "one");
        f.AddSource(destination, "two");
        std::uint32_t ticks = 1000;
        f.window.Controller().SetTickSource([&ticks] { return ticks += 250; });
        QString restAtStart;
        DuringTheRun(f.window, [&] { restAtStart = f.window.Label_TimeRest->text(); });
        f.RunShown();
        QCOMPARE(restAtStart, QStringLiteral("-"));
        QCOMPARE(f.window.Label_TimeRest->text(), QStringLiteral("00:00:00"));
        QVERIFY(!f.window.Timer_ShowTime->isActive());
        f.window.Timer_ShowTimeTimer();  // what a late tick would show: elapsed time goes on
        QVERIFY(f.window.Label_TimeRest->text() != QStringLiteral("-"));
    }

    void escapeCancelsTheRunAndThenClosesTheWindow() {
        RunWindowFixture f;
        cBackUpDestination* destination = f.AddDestination("dst");
        f.AddSource(destination, "one", 5);
        f.AddSource(destination, "two", 5);
        DuringTheRun(f.window, [&] { QTest::keyClick(&f.window, Qt::Key_Escape); });
        f.RunShown();
        QVERIFY(f.window.LastRun().Cancelled);
        QVERIFY(!f.tmp.Exists("dst/file4.dat"));
        QCOMPARE(f.window.Label_MainSource->text(),
                 QStringLiteral("Der Sicherungsvorgang wurde abgebrochen."));
        QCOMPARE(f.window.Button_Cancel->text(), QStringLiteral("Schließen"));
        QVERIFY(f.window.ProgressBar->value() < f.window.ProgressBar->maximum());
        QVERIFY(f.window.isVisible());
        QTest::keyClick(&f.window, Qt::Key_Escape);
        QVERIFY(!f.window.isVisible());
    }

    void closingDuringTheRunLetsItFinishAndThenHidesTheWindow() {
        RunWindowFixture f;
        f.AddSource(f.AddDestination("dst"), "src", 5);
        bool visibleAfterClose = false;
        DuringTheRun(f.window, [&] {
            f.window.close();
            visibleAfterClose = f.window.isVisible();
        });
        f.RunShown();
        QVERIFY(visibleAfterClose);
        QVERIFY(!f.window.LastRun().Cancelled);
        QVERIFY(f.tmp.Exists("dst/file4.dat"));
        QVERIFY(!f.window.isVisible());
    }

    void aSilentRunKeepsItsStartTimesAndClosesItself() {
        RunWindowFixture f;
        f.AddSource(f.AddDestination("dst"), "src", 3);
        std::uint32_t ticks = 0;
        f.window.Controller().SetTickSource([&ticks] { return ticks += 7000; });
        f.window.SetRunOptions(Silent());
        bool timerDuringRun = true;
        DuringTheRun(f.window, [&] { timerDuringRun = f.window.Timer_ShowTime->isActive(); });
        f.RunShown();
        QVERIFY(!timerDuringRun);
        QCOMPARE(f.window.Label_TimeElapsed->text(), QStringLiteral("00:00:07"));
        QCOMPARE(f.window.Label_TimeRest->text(), QStringLiteral("-"));
        QVERIFY(!f.window.isVisible());
        QVERIFY(!f.window.RunFinished());  // no end-of-run display
        QCOMPARE(f.EndApplicationCalls, 0);
    }

    void aHiddenRunIsPreparedAndRunsEveryDestinationWithoutAWindow() {
        RunWindowFixture f;
        // Every source into a folder of its own name, so that no two sources share a target.
        f.project.DefaultOptions.TransferFlags = EncodeTransferFlags(true, false, 1, false);
        for (const char* destination : {"d1", "d2"}) {
            cBackUpDestination* d = f.AddDestination(destination);
            f.AddSource(d, std::string(destination) + "a", 2);
            f.AddSource(d, std::string(destination) + "b", 2);
        }
        f.project.ProjectPath = f.tmp / "p.buf";
        f.window.SetRunOptions(Silent());
        f.window.Prepare();
        QVERIFY(f.window.ProgressBar->maximum() > 100);
        QCOMPARE(f.window.Controller().ProgressTotal(), 4000u);
        f.window.doBackUp();
        QVERIFY(!f.window.isVisible());
        QVERIFY(!f.window.LastRun().Cancelled);
        QCOMPARE(f.window.LastRun().ProblemCount, 0);
        QVERIFY(f.tmp.Exists("d1/d1a/file0.dat"));
        QVERIFY(f.tmp.Exists("d2/d2b/file1.dat"));
        QCOMPARE(f.window.Label_FilesCopied->text(), QStringLiteral("8"));
        cProject reloaded;
        platform::PosixFileSystem fs;
        LoadProject(reloaded, f.tmp / "p.buf", fs);
        QCOMPARE(reloaded.Destinations[1]->Sources[1]->TotalSize, 20u);
    }

    void anUnsavedProjectRunsWithoutProtocolAndIsNotWritten() {
        RunWindowFixture f;
        f.AddSource(f.AddDestination("dst"), "src");
        f.RunShown();
        QVERIFY(!f.window.Button_Protocol->isEnabled());
        QVERIFY(f.tmp.Exists("dst/file0.dat"));
        QVERIFY(!f.window.LastRun().ProtocolOpened);
        QVERIFY(QDir(QString::fromStdString(f.tmp.Path()))
                    .entryList({QStringLiteral("*.buf"), QStringLiteral("*.txt")})
                    .isEmpty());
    }

    void theProtocolViewerShowsTheLinesOfTheRun() {
        RunWindowFixture f;
        f.AddSource(f.AddDestination("dst"), "src");
        f.project.ProjectPath = f.tmp / "Daily.BUF";
        f.RunShown();
        QVERIFY(f.window.Button_Protocol->isEnabled());
        QString title;
        QString text;
        QFont font;
        bool readOnly = false;
        QSize inner;
        WithNextModal([&](QWidget* viewer) {
            QCOMPARE(viewer->objectName(), QStringLiteral("Form_Protocol"));
            title = viewer->windowTitle();
            inner = viewer->size();
            auto* memo = viewer->findChild<QPlainTextEdit*>(QStringLiteral("Memo_Protocol"));
            QVERIFY(memo != nullptr);
            text = memo->toPlainText();
            font = memo->font();
            readOnly = memo->isReadOnly();
            viewer->close();
        });
        f.window.Button_Protocol->click();
        QCOMPARE(title, QStringLiteral("Daily.BUF - Protokoll"));
        QCOMPARE(inner, QSize(480, 360));
        QCOMPARE(font, QFontDatabase::systemFont(QFontDatabase::FixedFont));
        QVERIFY(readOnly);
        const QStringList lines = text.split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 3);
        QVERIFY(lines.first().endsWith(QStringLiteral(" Der Sicherungsvorgang hat begonnen.")));
        QVERIFY(lines.last().endsWith(QStringLiteral(" Der Sicherungsvorgang ist beendet.")));
        QVERIFY(!text.contains(QLatin1Char('\r')));

        // Deleted in the meantime: the reason is reported, no viewer opens.
        QFile::remove(QString::fromStdString(f.tmp / "Daily_Protocol.txt"));
        test::StandardErrorCapture capture(f.tmp / "stderr.txt");
        f.window.Button_Protocol->click();
        QVERIFY(QString::fromStdString(capture.Text()).contains(QStringLiteral("Daily_Protocol.txt")));
    }

    // The window runs on whatever file system it is given: a disk that fills up while a changed file is
    // copied is a problem of the run, shown as such, and the earlier copy stays.
    void aFullDiskDuringACopyEndsTheRunWithProblemsAndKeepsTheEarlierCopy() {
        platform::PosixFileSystem real;
        test::FaultyFileSystem faulty(real);
        RunWindowFixture f(faulty);
        f.AddSource(f.AddDestination("dst"), "src", 1, 100);
        f.RunShown();
        QCOMPARE(f.window.Label_MainSource->text(), QStringLiteral("Die Sicherung ist abgeschlossen."));

        f.tmp.WriteFile("src/file0.dat", std::string(200, 'n'));
        faulty.Fail(test::FaultyFileSystem::Op::Write, f.tmp / "dst/", ENOSPC);
        f.RunShown();
        QCOMPARE(f.window.LastRun().ProblemCount, 1);
        QCOMPARE(f.window.Label_MainSource->text(),
                 QStringLiteral("Die Sicherung ist mit Problemen beendet."));
        QCOMPARE(f.tmp.ReadFile("dst/file0.dat"), std::string(100, 'x'));
    }

    void aFailedSaveIsReportedAfterTheEndOfTheRun() {
        RunWindowFixture f;
        f.AddSource(f.AddDestination("dst"), "src");
        f.project.ProjectPath = f.tmp / "gone/p.buf";  // its folder does not exist
        test::StandardErrorCapture capture(f.tmp / "stderr.txt");
        f.RunShown();
        const std::string err = capture.Text();
        const std::string path = f.tmp / "gone/p.buf";
        QCOMPARE(
            QString::fromStdString(err),
            QString::fromStdString("Das Projekt »" + path +
                                   "« kann nicht gespeichert werden: Cannot create file " + path + ".\n"));
        // Not a success, although every file was copied.
        QCOMPARE(f.window.Label_MainSource->text(),
                 QStringLiteral("Die Sicherung ist mit Problemen beendet."));
        QVERIFY(f.window.Label_Result->text().contains(
            QStringLiteral("Das Projekt konnte nicht gespeichert werden.")));
        QCOMPARE(QString::fromStdString(f.window.LastRun().SaveError),
                 QString::fromStdString("Cannot create file " + f.tmp / "gone/p.buf"));
        QVERIFY(f.window.RunFinished());
        QVERIFY(f.window.Button_Protocol->isEnabled());  // a protocol was attempted; the viewer will say why
    }

    void aTerminationSignalCancelsTheRunAndEndsTheApplication() {
        RunWindowFixture f;
        f.AddSource(f.AddDestination("dst"), "src", 5);
        f.window.SetRunOptions(WithAction(AfterFinishing::ShutDown));
        struct sigaction before {};
        ::sigaction(SIGTERM, nullptr, &before);
        DuringTheRun(f.window, [] { std::raise(SIGTERM); });
        f.RunShown();
        QVERIFY(f.window.LastRun().Cancelled);
        QVERIFY(f.window.EndedBySignal());
        QCOMPARE(f.shutdown.Requests, 0);  // asked to end, not to shut the computer down
        QCOMPARE(f.EndApplicationCalls, 1);
        struct sigaction now {};
        ::sigaction(SIGTERM, nullptr, &now);
        QVERIFY(now.sa_handler == before.sa_handler);  // outside a run the signal is handled as before
    }
};

QTEST_MAIN(TestTForm2)
#include "tst_TForm2.moc"

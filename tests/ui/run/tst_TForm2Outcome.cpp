// SPDX-License-Identifier: GPL-3.0-or-later
// The end of a run tells the truth: a clean run, a run with problems and a cancelled one look different,
// held-back work is listed with its folders, and it goes ahead only after one confirmation.
#include "RunWindowTestSupport.h"

#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>

using namespace trx;
using trx::test::RunWindowFixture;
using trx::test::WithNextModal;

namespace {

bool ShowsIcon(TForm2& window, QStyle::StandardPixmap icon) {
    return window.Image_Folder->pixmap().toImage() ==
           window.style()->standardIcon(icon).pixmap(32, 32).toImage();
}

QPushButton* ButtonCaptioned(QMessageBox& box, const QString& caption) {
    for (QAbstractButton* button : box.buttons()) {
        if (button->text() == caption) {
            return qobject_cast<QPushButton*>(button);
        }
    }
    return nullptr;
}

}  // namespace

class TestTForm2Outcome : public QObject {
    Q_OBJECT

private slots:
    void theEndOfARunTellsItsOutcome_data() {
        QTest::addColumn<QString>("run");
        QTest::addColumn<QString>("headline");
        QTest::addColumn<int>("icon");
        QTest::addColumn<QString>("details");
        QTest::addColumn<bool>("barFull");
        QTest::newRow("clean") << "clean"
                               << "Die Sicherung ist abgeschlossen." << int(QStyle::SP_MessageBoxInformation)
                               << "" << true;
        QTest::newRow("destination unreachable")
            << "unreachable"
            << "Die Sicherung ist mit Problemen beendet." << int(QStyle::SP_MessageBoxWarning)
            << "1 Problem ist aufgetreten.\nEinzelheiten zeigt „Protokoll anzeigen“." << false;
        QTest::newRow("cancelled") << "cancelled"
                                   << "Der Sicherungsvorgang wurde abgebrochen."
                                   << int(QStyle::SP_MessageBoxWarning) << "" << false;
    }

    void theEndOfARunTellsItsOutcome() {
        QFETCH(QString, run);
        QFETCH(QString, headline);
        QFETCH(int, icon);
        QFETCH(QString, details);
        QFETCH(bool, barFull);
        RunWindowFixture f;
        f.project.ProjectPath = f.tmp / "p.buf";
        f.tmp.WriteFile("eine Datei", "");
        // A destination below a file can never be made.
        f.AddSource(f.AddDestination(run == QLatin1String("unreachable") ? "eine Datei/dst" : "dst"), "src",
                    3);
        if (run == QLatin1String("cancelled")) {
            // In the middle of a copy, which the engine then reports as not copied: still no problem shown.
            f.tmp.WriteFile("src/gross.bin", std::string(3 * (4 << 20), 'g'));
            f.window.Controller().SetPumpHook([&f] {
                if (f.window.Label_File->text() == QLatin1String("gross.bin")) {
                    f.window.Button_Cancel->click();
                }
            });
        }
        f.RunShown();
        QCOMPARE(f.window.Label_MainSource->text(), headline);
        QVERIFY(ShowsIcon(f.window, static_cast<QStyle::StandardPixmap>(icon)));
        QCOMPARE(f.window.Panel_Result->isVisible(), !details.isEmpty());
        if (!details.isEmpty()) {
            QCOMPARE(f.window.Label_Result->text(), details);
        }
        QVERIFY(!f.window.Button_ReleaseHeldBack->isVisible());
        QCOMPARE(f.window.ProgressBar->value() == f.window.ProgressBar->maximum(), barFull);
        QCOMPARE(f.window.Button_Cancel->text(), QStringLiteral("Schließen"));
        QCOMPARE(f.window.LastRun().Cancelled, run == QLatin1String("cancelled"));
    }

    void heldBackWorkIsListedAndGoesAheadOnlyAfterOneConfirmation() {
        RunWindowFixture f;
        f.project.ProjectPath = f.tmp / "p.buf";
        f.AddSource(f.AddDestination("dst"), "src");
        const std::string photos =
            f.tmp / "Eigene Bilder/Urlaub an der Ostsee mit der ganzen Familie/Sommer 2025/";
        bool releasedInARun = false;
        // Stands in for the engine: a run that is not released holds work back.
        f.window.Controller().SetPumpHook([&f, &photos, &releasedInARun] {
            cRunContext& run = f.window.Controller().Context();
            releasedInARun = releasedInARun || run.ReleaseHeldBack;
            if (!run.ReleaseHeldBack && run.HeldBack.empty()) {
                run.HeldBack = {{cHeldBack::Reason::FolderEmpty, photos, 118},
                                {cHeldBack::Reason::DestinationMissing, "/media/sicherung/", 0},
                                {cHeldBack::Reason::SourceEmpty, "/home/anna/Musik/", 1},
                                {cHeldBack::Reason::ManyDeletions, "/home/anna/Briefe/", 40},
                                {cHeldBack::Reason::DestinationEmpty, "/media/usb/", 0}};
                run.ProblemCount += 5;
            }
        });
        f.RunShown();
        QCOMPARE(f.window.Label_MainSource->text(),
                 QStringLiteral("Die Sicherung ist mit Problemen beendet."));
        const QStringList lines = f.window.Label_Result->text().split(u'\n');
        QCOMPARE(lines.mid(0, 3),
                 (QStringList{"5 Probleme sind aufgetreten.", "Einzelheiten zeigt „Protokoll anzeigen“.",
                              "Zurückgehalten, weil ein Datenträger zu fehlen scheint:"}));
        QCOMPARE(lines.size(), 10);
        QCOMPARE(lines[3], QStringLiteral("• Nicht gelöscht: 118 Einträge in"));
        // Shortened from the left to the label's width; the folder's own name stays.
        QVERIFY2(lines[4].startsWith(QStringLiteral("    /.../")) &&
                     lines[4].endsWith(QStringLiteral("/Sommer 2025/")),
                 qPrintable(lines[4]));
        QCOMPARE(lines.mid(5), (QStringList{"• Nichts gesichert, das Ziel fehlt:", "    /media/sicherung/",
                                            "• Nicht gelöscht: 1 Eintrag in", "    /home/anna/Musik/",
                                            "• und 2 weitere Ordner"}));
        for (const QString& line : lines.mid(3)) {  // each folder fits its line; only sentences wrap
            QVERIFY2(f.window.Label_Result->fontMetrics().horizontalAdvance(line) <=
                         f.window.Label_Result->width(),
                     qPrintable(line));
        }
        QPushButton& release = *f.window.Button_ReleaseHeldBack;
        QVERIFY(release.isVisible());
        QVERIFY(!release.isDefault() && !release.autoDefault());

        // The question names what will be deleted and written; Enter keeps everything as it is.
        QString question;
        WithNextModal([&question](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            QVERIFY(box != nullptr);
            question = box->text();
            QCOMPARE(box->defaultButton(), box->escapeButton());
            QTest::keyClick(box, Qt::Key_Return);
        });
        release.click();
        QVERIFY2(
            question.contains(QString::fromStdString(
                "• Die Sicherungskopien von 118 Einträgen werden gelöscht, deren Originale fehlen in:\n    " +
                photos + "\n")),
            qPrintable(question));
        QVERIFY(question.contains(
            QStringLiteral("• Das fehlende Ziel wird neu angelegt und gefüllt:\n    /media/sicherung/\n")));
        QVERIFY(question.contains(QStringLiteral("• Das leere Ziel wird gefüllt:\n    /media/usb/\n")));
        QVERIFY(question.contains(
            QStringLiteral("Insgesamt werden die Sicherungskopien von 159 Einträgen gelöscht.")));
        QVERIFY(!f.window.Timer_Backup->isActive());
        QVERIFY(!f.window.RunOptions().ReleaseHeldBack);
        QCOMPARE(f.window.LastRun().HeldBack.size(), std::size_t{5});

        // Confirmed: the same project runs once more, with the held-back work let through.
        WithNextModal([](QWidget* modal) {
            auto& box = *qobject_cast<QMessageBox*>(modal);
            ButtonCaptioned(box, QStringLiteral("Ausführen"))->click();
        });
        release.click();
        QVERIFY(QTest::qWaitFor([&f] { return f.window.LastRun().Ran && !f.window.Controller().Running(); },
                                10000));
        QVERIFY(releasedInARun);
        QCOMPARE(f.window.Label_MainSource->text(), QStringLiteral("Die Sicherung ist abgeschlossen."));
        QVERIFY(!f.window.Panel_Result->isVisible());
        QVERIFY(!f.window.RunOptions().ReleaseHeldBack);

        // For that one run only: the next one holds back again.
        releasedInARun = false;
        f.RunShown();
        QVERIFY(!releasedInARun);
        QCOMPARE(f.window.LastRun().HeldBack.size(), std::size_t{5});
    }
};

QTEST_MAIN(TestTForm2Outcome)
#include "tst_TForm2Outcome.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the run window in its telling states, and the protocol viewer, into PNG files when
// TRX_SCREENSHOT_DIR names a folder (`make screenshots`); otherwise it only checks that they render.
#include "RunWindowTestSupport.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

using namespace trx;
using trx::test::RunWindowFixture;
using trx::test::WithAction;
using trx::test::WithNextModal;

namespace {

void Save(QWidget& widget, const QString& name) {
    const QPixmap picture = widget.grab();
    QVERIFY(!picture.isNull());
    const QString folder = qEnvironmentVariable("TRX_SCREENSHOT_DIR");
    if (!folder.isEmpty()) {
        QDir().mkpath(folder);
        QVERIFY(picture.save(QDir(folder).filePath(name + QStringLiteral(".png"))));
    }
}

// A project that looks like a real one: two destinations, sources with nested folders, one big file.
void FillProject(RunWindowFixture& f) {
    f.project.Description = "Tägliche Sicherung der Büro-Daten";
    f.project.Comments = "Läuft jeden Abend um 19 Uhr.\r\nFestplatte vorher anschließen!";
    f.project.ProjectPath = f.tmp / "Täglich.buf";
    f.project.DefaultOptions.Protocol = 2;
    f.project.DefaultOptions.TransferFlags = EncodeTransferFlags(true, false, 1, false);
    f.tmp.MakeDir("Sicherungen");  // a run creates one missing level only
    cBackUpDestination* office = f.AddDestination("Sicherungen/Büro");
    f.AddSource(office, "Dokumente/Briefe", 3, 2000);
    f.tmp.WriteFile("Dokumente/Briefe/2025/Angebote & Rechnungen/Rechnung 4711.pdf",
                    std::string(12 << 20, 'r'));
    f.AddSource(office, "Dokumente/Tabellen", 2, 5000);
    f.AddSource(f.AddDestination("Sicherungen/Fotos"), "Bilder/Urlaub", 4, 30000);
}

}  // namespace

class TestTForm2Screenshot : public QObject {
    Q_OBJECT

private slots:
    void renderTheRunWindowBeforeDuringAndAfterARun() {
        RunWindowFixture f;
        FillProject(f);
        std::uint32_t ticks = 0;
        f.window.Controller().SetTickSource([&ticks] { return ticks; });
        f.window.SetRunOptions({});

        f.window.Prepare();
        Save(f.window, QStringLiteral("TForm2_1_Prepared"));

        bool during = false;
        f.window.Controller().SetPumpHook([&] {
            if (!during && f.window.Label_File->text().startsWith(QStringLiteral("Rechnung"))) {
                during = true;
                ticks += 83'000;  // 1:23 into the run
                f.window.Timer_ShowTimeTimer();
                Save(f.window, QStringLiteral("TForm2_2_Copying"));
            }
        });
        f.RunShown();
        QVERIFY(during);
        Save(f.window, QStringLiteral("TForm2_3_Finished"));

        WithNextModal([](QWidget* viewer) {
            Save(*viewer, QStringLiteral("Form_Protocol"));
            viewer->close();
        });
        f.window.Button_Protocol->click();
    }

    // A destination on a medium that is not mounted, and deletions held back for a source that looks like
    // one: the end of the run says so, lists the folders and offers to go ahead; then the question.
    void renderARunWithProblemsAndHeldBackWork() {
        RunWindowFixture f;
        FillProject(f);
        f.tmp.WriteFile("USB-Platte", "");  // the destination's medium is missing: its path cannot be made
        f.AddSource(f.AddDestination("USB-Platte/Sicherung"), "Dokumente/Briefe");
        f.window.Controller().SetPumpHook([&f] {
            cRunContext& run = f.window.Controller().Context();
            if (run.HeldBack.empty()) {
                run.HeldBack = {
                    {cHeldBack::Reason::SourceEmpty, f.tmp / "Bilder/Urlaub/", 1284},
                    {cHeldBack::Reason::FolderEmpty, f.tmp / "Dokumente/Tabellen/Archiv 2019-2024/", 312}};
                run.ProblemCount += 2;
            }
        });
        f.RunShown();
        QVERIFY(f.window.Button_ReleaseHeldBack->isVisible());
        Save(f.window, QStringLiteral("TForm2_5_Problems"));

        WithNextModal([](QWidget* question) {
            Save(*question, QStringLiteral("TForm2_6_ReleaseQuestion"));
            question->close();
        });
        f.window.Button_ReleaseHeldBack->click();
    }

    void renderACancelledRun() {
        RunWindowFixture f;
        FillProject(f);
        f.window.SetRunOptions(WithAction(AfterFinishing::ShutDown));
        f.window.EndApplication = [] {};
        // Cancelled in the middle of the big file, so that the bars and counters show how far it came.
        f.window.Controller().SetPumpHook([&] {
            if (f.window.Label_File->text().startsWith(QStringLiteral("Rechnung"))) {
                f.window.Button_Cancel->click();
            }
        });
        f.RunShown();
        QVERIFY(f.window.LastRun().Cancelled);
        Save(f.window, QStringLiteral("TForm2_4_Cancelled"));
    }
};

QTEST_MAIN(TestTForm2Screenshot)
#include "tst_TForm2Screenshot.moc"

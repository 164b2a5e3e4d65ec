// SPDX-License-Identifier: GPL-3.0-or-later
// "Vorschau" from the main window: it takes the window's unsaved edits like "Backup starten", and the run
// started from it does exactly what it listed.
#include "MainWindowTestSupport.h"
#include "ui/editors/TFrame_FileFilter.h"
#include "ui/preview/PlanModel.h"
#include "ui/preview/TPreviewWindow.h"

#include <QStackedWidget>
#include <QTreeView>
#include <filesystem>
#include <set>

using namespace trx;
using trx::test::MainWindowFixture;
using trx::test::Q;
using trx::test::RunWindowDriver;

namespace {

// Waits for the preview window's plan, keeps every action row in full and starts the run from it.
class PreviewDriver {
public:
    PreviewDriver() {
        poll_.setInterval(10);
        QObject::connect(&poll_, &QTimer::timeout, [this] {
            auto* preview = qobject_cast<TPreviewWindow*>(QApplication::activeModalWidget());
            if (preview == nullptr || preview->Walking() || preview->Pages->currentIndex() != 1) {
                return;
            }
            poll_.stop();
            cPlanModel& model = preview->Model();
            for (int d = 0; d < model.rowCount(); ++d) {
                for (int g = 0; g < model.rowCount(model.index(d, 0)); ++g) {
                    const QModelIndex group = model.index(g, 0, model.index(d, 0));
                    for (int row = 0; row < model.rowCount(group); ++row) {
                        Listed.insert(model.FullText(model.index(row, 0, group)));
                    }
                }
            }
            preview->Button_Start->click();
        });
        poll_.start();
    }
    std::set<QString> Listed;

private:
    QTimer poll_;
};

// Every file below `root`, relative to it.
// The copies, without the earlier versions a new project keeps of what a run replaced or deleted.
std::set<std::string> Files(const std::string& root) {
    std::set<std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        const std::string relative = entry.path().string().substr(root.size());
        if (entry.is_regular_file() && !relative.starts_with(".tresorix-versionen")) {
            files.insert(relative);
        }
    }
    return files;
}

}  // namespace

class TestMainWindowPreview : public QObject {
    Q_OBJECT

private slots:
    void thePreviewTakesTheUnsavedFilterAndTheRunDoesWhatItListed() {
        MainWindowFixture f;
        f.window.CreateDialogs();
        const std::string ziel = f.tmp.MakeDir("ziel");
        const std::string quelle = f.tmp.MakeDir("quelle");
        f.tmp.WriteFile("quelle/a.txt", "alpha");
        f.tmp.WriteFile("quelle/b.tmp", "temp");
        f.tmp.WriteFile("quelle/Sub/c.txt", "gamma");
        f.AddSource(f.AddDestination(ziel), quelle);
        f.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));
        f.window.Frame_FileFilterOut->Edit_Mask->setText(QStringLiteral("*.tmp"));  // not saved anywhere

        {
            PreviewDriver preview;
            RunWindowDriver run(*f.window.RunWindow());
            f.window.Button_Preview->click();
            QVERIFY(run.SawModalRun);
            QCOMPARE(preview.Listed,
                     (std::set<QString>{Q("Kopieren: " + quelle + "a.txt → " + ziel + "a.txt"),
                                        Q("Kopieren: " + quelle + "Sub/c.txt → " + ziel + "Sub/c.txt")}));
        }
        QCOMPARE(f.project.DefaultOptions.Filters[1].Mask, std::string("*.tmp"));
        QCOMPARE(Files(ziel), (std::set<std::string>{"a.txt", "Sub/c.txt"}));

        f.tmp.WriteFile("quelle/a.txt", "alpha, neu");
        f.tmp.SetTimes("quelle/a.txt", 2'000'000'000);
        std::filesystem::remove_all(quelle + "Sub");
        f.tmp.WriteFile("quelle/d.txt", "delta");
        f.window.Frame_FileFilterOut->Edit_Mask->setText(QString());
        {
            PreviewDriver preview;
            RunWindowDriver run(*f.window.RunWindow());
            f.window.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&f.window));
            QTest::keyClick(&f.window, Qt::Key_F5, Qt::ShiftModifier);
            QVERIFY(run.SawModalRun);
            QCOMPARE(preview.Listed,
                     (std::set<QString>{Q("Ersetzen: " + quelle + "a.txt → " + ziel + "a.txt"),
                                        Q("Kopieren: " + quelle + "b.tmp → " + ziel + "b.tmp"),
                                        Q("Kopieren: " + quelle + "d.txt → " + ziel + "d.txt"),
                                        Q("Löschen: " + ziel + "Sub/")}));
        }
        QCOMPARE(Files(ziel), (std::set<std::string>{"a.txt", "b.tmp", "d.txt"}));
        QCOMPARE(f.tmp.ReadFile("ziel/a.txt"), std::string("alpha, neu"));
    }
};

QTEST_MAIN(TestMainWindowPreview)
#include "tst_MainWindowPreview.moc"

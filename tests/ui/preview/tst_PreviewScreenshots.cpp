// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the preview window while it walks, with its plan, and its release question into PNG files when
// TRX_SCREENSHOT_DIR names a folder (`make screenshots`); otherwise it only checks that they render.
#include "../../engine/QuietRunView.h"
#include "model/BackUpSource.h"
#include "model/Project.h"
#include "platform/PosixFileSystem.h"
#include "support/TestDir.h"
#include "ui/common/QtTextFormats.h"
#include "ui/preview/PlanModel.h"
#include "ui/preview/TPreviewWindow.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>
#include <QTreeView>
#include <QtTest>
#include <filesystem>

using namespace trx;

namespace {

void Save(QWidget& widget, const QString& name) {
    QCoreApplication::sendPostedEvents();  // pending layouts, as the message loop would run them
    const QPixmap picture = widget.grab();
    QVERIFY(!picture.isNull());
    const QString folder = qEnvironmentVariable("TRX_SCREENSHOT_DIR");
    if (!folder.isEmpty()) {
        QDir().mkpath(folder);
        QVERIFY(picture.save(QDir(folder).filePath(name + QStringLiteral(".png"))));
    }
}

// Two backup folders after a first run and a day's work: letters changed, added and deleted, a photo
// folder whose disk is not mounted (held back), and a source that is gone (a problem).
struct RealisticProject {
    RealisticProject() {
        project.ProjectPath = tmp / "Täglich.buf";
        tmp.MakeDir("Sicherungen");
        auto* office = new cBackUpDestination(project, tmp / "Sicherungen/Büro/");
        new cBackUpSource(tmp.MakeDir("Dokumente/Briefe"), *office);
        new cBackUpSource(tmp.MakeDir("Dokumente/Tabellen"), *office);
        auto* photos = new cBackUpDestination(project, tmp / "Sicherungen/Fotos/");
        new cBackUpSource(tmp.MakeDir("Bilder/Urlaub"), *photos);
        for (int i = 0; i < 40; ++i) {
            tmp.WriteFile("Dokumente/Briefe/2025/Brief an Kunde " + std::to_string(i) + ".odt",
                          std::string(900 + i * 37, 'b'));
        }
        tmp.WriteFile("Dokumente/Briefe/Angebote & Rechnungen/Rechnung 4711.pdf", std::string(180000, 'r'));
        tmp.WriteFile("Dokumente/Briefe/Entwürfe/alt.odt", "entwurf");
        tmp.WriteFile("Dokumente/Tabellen/Haushalt.ods", std::string(24000, 'h'));
        for (int i = 0; i < 12; ++i) {
            tmp.WriteFile("Bilder/Urlaub/IMG_" + std::to_string(4000 + i) + ".jpg", std::string(300000, 'j'));
        }
        // Written over the last weeks, not all in this second.
        std::time_t day = 1'764'000'000;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(tmp.Path())) {
            if (entry.is_regular_file()) {
                tmp.SetTimes(entry.path().string().substr(tmp.Path().size()), day += 86'400 / 3);
            }
        }
        test::QuietRunView view;
        cRunController(project, view, fs, formats).Run();

        tmp.WriteFile("Dokumente/Briefe/Angebote & Rechnungen/Rechnung 4711.pdf", std::string(190000, 'R'));
        tmp.WriteFile("Dokumente/Briefe/2025/Brief an Kunde 40.odt", std::string(1500, 'n'));
        tmp.WriteFile("Dokumente/Tabellen/Jahresabschluss 2025.ods", std::string(56000, 'j'));
        std::filesystem::remove_all(tmp / "Dokumente/Briefe/Entwürfe");
        std::filesystem::remove_all(tmp / "Bilder/Urlaub");
        tmp.MakeDir("Bilder/Urlaub");
        new cBackUpSource(tmp / "Bilder/Archiv/", *photos);
    }

    test::TestDir tmp;
    cProject project;
    platform::PosixFileSystem fs;
    cQtTextFormats formats;
};

}  // namespace

class TestPreviewScreenshots : public QObject {
    Q_OBJECT

private slots:
    void renderThePreviewWhileWalkingWithItsPlanAndTheReleaseQuestion() {
        RealisticProject p;
        TPreviewWindow window(p.project, p.fs, p.formats);
        window.Controller().Context().PumpInterval = std::chrono::steady_clock::duration::zero();
        bool walkShot = false;
        QTimer poll;
        poll.setInterval(0);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (window.Walking() && window.Label_FilesCompared->text().toInt() >= 25 && !walkShot) {
                walkShot = true;
                Save(window, QStringLiteral("Preview_1_Walking"));
            }
        });
        poll.start();
        window.show();
        QVERIFY(
            QTest::qWaitFor([&] { return !window.Walking() && window.Pages->currentIndex() == 1; }, 20000));
        poll.stop();
        QVERIFY(walkShot);

        // The held-back row marked: its whole text under the list.
        QAbstractItemModel& model = *window.TreeView_Plan->model();
        const QModelIndex photos = model.index(1, 0);
        for (int g = 0; g < model.rowCount(photos); ++g) {
            const QModelIndex source = model.index(g, 0, photos);
            for (int row = 0; row < model.rowCount(source); ++row) {
                if (model.index(row, cPlanModel::ColumnKind, source).data() ==
                    QStringLiteral("Zurückgehalten")) {
                    window.TreeView_Plan->setCurrentIndex(model.index(row, 0, source));
                }
            }
        }
        QVERIFY(window.Label_Full->text().startsWith(QStringLiteral("Zurückgehalten: ")));
        QVERIFY(window.Button_Release->isVisible());
        Save(window, QStringLiteral("Preview_2_Plan"));

        bool asked = false;
        QTimer modal;
        modal.setInterval(5);
        QObject::connect(&modal, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                modal.stop();
                asked = true;
                Save(*box, QStringLiteral("Preview_3_ReleaseQuestion"));
                QTest::keyClick(box, Qt::Key_Escape);
            }
        });
        modal.start();
        window.Button_Release->click();
        QVERIFY(asked);
        QCOMPARE(window.Chosen(), TPreviewWindow::Choice::Nothing);
    }
};

QTEST_MAIN(TestPreviewScreenshots)
#include "tst_PreviewScreenshots.moc"

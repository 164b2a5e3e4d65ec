// SPDX-License-Identifier: GPL-3.0-or-later
// The preview window on real trees: its counts, that it writes nothing, its start and release buttons
// through the real widgets, Escape and closing while it walks.
#include "../../engine/QuietRunView.h"
#include "model/BackUpSource.h"
#include "model/Project.h"
#include "model/ProjectFile.h"
#include "platform/PosixFileSystem.h"
#include "support/TestDir.h"
#include "support/TreeSnapshot.h"
#include "ui/common/QtTextFormats.h"
#include "ui/preview/PlanModel.h"
#include "ui/preview/TPreviewWindow.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QtTest>
#include <filesystem>

using namespace trx;
using Choice = TPreviewWindow::Choice;

namespace {

// A saved project in a temporary folder: the source "quelle" backed up once to "ziel".
struct PreviewFixture {
    PreviewFixture() {
        project.ProjectPath = tmp / "projekt.buf";
        auto* destination = new cBackUpDestination(project, tmp / "ziel/");
        new cBackUpSource(tmp.MakeDir("quelle"), *destination);
    }
    void Backup() {
        test::QuietRunView view;
        cRunController controller(project, view, fs, formats);
        controller.Run();
        SaveProject(project, project.ProjectPath, fs);
    }
    // Shows the window and waits for its plan.
    static bool ShowPlan(TPreviewWindow& window) {
        window.show();
        return QTest::qWaitFor([&] { return !window.Walking() && window.Pages->currentIndex() == 1; }, 20000);
    }

    test::TestDir tmp;
    cProject project;
    platform::PosixFileSystem fs;
    cQtTextFormats formats;
};

// Calls `act` at the first chance the walk gives the event loop.
void DuringTheWalk(TPreviewWindow& window, std::function<void()> act) {
    auto* poll = new QTimer(&window);
    poll->setInterval(0);
    QObject::connect(poll, &QTimer::timeout, [poll, act, &window] {
        if (window.Walking()) {
            poll->stop();
            act();
        }
    });
    poll->start();
}

// Calls `act` with the next modal window as soon as it is open.
void WithNextModal(std::function<void(QWidget*)> act) {
    auto* poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        if (QWidget* modal = QApplication::activeModalWidget();
            modal != nullptr && qobject_cast<QMessageBox*>(modal)) {
            poll->stop();
            poll->deleteLater();
            act(modal);
        }
    });
    poll->start();
}

QStringList KindTexts(const TPreviewWindow& window) {
    QStringList texts;
    for (const QToolButton* button : window.Button_Kinds) {
        texts.append(button->text());
    }
    return texts;
}

}  // namespace

class TestTPreviewWindow : public QObject {
    Q_OBJECT

private slots:
    void countsTheKindsWritesNothingAndStartsTheRunOnAClickOnly() {
        PreviewFixture f;
        f.tmp.WriteFile("quelle/a.txt", "a");
        f.tmp.WriteFile("quelle/b.txt", "b");
        f.tmp.WriteFile("quelle/Sub/c.txt", "c");
        f.Backup();
        f.tmp.WriteFile("quelle/a.txt", "a, neu");
        f.tmp.SetTimes("quelle/a.txt", 2'000'000'000);
        f.tmp.WriteFile("quelle/d.txt", "dddd");
        std::filesystem::remove(f.tmp / "quelle/b.txt");
        const auto before = test::TreeSnapshot(f.tmp.Path());

        TPreviewWindow window(f.project, f.fs, f.formats);
        QVERIFY(PreviewFixture::ShowPlan(window));
        QCOMPARE(KindTexts(window), (QStringList{"Kopieren: 1 (4 Byte)", "Ersetzen: 1 (6 Byte)", "Löschen: 1",
                                                 "Zurückgehalten: 0", "Probleme: 0"}));
        QCOMPARE(test::TreeSnapshot(f.tmp.Path()), before);
        QVERIFY(!window.Button_Release->isVisible());
        QCOMPARE(window.Button_Cancel->text(), QStringLiteral("Schließen"));

        // The marked row in full under the list.
        QTreeView& view = *window.TreeView_Plan;
        const QModelIndex source = view.model()->index(0, 0, view.model()->index(0, 0));
        int replaced = 0;
        while (view.model()->index(replaced, cPlanModel::ColumnKind, source).data() !=
               QStringLiteral("Ersetzen")) {
            ++replaced;
        }
        view.setCurrentIndex(view.model()->index(replaced, 0, source));
        QVERIFY(window.Label_Full->text().startsWith(QStringLiteral("Ersetzen: ") +
                                                     QString::fromStdString(f.tmp / "quelle/a.txt → ")));

        // Enter starts nothing, wherever the focus is.
        for (QWidget* focus : {static_cast<QWidget*>(window.Button_Start), static_cast<QWidget*>(&view)}) {
            focus->setFocus();
            QTest::keyClick(focus, Qt::Key_Return);
            QVERIFY(window.isVisible());
        }
        QCOMPARE(window.Chosen(), Choice::Nothing);
        window.Button_Start->click();
        QCOMPARE(window.Chosen(), Choice::Run);
        QVERIFY(!window.isVisible());
        QCOMPARE(window.result(), int(QDialog::Accepted));
        QVERIFY(window.Model().Plan() == nullptr);  // the plan went with the window
        QCOMPARE(test::TreeSnapshot(f.tmp.Path()), before);
    }

    void heldBackWorkIsReleasedOnlyAfterAClickOnAusfuehren() {
        PreviewFixture f;
        f.tmp.WriteFile("quelle/a.txt", "a");
        f.tmp.WriteFile("quelle/b.txt", "b");
        f.Backup();
        std::filesystem::remove(f.tmp / "quelle/a.txt");
        std::filesystem::remove(f.tmp / "quelle/b.txt");  // an empty source: a disk not mounted

        TPreviewWindow window(f.project, f.fs, f.formats);
        QVERIFY(PreviewFixture::ShowPlan(window));
        QCOMPARE(KindTexts(window)[3], QStringLiteral("Zurückgehalten: 1"));
        QVERIFY(window.Button_Release->isVisible());
        QString question;
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
            WithNextModal([&question, key](QWidget* modal) {
                question = qobject_cast<QMessageBox*>(modal)->text();
                QTest::keyClick(modal, key);
            });
            window.Button_Release->click();
            QVERIFY(window.isVisible());
            QCOMPARE(window.Chosen(), Choice::Nothing);
        }
        QVERIFY2(question.contains(QString::fromStdString(f.tmp / "quelle/")), qPrintable(question));
        WithNextModal([](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            for (QAbstractButton* button : box->buttons()) {
                if (button->text() == QStringLiteral("Ausführen")) {
                    button->click();
                }
            }
        });
        window.Button_Release->click();
        QCOMPARE(window.Chosen(), Choice::ReleaseAndRun);
        QVERIFY(!window.isVisible());
        QVERIFY(f.tmp.Exists("ziel/a.txt"));  // the preview itself released nothing
    }

    void escapeStopsTheWalkAndTheNextEscapeCloses() {
        PreviewFixture f;
        for (int i = 0; i < 400; ++i) {
            f.tmp.WriteFile("quelle/f" + std::to_string(i), "x");
        }
        f.Backup();
        std::filesystem::remove(f.tmp / "quelle/f0");
        for (int i = 0; i < 400; ++i) {
            f.tmp.WriteFile("quelle/Neu/n" + std::to_string(i), "n");
        }
        TPreviewWindow window(f.project, f.fs, f.formats);
        window.Controller().Context().PumpInterval = std::chrono::steady_clock::duration::zero();
        DuringTheWalk(window, [&window] { QTest::keyClick(&window, Qt::Key_Escape); });
        QVERIFY(PreviewFixture::ShowPlan(window));
        QVERIFY(window.Stopped());
        QVERIFY(window.isVisible());
        QVERIFY(!window.Button_Release->isVisible());
        QVERIFY(window.Button_Cancel->isEnabled());  // now "Schließen"
        QVERIFY(window.Label_Note->text().contains(QStringLiteral("abgebrochen")));
        QVERIFY(window.Model().Plan()->Actions.size() < 401);
        QTest::keyClick(&window, Qt::Key_Escape);
        QVERIFY(!window.isVisible());
        QCOMPARE(window.Chosen(), Choice::Nothing);
    }

    void aRunUnderWaySaysSoAndOffersNoStart() {
        PreviewFixture f;
        f.tmp.WriteFile("quelle/a.txt", "a");
        f.Backup();
        const auto runUnderWay = f.fs.LockFile(f.tmp / ".projekt.buf.lock");
        QVERIFY(runUnderWay.Ok());
        TPreviewWindow window(f.project, f.fs, f.formats);
        QVERIFY(PreviewFixture::ShowPlan(window));
        QVERIFY2(window.Label_Note->text().contains(QStringLiteral("bereits")),
                 qPrintable(window.Label_Note->text()));
        QVERIFY(!window.Button_Start->isEnabled());
        QVERIFY(!window.Button_Release->isVisible());
    }

    void closingDuringTheWalkStopsItAndThenCloses() {
        PreviewFixture f;
        for (int i = 0; i < 400; ++i) {
            f.tmp.WriteFile("quelle/f" + std::to_string(i), "x");
        }
        const auto before = test::TreeSnapshot(f.tmp.Path());
        TPreviewWindow window(f.project, f.fs, f.formats);
        window.Controller().Context().PumpInterval = std::chrono::steady_clock::duration::zero();
        bool closedWhileWalking = true;
        DuringTheWalk(window, [&] {
            window.close();
            closedWhileWalking = !window.isVisible();
        });
        window.show();
        QVERIFY(QTest::qWaitFor([&] { return !window.isVisible(); }, 20000));
        QVERIFY(!closedWhileWalking);  // it waited for the walk to end
        QVERIFY(!window.Walking());
        QCOMPARE(window.result(), int(QDialog::Rejected));
        QCOMPARE(test::TreeSnapshot(f.tmp.Path()), before);
    }
};

QTEST_MAIN(TestTPreviewWindow)
#include "tst_TPreviewWindow.moc"

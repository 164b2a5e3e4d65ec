// SPDX-License-Identifier: GPL-3.0-or-later
// One source dragged with the mouse, as a user does it: pressed on its row, moved over several steps across
// the tree and released on another destination. Qt's real drag runs here (the offscreen platform drops
// every drag at once, so this test runs on the minimal platform, which drags within the program).
#include "MainWindowTestSupport.h"

#include <QTimer>

using namespace trx;
using trx::test::MainWindowFixture;

class TestDirectoryTreeMouseDrag : public QObject {
    Q_OBJECT

private slots:
    void aSourceDraggedStraightOntoAnotherDestinationMovesThere() {
        MainWindowFixture f;
        TDirNode* a = f.AddDestination("/a/");
        TDirNode* b = f.AddDestination("/b/");
        TDirNode* a1 = f.AddSource(a, "/a1/");
        f.AddSource(a, "/a2/");
        f.Tree().SortAll();
        f.Tree().expandAll();
        f.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));
        f.Tree().clearSelection();

        QWidget* viewport = f.Tree().viewport();
        const QPoint from = f.Tree().visualItemRect(a1).center();
        const QPoint to = f.Tree().visualItemRect(b).center();
        QVERIFY(to.y() - from.y() > 2 * QApplication::startDragDistance());
        // The press marks the source. Once the drag has begun, Qt's drag loop holds the call that began
        // it, so every later step comes from a timer of its own.
        QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, from);
        QCOMPARE(f.Tree().SelectedNodes(), QList<TDirNode*>{a1});
        constexpr int kSteps = 12;
        bool released = false;
        for (int step = 1; step <= kSteps; ++step) {
            const QPoint where = from + (to - from) * step / kSteps;
            QTimer::singleShot(step * 25, viewport, [viewport, where] { QTest::mouseMove(viewport, where); });
        }
        QTimer::singleShot((kSteps + 2) * 25, viewport, [viewport, to, &released] {
            QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, to);
            released = true;
        });
        QTRY_VERIFY_WITH_TIMEOUT(released, 10000);

        QCOMPARE(f.ModelOutline(), (QStringList{"/a/", "  /a2/", "/b/", "  /a1/"}));
        QCOMPARE(f.TreeOutline(), f.ModelOutline());
    }
};

QTEST_MAIN(TestDirectoryTreeMouseDrag)
#include "tst_DirectoryTreeMouseDrag.moc"

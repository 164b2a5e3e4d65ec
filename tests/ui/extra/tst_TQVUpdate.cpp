// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeUpdateLibrary.h"
#include "ui/extra/TQVUpdate.h"

#include <QKeyEvent>
#include <QVBoxLayout>
#include <QtTest>
#include <algorithm>
#include <utility>
#include <vector>

using namespace trx;
using trx::test::FakeUpdateLibrary;
using trx::test::UpdateSettings;

namespace {

// The focused widget of a test window: records the keys it receives and lets them propagate on, so that
// the parent sees them too.
class KeyRecorder : public QWidget {
public:
    KeyRecorder() { setFocusPolicy(Qt::StrongFocus); }
    // How many events of `type` for Key_U arrived.
    int CountU(QEvent::Type type) const {
        return static_cast<int>(std::count(keys_.begin(), keys_.end(), std::make_pair(type, int{Qt::Key_U})));
    }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        keys_.emplace_back(event->type(), event->key());
        event->ignore();
    }
    void keyReleaseEvent(QKeyEvent* event) override {
        keys_.emplace_back(event->type(), event->key());
        event->ignore();
    }

private:
    std::vector<std::pair<QEvent::Type, int>> keys_;
};

// A main window with one focused child, shown and active, and its update hook watching for Ctrl+U.
struct ShortCutWindow {
    ShortCutWindow() : update(&window) {
        auto* layout = new QVBoxLayout(&window);
        recorder = new KeyRecorder;
        layout->addWidget(recorder);
        window.resize(200, 100);
        update.ShortApplicationName = QStringLiteral("trxmain");
        update.Loaded();
        window.show();
        window.activateWindow();
        recorder->setFocus();
    }

    QWidget window;
    KeyRecorder* recorder = nullptr;
    TQVUpdate update;
};

int CountOf(const FakeUpdateLibrary& fake, const std::string& entry) {
    int count = 0;
    for (const auto& call : fake.Calls) {
        count += call.entry == entry ? 1 : 0;
    }
    return count;
}

}  // namespace

class TestTQVUpdate : public QObject {
    Q_OBJECT

private slots:
    void everyFailureReportsNoUpdateSilently_data() {
        QTest::addColumn<QString>("situation");
        QTest::newRow("no settings file") << "no file";
        QTest::newRow("no value") << "no value";
        QTest::newRow("empty value") << "empty";
        QTest::newRow("missing library file") << "missing";
        QTest::newRow("a directory") << "directory";
        QTest::newRow("not a library") << "garbage";
        QTest::newRow("no autoUpdate entry point") << "partial";
    }

    void everyFailureReportsNoUpdateSilently() {
        QFETCH(QString, situation);
        UpdateSettings settings;
        FakeUpdateLibrary partial(FAKEUPDATE_PARTIAL_PATH);
        partial.Answer(true, true);
        if (situation == "no value") {
            settings.WriteWithoutValue();
        } else if (situation == "empty") {
            settings.NameLibrary("");
        } else if (situation == "missing") {
            settings.NameLibrary(settings.Dir() / "fehlt/libupdate.so");
        } else if (situation == "directory") {
            settings.NameLibrary(settings.Dir() / "QV");
        } else if (situation == "garbage") {
            settings.NameLibrary(settings.Dir().Path() + "libkaputt.so");
            settings.Dir().WriteFile("libkaputt.so", "kein ELF");
        } else if (situation == "partial") {
            settings.NameLibrary(partial.Path());
        }
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));

        QWidget window;
        TQVUpdate update(&window);
        update.ShortApplicationName = QStringLiteral("trxmain");
        QVERIFY(!update.autoUpdate(false, 1));
        QVERIFY(!update.IsBusy());
        QCOMPARE(update.IsLoaded(), situation == "partial");
        QVERIFY(!update.autoUpdate(true, 1));
        QVERIFY(!update.IsLoaded());
        QCOMPARE(CountOf(partial, "autoUpdate"), 0);
        QVERIFY(QApplication::topLevelWidgets().size() == 1);  // nothing shown but the test's own window
        if (situation != "partial") {
            QVERIFY(!update.doUpdate(true, 0));
            QVERIFY(!update.loadDll());
        }
    }

    void aLibraryWithoutOneEntryPointStillAnswersTheOther() {
        UpdateSettings settings;
        FakeUpdateLibrary partial(FAKEUPDATE_PARTIAL_PATH);
        partial.Answer(true, true);
        settings.NameLibrary(partial.Path());
        QWidget window;
        TQVUpdate update(&window);
        QVERIFY(!update.autoUpdate(false, 1));
        QVERIFY(update.doUpdate(true, 0));
        QCOMPARE(CountOf(partial, "doUpdate"), 1);
    }

    void autoUpdateAsksTheLibraryNamedInTheSystemSettings() {
        UpdateSettings settings;
        FakeUpdateLibrary fake;
        settings.NameLibrary(fake.Path());
        QWidget window;
        TQVUpdate update(&window);
        update.ShortApplicationName = QStringLiteral("trxmain");
        bool busyDuringCall = false;
        fake.DuringCall = [&](const test::UpdateCall&) { busyDuringCall = update.IsBusy(); };

        fake.Answer(true, false);
        QVERIFY(update.autoUpdate(true, 1));
        QCOMPARE(fake.Calls.size(), std::size_t{1});
        QCOMPARE(fake.Calls[0].entry, std::string("autoUpdate"));
        QCOMPARE(fake.Calls[0].shortApplicationName, std::string("trxmain"));
        QCOMPARE(fake.Calls[0].flag, 1);
        QCOMPARE(fake.Calls[0].application, static_cast<void*>(QCoreApplication::instance()));
        QVERIFY(busyDuringCall);
        QVERIFY(!update.IsBusy());
        QVERIFY(!update.IsLoaded());  // unloaded as asked
        QCOMPARE(update.DllFileName.toStdString(), fake.Path());

        fake.Answer(false, false);
        update.UpdateCallingApplication = false;
        QVERIFY(!update.autoUpdate(false, 1));
        QCOMPARE(fake.Calls.back().application, nullptr);
        QVERIFY(update.IsLoaded());  // kept, as asked

        fake.Answer(false, true);
        QVERIFY(update.doUpdate(false, 0));
        QCOMPARE(fake.Calls.back().entry, std::string("doUpdate"));
        QCOMPARE(fake.Calls.back().flag, 0);
        QVERIFY(!busyDuringCall);  // doUpdate leaves the flag to its caller
        update.unloadDll();
        QVERIFY(!update.IsLoaded());
    }

    void ctrlUAsksOncePerKeyEventAndTheKeyGoesOn() {
        UpdateSettings settings;
        FakeUpdateLibrary fake;
        settings.NameLibrary(fake.Path());
        ShortCutWindow main;
        QVERIFY(QTest::qWaitForWindowActive(&main.window));

        // Through the window, as the keyboard delivers it, and straight to the focused widget.
        QTest::keyClick(main.window.windowHandle(), Qt::Key_U, Qt::ControlModifier);
        QCOMPARE(CountOf(fake, "doUpdate"), 2);  // press and release
        QTest::keyClick(main.recorder, Qt::Key_U, Qt::ControlModifier);
        QCOMPARE(CountOf(fake, "doUpdate"), 4);
        for (const auto& call : fake.Calls) {
            QCOMPARE(call.shortApplicationName, std::string("trxmain"));
            QCOMPARE(call.flag, 0);
        }
        QVERIFY(!main.update.IsLoaded());
        QVERIFY(!main.update.IsBusy());

        QCOMPARE(main.recorder->CountU(QEvent::KeyPress), 2);
        QCOMPARE(main.recorder->CountU(QEvent::KeyRelease), 2);

        // Other keys ask nothing.
        QTest::keyClick(main.recorder, Qt::Key_U);
        QTest::keyClick(main.recorder, Qt::Key_I, Qt::ControlModifier);
        QTest::keyClick(main.recorder, Qt::Key_U, Qt::AltModifier);
        QCOMPARE(CountOf(fake, "doUpdate"), 4);
        QCOMPARE(CountOf(fake, "autoUpdate"), 0);
    }

    void ctrlUAsksNothingWhileAnotherWindowIsActive() {
        UpdateSettings settings;
        FakeUpdateLibrary fake;
        settings.NameLibrary(fake.Path());
        ShortCutWindow main;
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QTest::keyClick(&other, Qt::Key_U, Qt::ControlModifier);
        QVERIFY(fake.Calls.empty());

        // Without a library the key does nothing either, and still reaches the widget.
        settings.NameLibrary("");
        main.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&main.window));
        QTest::keyClick(main.recorder, Qt::Key_U, Qt::ControlModifier);
        QVERIFY(fake.Calls.empty());
        QCOMPARE(main.recorder->CountU(QEvent::KeyPress), 1);
    }

    void theBusyFlagBlocksASecondRequest() {
        UpdateSettings settings;
        FakeUpdateLibrary fake;
        settings.NameLibrary(fake.Path());
        ShortCutWindow main;
        QVERIFY(QTest::qWaitForWindowActive(&main.window));

        // A key pressed while the library works on the first request asks nothing.
        fake.DuringCall = [&](const test::UpdateCall&) {
            QVERIFY(main.update.IsBusy());
            QTest::keyPress(main.recorder, Qt::Key_U, Qt::ControlModifier);
        };
        QTest::keyPress(main.recorder, Qt::Key_U, Qt::ControlModifier);
        QCOMPARE(CountOf(fake, "doUpdate"), 1);
        QCOMPARE(main.recorder->CountU(QEvent::KeyPress), 2);

        // So does one pressed while the start-up request runs.
        fake.Calls.clear();
        QVERIFY(!main.update.autoUpdate(true, 1));
        QCOMPARE(fake.Calls.size(), std::size_t{1});
        QCOMPARE(fake.Calls[0].entry, std::string("autoUpdate"));
        QVERIFY(!main.update.IsBusy());
    }

    void anUpdateByCtrlUCallsTheHandler() {
        UpdateSettings settings;
        FakeUpdateLibrary fake;
        settings.NameLibrary(fake.Path());
        ShortCutWindow main;
        QVERIFY(QTest::qWaitForWindowActive(&main.window));
        int done = 0;
        main.update.OnShortCutUpdateDone = [&] { ++done; };
        fake.Answer(false, true);
        QTest::keyPress(main.recorder, Qt::Key_U, Qt::ControlModifier);
        QCOMPARE(done, 1);
        fake.Answer(false, false);
        QTest::keyRelease(main.recorder, Qt::Key_U, Qt::ControlModifier);
        QCOMPARE(done, 1);
        QCOMPARE(CountOf(fake, "doUpdate"), 2);
    }

    // Runs the application's event loop, so it comes last.
    void withoutAHandlerAnUpdateByCtrlUQuitsTheApplication() {
        UpdateSettings settings;
        FakeUpdateLibrary fake;
        settings.NameLibrary(fake.Path());
        ShortCutWindow main;
        QVERIFY(QTest::qWaitForWindowActive(&main.window));
        fake.Answer(false, true);
        QTimer::singleShot(0, main.recorder,
                           [&] { QTest::keyClick(main.recorder, Qt::Key_U, Qt::ControlModifier); });
        QTimer giveUp;
        giveUp.setSingleShot(true);
        connect(&giveUp, &QTimer::timeout, [] { QCoreApplication::exit(7); });
        giveUp.start(5000);
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(!main.window.isVisible());       // closed the ordinary way
        QCOMPARE(CountOf(fake, "doUpdate"), 1);  // the release found the window gone
    }
};

QTEST_MAIN(TestTQVUpdate)
#include "tst_TQVUpdate.moc"

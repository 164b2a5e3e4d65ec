// SPDX-License-Identifier: GPL-3.0-or-later
// The main window asks the update library at the end of its construction; an update ends the process.
#include "FakeUpdateLibrary.h"
#include "model/Project.h"
#include "ui/main/MainWindowTestSupport.h"
#include "ui/main/TForm1.h"

#include <QProcess>
#include <QtTest>
#include <cstdio>

using namespace trx;
using trx::test::FakeUpdateLibrary;
using trx::test::UpdateSettings;

namespace {

// Set in the environment of a copy of this program that builds the main window for real: the settings
// directory to read, and what the library answers.
constexpr const char* kChildSettings = "TRX_TEST_UPDATE_SETTINGS";
constexpr const char* kChildAnswer = "TRX_TEST_UPDATE_ANSWER";
constexpr int kChildRanOn = 3;

struct ChildOutcome {
    QProcess::ExitStatus exitStatus = QProcess::CrashExit;
    int exitCode = -1;
    QByteArray output;
};

ChildOutcome RunChild(const std::string& settingsDir, bool answer) {
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(kChildSettings), QString::fromStdString(settingsDir));
    environment.insert(QString::fromLatin1(kChildAnswer), answer ? QStringLiteral("1") : QStringLiteral("0"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::SeparateChannels);
    child.start(QCoreApplication::applicationFilePath(), {});
    ChildOutcome outcome;
    if (!child.waitForFinished(30000)) {
        child.kill();
        child.waitForFinished();
        return outcome;
    }
    outcome.exitStatus = child.exitStatus();
    outcome.exitCode = child.exitCode();
    outcome.output = child.readAllStandardOutput();
    return outcome;
}

// The copy's whole life: the real main window with the real end of the process.
int RunAsChild() {
    const QString dir = qEnvironmentVariable(kChildSettings);
    QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, dir);
    QSettings::setPath(QSettings::IniFormat, QSettings::SystemScope, dir);
    FakeUpdateLibrary fake;
    fake.Answer(qEnvironmentVariable(kChildAnswer) == QLatin1String("1"), false);
    fake.DuringCall = [](const test::UpdateCall& call) {
        std::printf("%s %s %d\n", call.entry.c_str(), call.shortApplicationName.c_str(), call.flag);
        std::fflush(stdout);
    };
    cProject project;
    test::StartServices services;
    cUserDialogs dialogs;
    const cMainWindowServices standIns = services.MainWindow(dialogs);
    cQtDesktopServices desktop;
    TForm1 window(project, {standIns.Fs, standIns.Formats, desktop, dialogs, standIns.Shutdown,
                            standIns.Launcher, standIns.SleepInhibitor, standIns.Schedules});
    std::printf("weiter\n");
    std::fflush(stdout);
    return kChildRanOn;
}

}  // namespace

class TestTQVUpdateAtStart : public QObject {
    Q_OBJECT

private slots:
    void theMainWindowAsksTheLibraryAsItsLastStep() {
        UpdateSettings settings;
        FakeUpdateLibrary fake;
        settings.NameLibrary(fake.Path());
        test::StartServices services;
        cUserDialogs dialogs;

        fake.Answer(true, false);
        cProject project;
        {
            TForm1 window(project, services.MainWindow(dialogs));
            QCOMPARE(services.desktop.EndStatuses, QList<int>{0});
            QCOMPARE(fake.Calls.size(), std::size_t{1});
            QCOMPARE(fake.Calls[0].entry, std::string("autoUpdate"));
            QCOMPARE(fake.Calls[0].shortApplicationName, std::string("trxmain"));
            QCOMPARE(fake.Calls[0].flag, 1);
            QCOMPARE(fake.Calls[0].application, static_cast<void*>(QCoreApplication::instance()));
            QCOMPARE(window.QVUpdate.objectName(), QStringLiteral("QVUpdate"));
            QVERIFY(!window.QVUpdate.IsLoaded());  // unloaded after asking
        }

        fake.Answer(false, false);
        TForm1 window(project, services.MainWindow(dialogs));
        QCOMPARE(services.desktop.EndStatuses, QList<int>{0});  // no second end
        QCOMPARE(fake.Calls.size(), std::size_t{2});
        QCOMPARE(window.windowTitle(), QStringLiteral("Tresorix"));
    }

    void ctrlUInTheActiveMainWindowAsksForAnUpdate() {
        UpdateSettings settings;
        FakeUpdateLibrary fake;
        settings.NameLibrary(fake.Path());
        cProject project;
        test::StartServices services;
        cUserDialogs dialogs;
        TForm1 window(project, services.MainWindow(dialogs));
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        fake.Calls.clear();
        QWidget* target = QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : &window;
        QTest::keyClick(target, Qt::Key_U, Qt::ControlModifier);
        QCOMPARE(fake.Calls.size(), std::size_t{2});
        QCOMPARE(fake.Calls[0].entry, std::string("doUpdate"));
        QCOMPARE(fake.Calls[0].shortApplicationName, std::string("trxmain"));
        QCOMPARE(fake.Calls[0].flag, 0);
    }

    void anUpdateAtStartEndsTheRealProcessWith0() {
        FakeUpdateLibrary keepLoaded;  // makes sure the library builds before a copy relies on it
        UpdateSettings settings;
        settings.NameLibrary(keepLoaded.Path());

        const ChildOutcome updated = RunChild(settings.Dir().Path(), true);
        QCOMPARE(updated.exitStatus, QProcess::NormalExit);
        QCOMPARE(updated.exitCode, 0);
        QCOMPARE(updated.output, QByteArray("autoUpdate trxmain 1\n"));

        const ChildOutcome notUpdated = RunChild(settings.Dir().Path(), false);
        QCOMPARE(notUpdated.exitStatus, QProcess::NormalExit);
        QCOMPARE(notUpdated.exitCode, kChildRanOn);
        QCOMPARE(notUpdated.output, QByteArray("autoUpdate trxmain 1\nweiter\n"));
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (qEnvironmentVariableIsSet(kChildSettings)) {
        return RunAsChild();
    }
    TestTQVUpdateAtStart test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_TQVUpdateAtStart.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ActionRecorders.h"
#include "engine/RunController.h"
#include "model/BackUpSource.h"
#include "model/Project.h"
#include "platform/PosixFileSystem.h"
#include "support/TestDir.h"
#include "ui/common/QtTextFormats.h"
#include "ui/run/TForm2.h"

#include <fcntl.h>
#include <unistd.h>
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <string>

namespace trx::test {

// A run window over a project in a temporary folder, with recorders for the after-finishing actions and
// for the end of the application. The run goes through the real file system, or through `fs`.
struct RunWindowFixture {
    RunWindowFixture() : RunWindowFixture(posix) {}
    explicit RunWindowFixture(platform::FileSystem& fs)
        : window(project, {fs, formats, shutdown, launcher, sleep}) {
        window.EndApplication = [this] { ++EndApplicationCalls; };
        window.Controller().Context().PumpInterval = std::chrono::steady_clock::duration::zero();
    }

    cBackUpDestination* AddDestination(const std::string& name) {
        return new cBackUpDestination(project, tmp / (name + "/"));
    }
    // A source folder holding `files` files of `bytes` bytes each.
    cBackUpSource* AddSource(cBackUpDestination* destination, const std::string& name, int files = 1,
                             std::size_t bytes = 10) {
        tmp.MakeDir(name);
        for (int i = 0; i < files; ++i) {
            tmp.WriteFile(name + "/file" + std::to_string(i) + ".dat", std::string(bytes, 'x'));
        }
        return new cBackUpSource(tmp / (name + "/"), *destination);
    }

    // Shows the window, which starts the run, and waits until the run is over.
    void RunShown() {
        window.hide();
        window.show();
        QVERIFY(
            QTest::qWaitFor([&] { return !window.Controller().Running() && window.LastRun().Ran; }, 10000));
    }

    TestDir tmp;
    cProject project;
    platform::PosixFileSystem posix;
    cQtTextFormats formats;
    ShutdownRecorder shutdown;
    LauncherRecorder launcher;
    SleepInhibitorRecorder sleep;
    TForm2 window;
    int EndApplicationCalls = 0;
};

// Run options as the command line or the list sets them: `action`, with `command` for "Befehl ausführen".
inline cRunOptions WithAction(AfterFinishing action, std::string command = {}) {
    cRunOptions options;
    options.Action = action;
    options.Command = std::move(command);
    return options;
}

// `options` for a silent run ("/s").
inline cRunOptions Silent(cRunOptions options = {}) {
    options.Silent = true;
    return options;
}

// Calls `act` with the next modal window as soon as it is open (a message box, an input box, a viewer).
inline void WithNextModal(std::function<void(QWidget*)> act) {
    auto* poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            poll->stop();
            poll->deleteLater();
            act(modal);
        }
    });
    poll->start();
}

// Calls `act` at the first chance the engine gives the event loop during the next run of `window`.
inline void DuringTheRun(TForm2& window, std::function<void()> act) {
    auto* poll = new QTimer;
    poll->setInterval(0);
    QObject::connect(poll, &QTimer::timeout, [poll, act, &window] {
        if (window.Controller().Running()) {
            poll->stop();
            poll->deleteLater();
            act();
        }
    });
    poll->start();
}

// Collects what is written to standard error while it lives.
class StandardErrorCapture {
public:
    explicit StandardErrorCapture(const std::string& file) : file_(file) {
        std::fflush(stderr);
        saved_ = ::dup(2);
        const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(fd, 2);
        ::close(fd);
    }
    ~StandardErrorCapture() { Restore(); }
    StandardErrorCapture(const StandardErrorCapture&) = delete;
    StandardErrorCapture& operator=(const StandardErrorCapture&) = delete;

    // Ends the capture and returns what was written.
    std::string Text() {
        Restore();
        return ReadWholeFile(file_);
    }

private:
    void Restore() {
        if (saved_ >= 0) {
            std::fflush(stderr);
            ::dup2(saved_, 2);
            ::close(saved_);
            saved_ = -1;
        }
    }
    std::string file_;
    int saved_ = -1;
};

}  // namespace trx::test

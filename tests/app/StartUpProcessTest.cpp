// SPDX-License-Identifier: GPL-3.0-or-later
// Starts the real program the way cron or a systemd timer would: without any display.
#include "model/BackUpSource.h"
#include "model/Project.h"
#include "model/ProjectFile.h"
#include "platform/PosixFileSystem.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cstdio>

extern char** environ;

namespace trx {
namespace {

struct Outcome {
    int status = -1;
    std::string err;
};

// Runs trxmain with `args` and without DISPLAY/WAYLAND_DISPLAY; collects its exit status and stderr.
Outcome RunHeadless(const std::vector<std::string>& args, const test::TestDir& dir) {
    const std::string errPath = dir / "stderr.txt";
    std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM '" TRXMAIN_PATH "'";
    for (const std::string& arg : args) {
        command += " '" + arg + "'";
    }
    command += " </dev/null >/dev/null 2>'" + errPath + "'";
    Outcome outcome;
    const int rc = std::system(command.c_str());
    outcome.status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    outcome.err = test::ReadWholeFile(errPath);
    return outcome;
}

TEST(StartUpProcess, ABrokenProjectIsReportedOnStandardErrorWithExitStatus1) {
    test::TestDir dir;
    dir.WriteFile("broken.buf", "\x05 not a project");
    const Outcome outcome = RunHeadless({dir / "broken.buf", "/h"}, dir);
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, "Das Projekt »" + dir / "broken.buf" +
                               "« kann nicht geladen werden: Invalid property value.\n");

    dir.WriteFile("cut.buf", "\x01");
    const Outcome cut = RunHeadless({dir / "cut.buf", "/h", "/s"}, dir);
    EXPECT_EQ(cut.status, 1);
    EXPECT_EQ(cut.err,
              "Das Projekt »" + dir / "cut.buf" + "« kann nicht geladen werden: Stream read error.\n");
}

TEST(StartUpProcess, AValidProjectLoadsAndEndsWith0) {
    test::TestDir dir;
    cProject project;
    auto* dest = new cBackUpDestination(project, dir / "ziel/");
    new cBackUpSource(dir.MakeDir("quelle"), *dest);
    platform::PosixFileSystem fs;
    SaveProject(project, dir / "Projekt mit Leerzeichen.BUF", fs);
    const Outcome outcome = RunHeadless({dir / "Projekt mit Leerzeichen.BUF", "/h", "/s"}, dir);
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.err, "");
}

TEST(StartUpProcess, AnInteractiveStartWithoutDisplayExplainsAndFails) {
    test::TestDir dir;
    const Outcome outcome = RunHeadless({dir / "fehlt.buf", "/h"}, dir);
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(outcome.err.find("trxmain <Projekt.buf> /h /s"), std::string::npos) << outcome.err;
}

TEST(StartUpProcess, OpenEditsTheProjectAndNeverBacksItUp) {
    // The menu entry's command line: a main window (here there is no display for it), never a run.
    test::TestDir dir;
    cProject project;
    auto* dest = new cBackUpDestination(project, dir / "ziel/");
    dir.WriteFile("quelle/brief.txt", "Inhalt");
    new cBackUpSource(dir / "quelle/", *dest);
    platform::PosixFileSystem fs;
    SaveProject(project, dir / "Projekt.buf", fs);
    const Outcome outcome = RunHeadless({"--open", dir / "Projekt.buf", "/h", "/s"}, dir);
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(outcome.err.find("Hauptfenster"), std::string::npos) << outcome.err;
    EXPECT_FALSE(dir.Exists("ziel"));
    EXPECT_FALSE(dir.Exists("Projekt_Protocol.txt"));
}

}  // namespace
}  // namespace trx

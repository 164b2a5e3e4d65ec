// SPDX-License-Identifier: GPL-3.0-or-later
// Unattended runs of the real program without any display, as cron or a systemd timer start them: the
// exit statuses, the project file written again, the command after the run, and a termination signal.
#include "app/ExitStatus.h"
#include "engine/RunController.h"
#include "model/BackUpSource.h"
#include "model/Project.h"
#include "model/ProjectFile.h"
#include "platform/PosixFileSystem.h"
#include "HeadlessProgram.h"
#include "support/TestDir.h"

#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace trx {
namespace {

using test::Headless;
using test::Outcome;
using test::RunHeadless;

// A saved project: one destination, sources as given (created unless their name starts with "fehlt").
std::string SaveProjectWith(test::TestDir& dir, const std::vector<std::string>& sources,
                            const std::string& name = "Projekt.buf") {
    cProject project;
    project.DefaultOptions.Protocol = 2;
    auto* destination = new cBackUpDestination(project, dir / "ziel/");
    for (const std::string& source : sources) {
        new cBackUpSource(source.rfind("fehlt", 0) == 0 ? dir / (source + "/") : dir.MakeDir(source),
                          *destination);
    }
    platform::PosixFileSystem fs;
    SaveProject(project, dir / name, fs);
    return dir / name;
}

TEST(ExitStatus, CancelledBeforeProblemsBeforeSuccess) {
    cRunResult result;
    EXPECT_EQ(RunExitStatus(result), kExitCancelled);  // no run took place
    result.Ran = true;
    EXPECT_EQ(RunExitStatus(result), kExitCompleted);
    result.SaveError = "Cannot create file /x.buf";
    EXPECT_EQ(RunExitStatus(result), kExitWithProblems);
    result.SaveError.clear();
    result.ProblemCount = 1;
    EXPECT_EQ(RunExitStatus(result), kExitWithProblems);
    result.Cancelled = true;
    EXPECT_EQ(RunExitStatus(result), kExitCancelled);
    result = cRunResult{};
    result.AlreadyRunning = true;  // refused: another run of the project was under way
    EXPECT_EQ(RunExitStatus(result), kExitWithProblems);
}

TEST(UnattendedRun, AHiddenRunBacksUpAndRewritesTheProjectWithTheNewCatalogues) {
    test::TestDir dir;
    dir.WriteFile("briefe/a.txt", "aaa");
    dir.WriteFile("briefe/2025/b.txt", "bb");
    dir.WriteFile("fotos/c.jpg", "c");
    const std::string path = SaveProjectWith(dir, {"briefe", "fotos"});

    // Without "/s" the hidden run ends by itself all the same.
    const Outcome outcome = RunHeadless({path, "/h"}, dir);
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.err, "");
    EXPECT_EQ(dir.ReadFile("ziel/2025/b.txt"), "bb");
    EXPECT_EQ(dir.ReadFile("ziel/c.jpg"), "c");

    cProject reloaded;
    platform::PosixFileSystem fs;
    LoadProject(reloaded, path, fs);
    ASSERT_EQ(reloaded.Destinations.Count(), 1);
    const cBackUpSource& letters = *reloaded.Destinations[0]->Sources[0];
    EXPECT_EQ(letters.TotalSize, 5u);
    std::vector<std::string> names = letters.Catalogue.Files;  // in the order the folder listed them
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"2025", "A.TXT"}));
    EXPECT_EQ(reloaded.Destinations[0]->Sources[1]->TotalSize, 1u);

    const std::string protocol = dir.ReadFile("Projekt_Protocol.txt");
    EXPECT_NE(protocol.find(" Der Sicherungsvorgang hat begonnen.\r\n"), std::string::npos);
    EXPECT_NE(protocol.find(" Der Sicherungsvorgang ist beendet.\r\n"), std::string::npos);
}

TEST(UnattendedRun, AShownRunWithoutDisplayDrawsOffScreenAndEndsEvenWithoutSilentSwitch) {
    test::TestDir dir;
    dir.WriteFile("quelle/a.txt", "a");
    const std::string path = SaveProjectWith(dir, {"quelle"});
    const Outcome silent = RunHeadless({path, "/S"}, dir);
    EXPECT_EQ(silent.status, 0);
    EXPECT_TRUE(dir.Exists("ziel/a.txt"));
    // Nobody could close a window without a display: it closes itself after the run.
    const Outcome shown = RunHeadless({path}, dir);
    EXPECT_EQ(shown.status, 0);
}

TEST(UnattendedRun, ASecondRunOfAProjectIsRefusedAndTouchesNothing) {
    test::TestDir dir;
    dir.WriteFile("quelle/a.txt", "a");
    const std::string path = SaveProjectWith(dir, {"quelle"});
    const std::string project = dir.ReadFile("Projekt.buf");
    platform::PosixFileSystem fs;
    auto firstRun = fs.LockFile(dir / ".Projekt.buf.lock");  // what a run under way holds
    ASSERT_TRUE(firstRun);

    const Outcome refused = RunHeadless({path, "/h", "/s"}, dir);
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.err.find("wird bereits von einem anderen Sicherungsvorgang gesichert"),
              std::string::npos);
    EXPECT_FALSE(dir.Exists("ziel"));
    EXPECT_FALSE(dir.Exists("Projekt_Protocol.txt"));
    EXPECT_EQ(dir.ReadFile("Projekt.buf"), project);

    firstRun->reset();  // the lock goes with its holder, also with one that was killed
    EXPECT_EQ(RunHeadless({path, "/h", "/s"}, dir).status, 0);
    EXPECT_TRUE(dir.Exists("ziel/a.txt"));
}

TEST(UnattendedRun, ProblemsInTheRunGiveExitStatus2) {
    test::TestDir dir;
    dir.WriteFile("quelle/a.txt", "a");
    const std::string path = SaveProjectWith(dir, {"quelle", "fehlt"});
    const Outcome outcome = RunHeadless({path, "/h", "/s"}, dir);
    EXPECT_EQ(outcome.status, 2);
    EXPECT_TRUE(dir.Exists("ziel/a.txt"));  // the run went on past the missing source
    EXPECT_NE(dir.ReadFile("Projekt_Protocol.txt").find("fehlt/\" kann nicht zugegriffen werden."),
              std::string::npos);
}

TEST(UnattendedRun, AProjectThatCannotBeSavedAfterTheRunIsReportedWithStatus2) {
    test::TestDir dir;
    // The first run copies the folder "alt"; then it vanishes at the source, and the project file is
    // moved into its copy. The next run deletes that copy, project file and all, so the save must fail.
    dir.WriteFile("quelle/alt/x.txt", "x");
    dir.WriteFile("quelle/bleibt.txt", "b");
    const std::string first = SaveProjectWith(dir, {"quelle"});
    ASSERT_EQ(RunHeadless({first, "/h", "/s"}, dir).status, 0);
    std::filesystem::remove_all(dir / "quelle/alt");
    const std::string moved = dir / "ziel/alt/Projekt.buf";
    std::filesystem::rename(first, moved);

    const Outcome outcome = RunHeadless({moved, "/h", "/s"}, dir);
    EXPECT_EQ(outcome.status, 2);
    EXPECT_EQ(outcome.err, "Das Projekt »" + moved + "« kann nicht gespeichert werden: Cannot create file " +
                               moved + ".\n");
    EXPECT_FALSE(dir.Exists("ziel/alt"));
}

TEST(UnattendedRun, TheCommandAfterTheRunGetsItsItemsAsArguments) {
    test::TestDir dir;
    dir.WriteFile("quelle/a.txt", "a");
    const std::string path = SaveProjectWith(dir, {"quelle"});
    const std::string marker = dir / "nachher.txt";
    const std::string script =
        dir.WriteFile("nachher.sh", "#!/bin/sh\nprintf '%s|' \"$@\" > '" + marker + ".part'\nmv '" + marker +
                                        ".part' '" + marker + "'\n");
    ::chmod(script.c_str(), 0700);

    const Outcome outcome =
        RunHeadless({path, "/h", "/a", "\"" + script + "\" erstes, \"zweites Wort\""}, dir);
    EXPECT_EQ(outcome.status, 0);
    for (int i = 0; i < 500 && !dir.Exists("nachher.txt"); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(dir.ReadFile("nachher.txt"), "erstes|zweites Wort|");
}

TEST(UnattendedRun, SigtermDuringAHiddenRunCancelsItAndKeepsTheEarlierCopy) {
    test::TestDir dir;
    dir.MakeDir("quelle");
    // Large and allocated but never written: made at once, and seconds to copy (a sparse file would be
    // copied in no time, holes staying holes).
    const std::string big = dir / "quelle/gross.bin";
    {
        const int fd = ::open(big.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ASSERT_GE(fd, 0);
        const int allocated = ::posix_fallocate(fd, 0, off_t{4} << 30);
        ::close(fd);
        if (allocated != 0) {
            GTEST_SKIP() << "the temporary folder's file system cannot allocate a large file at once";
        }
    }
    dir.WriteFile("ziel/gross.bin", "die frühere Kopie");
    dir.SetTimes("ziel/gross.bin", 946'684'800);  // 2000: older than the source, so it is copied again
    const std::string path = SaveProjectWith(dir, {"quelle"});
    const std::string before = dir.ReadFile("Projekt.buf");

    Headless program({path, "/h", "/s"}, dir / "stderr.txt");
    ASSERT_GT(program.Pid(), 0);
    // Wait until the copy is under way: its temporary file has appeared beside the target.
    auto copying = [&] {
        bool found = false;
        if (DIR* d = ::opendir((dir / "ziel").c_str())) {
            while (const dirent* entry = ::readdir(d)) {
                found = found || std::strncmp(entry->d_name, ".gross.bin.", 11) == 0;
            }
            ::closedir(d);
        }
        return found;
    };
    bool started = false;
    for (int i = 0; i < 3000 && !started; ++i) {
        started = copying();
        if (!started) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }
    ASSERT_TRUE(started);
    ::kill(program.Pid(), SIGTERM);
    EXPECT_EQ(program.Wait(), 3);

    EXPECT_EQ(dir.ReadFile("ziel/gross.bin"), "die frühere Kopie");
    EXPECT_FALSE(copying());
    EXPECT_EQ(dir.ReadFile("Projekt.buf"), before);  // a cancelled run is not saved
    const std::string protocol = dir.ReadFile("Projekt_Protocol.txt");
    EXPECT_NE(protocol.find(" Der Sicherungsvorgang wurde abgebrochen.\r\n"), std::string::npos);
}

}  // namespace
}  // namespace trx

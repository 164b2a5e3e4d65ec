// SPDX-License-Identifier: GPL-3.0-or-later
// What a whole run leaves on disk as it goes: the catalogue journal beside the project, the mark of a run
// under way in the project's lock file, the protocol, and the counter of copied files.
#include "QuietRunView.h"
#include "engine/DefaultTextFormats.h"
#include "engine/Messages.h"
#include "engine/RunController.h"
#include "engine/SafeCopy.h"
#include "model/BackUpSource.h"
#include "model/Project.h"
#include "model/ProjectExtras.h"
#include "model/ProjectFile.h"
#include "platform/PosixFileSystem.h"
#include "support/FaultyFileSystem.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>
#include <cerrno>
#include <filesystem>

namespace trx {
namespace {

namespace fs = std::filesystem;
using test::FaultyFileSystem;

class RunRecordsTest : public ::testing::Test {
protected:
    RunRecordsTest() {
        src = tmp.MakeDir("src");
        dst = tmp / "dst/";
        project.Reset();
        new cBackUpSource(src, *new cBackUpDestination(project, dst));
        project.ProjectPath = tmp / "p.buf";
        SaveProject(project, project.ProjectPath, posix);
    }

    cRunResult RunOnce(cRunController* controller = nullptr) {
        cRunController own(project, view, faulty, formats);
        cRunController& run = controller != nullptr ? *controller : own;
        run.PrepareTotals(1000, 100);
        return run.Run();
    }

    cProject& Reloaded() {
        reloaded.Reset();
        LoadProject(reloaded, project.ProjectPath, posix);
        return reloaded;
    }

    test::TestDir tmp;
    platform::PosixFileSystem posix;
    FaultyFileSystem faulty{posix};
    cDefaultTextFormats formats;
    test::QuietRunView view;
    cProject project;
    cProject reloaded;
    std::string src;
    std::string dst;
};

TEST_F(RunRecordsTest, TheCopiesOfACancelledRunAreKnownToTheNextLoad) {
    tmp.WriteFile("src/stays", "s");
    RunOnce();
    for (int i = 0; i < 6; ++i) {
        tmp.WriteFile("src/New/n" + std::to_string(i), "n");
    }
    cRunController controller(project, view, faulty, formats);
    cRunOptions oneThread;
    oneThread.WorkerThreads = 0;  // so that the cancel lands between two copies
    controller.SetOptions(oneThread);
    view.OnFileCopied = [&](int copied) {
        if (copied == 3) {
            controller.Cancel();
        }
    };
    EXPECT_TRUE(RunOnce(&controller).Cancelled);
    view.OnFileCopied = nullptr;
    const auto copies = std::distance(fs::directory_iterator(dst + "New"), fs::directory_iterator());
    ASSERT_TRUE(copies >= 3 && copies < 6) << copies;

    // The project file was not written again, yet the names of the new copies come back with it: once
    // their originals are deleted, so are the copies.
    cProject& next = Reloaded();
    EXPECT_EQ(next.Destinations[0]->Sources[0]->Catalogue.FindChild("New")->Files.size(), 6u);
    fs::remove_all(src + "New");
    project.Destinations.DeleteAll();
    ParseProject(project, SerializeProject(next));
    LoadProjectExtras(project, project.ProjectPath, posix);
    EXPECT_EQ(RunOnce().ProblemCount, 0);
    EXPECT_FALSE(tmp.Exists("dst/New"));
    EXPECT_EQ(tmp.ReadFile("p.tresorix").find("catalogue"), std::string::npos);  // saved: no journal left
}

TEST_F(RunRecordsTest, AKilledRunIsKnownByItsMarkAndItsTemporaryCopiesGo) {
    tmp.WriteFile("src/a.txt", "a");
    RunOnce();
    EXPECT_EQ(tmp.ReadFile(".p.buf.lock"), "");  // a run that ended leaves no mark
    tmp.WriteFile(".p.buf.lock", "running\n");   // what a killed run leaves
    tmp.WriteFile("dst/.a.txt.trx-0123abcd", "half a copy");
    RunOnce();
    EXPECT_FALSE(tmp.Exists("dst/.a.txt.trx-0123abcd"));
    EXPECT_EQ(tmp.ReadFile(".p.buf.lock"), "");
}

TEST_F(RunRecordsTest, OnlyCopiesInPlaceAreCounted) {
    tmp.WriteFile("src/good", "g");
    tmp.WriteFile("src/bad", "b");
    faulty.Fail(FaultyFileSystem::Op::LinkFileAt, dst + "bad", EIO);
    faulty.Fail(FaultyFileSystem::Op::RenameAt, dst + "bad", EIO);
    cRunController controller(project, view, faulty, formats);
    EXPECT_EQ(RunOnce(&controller).ProblemCount, 1);
    EXPECT_EQ(controller.FilesCopied(), 1);
}

TEST_F(RunRecordsTest, AProtocolThatCannotBeWrittenIsReportedOnceAndTheRunGoesOn) {
    tmp.WriteFile("src/a.txt", "a");
    tmp.WriteFile("src/b.txt", "b");
    project.DefaultOptions.Protocol = 2;
    faulty.Fail(FaultyFileSystem::Op::Write, "p_Protocol.txt", ENOSPC);
    const cRunResult result = RunOnce();
    EXPECT_TRUE(tmp.Exists("dst/a.txt") && tmp.Exists("dst/b.txt"));
    EXPECT_EQ(result.ProblemCount, 1);
    ASSERT_EQ(view.Reports.size(), 1u);
    EXPECT_NE(view.Reports[0].find("p_Protocol.txt\" konnte nicht vollständig geschrieben werden"),
              std::string::npos);
}

TEST(ProtocolAsItGoes, LinesReachTheDiskWithinASecond) {
    test::TestDir dir;
    platform::PosixFileSystem posix;
    cDefaultTextFormats formats;
    cBackUpOptions defaults;
    auto now = std::chrono::steady_clock::time_point{};
    cProtocol protocol(defaults, posix, formats, [] { return platform::cLocalTime{2026, 12, 8, 2, 30, 0, 0}; },
                       [&] { return now; });
    ASSERT_TRUE(protocol.Open(dir / "p.buf"));
    protocol.WriteProtocol("eins", 1, nullptr);
    EXPECT_EQ(dir.ReadFile("p_Protocol.txt"), "");
    now += std::chrono::milliseconds(1000);
    protocol.FlushIfDue();  // a long copy in between: the run asks between its chunks
    EXPECT_EQ(dir.ReadFile("p_Protocol.txt"), "08.12.2026 02:30:00 eins\r\n");
    protocol.WriteProtocol("zwei", 1, nullptr);
    now += std::chrono::milliseconds(1500);
    protocol.WriteProtocol("drei", 1, nullptr);
    EXPECT_EQ(dir.ReadFile("p_Protocol.txt").size(), 3 * std::string("08.12.2026 02:30:00 eins\r\n").size());
}

}  // namespace
}  // namespace trx

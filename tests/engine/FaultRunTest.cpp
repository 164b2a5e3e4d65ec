// SPDX-License-Identifier: GPL-3.0-or-later
// Faults over whole runs: each one is reported as a problem, keeps the earlier copy and deletes nothing it
// must not; the next run without the fault completes cleanly.
#include "QuietRunView.h"
#include "engine/DefaultTextFormats.h"
#include "engine/RunController.h"
#include "engine/RunView.h"
#include "engine/SafeCopy.h"
#include "platform/TemporaryName.h"
#include "model/BackUpSource.h"
#include "model/Project.h"
#include "model/ProjectFile.h"
#include "platform/PosixFileSystem.h"
#include "support/FaultyFileSystem.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <cerrno>
#include <filesystem>
#include <map>

namespace trx {
namespace {

namespace fs = std::filesystem;
using test::FaultyFileSystem;
using Op = FaultyFileSystem::Op;

using QuietView = test::QuietRunView;

// Every file below `root` with its size and a hash of its bytes (short enough for failure messages).
std::map<std::string, std::string> Files(const std::string& root) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.is_regular_file()) {
            const std::string content = test::ReadWholeFile(entry.path().string());
            files[fs::relative(entry.path(), root).string()] =
                std::to_string(content.size()) + ":" + std::to_string(std::hash<std::string>{}(content));
        }
    }
    return files;
}

class FaultRunTest : public ::testing::Test {
protected:
    FaultRunTest() {
        src = tmp.MakeDir("src");
        dst = tmp / "dst/";
        project.Reset();
        auto* dest = new cBackUpDestination(project, dst);
        new cBackUpSource(src, *dest);
        project.ProjectPath = tmp / "p.buf";
        tmp.WriteFile("src/big.bin", std::string(3 * kCopyChunk, 'o'));
        tmp.WriteFile("src/keep.txt", "k");
        tmp.WriteFile("src/Sub/inner.txt", "i");
        tmp.WriteFile("src/Sub/gone.txt", "g");
        Touch(1700000000);
        EXPECT_EQ(RunOnce().ProblemCount, 0);
        // The changes the faulty run is to carry over.
        tmp.WriteFile("src/big.bin", std::string(3 * kCopyChunk, 'n'));
        tmp.WriteFile("src/Sub/inner.txt", "I");
        ::unlink((src + "Sub/gone.txt").c_str());
        Touch(1700000100);
        before = Files(dst);
    }

    void Touch(std::time_t when) {
        for (const char* file : {"src/big.bin", "src/keep.txt", "src/Sub/inner.txt"}) {
            tmp.SetTimes(file, when);
        }
    }

    cRunResult RunOnce() {
        QuietView view;
        cRunController controller(project, view, faulty, formats);
        controller.PrepareTotals(1000, 100);
        return controller.Run();
    }

    // The protocol lines of the last run, without their time stamps.
    std::string Protocol() const { return tmp.ReadFile("p_Protocol.txt"); }

    // After the faulty run: a problem, no cancel, and then a clean run that reaches the new state.
    void ExpectReportedThenRepaired(const cRunResult& faultyRun, const std::string& line) {
        EXPECT_GT(faultyRun.ProblemCount, 0);
        EXPECT_FALSE(faultyRun.Cancelled);
        EXPECT_NE(Protocol().find(line), std::string::npos) << Protocol();
        for (const auto& [name, content] : Files(dst)) {
            EXPECT_FALSE(platform::IsTemporaryName(fs::path(name).filename().string())) << name;
        }
        faulty.Clear();
        const cRunResult clean = RunOnce();
        EXPECT_EQ(clean.ProblemCount, 0) << Protocol();
        EXPECT_EQ(Files(dst), Files(src));
    }

    test::TestDir tmp;
    platform::PosixFileSystem posix;
    FaultyFileSystem faulty{posix};
    cDefaultTextFormats formats;
    cProject project;
    std::string src;
    std::string dst;
    std::map<std::string, std::string> before;
};

TEST_F(FaultRunTest, DiskFullInTheMiddleOfACopy) {
    faulty.Fail(Op::Write, dst + ".big.bin", ENOSPC, kCopyChunk + 100);
    const cRunResult result = RunOnce();
    EXPECT_EQ(Files(dst)["big.bin"], before["big.bin"]);
    EXPECT_EQ(Files(dst)["Sub/inner.txt"], Files(src)["Sub/inner.txt"]);  // the run went on
    ExpectReportedThenRepaired(
        result, "Die Datei \"" + src + "big.bin\" konnte nicht nach \"" + dst + "\" kopiert werden.");
}

TEST_F(FaultRunTest, PermissionDeniedOnASourceFile) {
    faulty.Fail(Op::OpenFileAt, src + "big.bin", EACCES);
    const cRunResult result = RunOnce();
    EXPECT_EQ(Files(dst)["big.bin"], before["big.bin"]);
    ExpectReportedThenRepaired(result, "Die Datei \"" + src + "big.bin\" konnte nicht");
}

TEST_F(FaultRunTest, PermissionDeniedOnASourceDirectory) {
    faulty.Fail(Op::OpenDirectory, src + "Sub/", EACCES);
    const cRunResult result = RunOnce();
    EXPECT_EQ(Files(dst)["Sub/gone.txt"], before["Sub/gone.txt"]);  // nothing deleted for an unread folder
    EXPECT_EQ(Files(dst)["Sub/inner.txt"], before["Sub/inner.txt"]);
    ExpectReportedThenRepaired(result,
                               "Auf das Verzeichnis \"" + src + "Sub/\" kann nicht zugegriffen werden.");
}

TEST_F(FaultRunTest, PermissionDeniedOnATargetDirectory) {
    faulty.Fail(Op::OpenDirectory, dst + "Sub/", EACCES);
    const cRunResult result = RunOnce();
    EXPECT_EQ(Files(dst)["Sub/gone.txt"], before["Sub/gone.txt"]);
    ExpectReportedThenRepaired(result, "da auf das Zielverzeichnis \"" + dst + "Sub/\" nicht zugegriffen");
}

TEST_F(FaultRunTest, PermissionDeniedOnADeletion) {
    faulty.Fail(Op::RemoveAt, dst + "Sub/gone.txt", EACCES);
    const cRunResult result = RunOnce();
    EXPECT_EQ(Files(dst)["Sub/gone.txt"], before["Sub/gone.txt"]);
    ExpectReportedThenRepaired(result, "Die Datei \"" + dst + "Sub/gone.txt\" konnte nicht gelöscht werden.");
}

TEST_F(FaultRunTest, ASourceFileThatVanishesShrinksOrGrowsDuringItsCopy) {
    const std::string line = "Die Datei \"" + src + "big.bin\" ";
    // Gone between its stat and its opening.
    faulty.Fail(Op::OpenFileAt, src + "big.bin", ENOENT);
    cRunResult result = RunOnce();
    EXPECT_EQ(Files(dst)["big.bin"], before["big.bin"]);
    ExpectReportedThenRepaired(result, line + "konnte nicht nach");

    // Changed while it is read: after the first chunk the writer cuts it, rewrites it in place, or appends.
    enum Change { kShrink, kRewrite, kGrow };
    for (const Change change : {kShrink, kRewrite, kGrow}) {
        SCOPED_TRACE(change);
        tmp.WriteFile("src/big.bin", std::string(3 * kCopyChunk, static_cast<char>('a' + change)));
        const std::time_t seen = std::time(nullptr) + 3600 * (1 + change);  // newer than any copy
        tmp.SetTimes("src/big.bin", seen);
        const std::string copyBefore = Files(dst)["big.bin"];
        bool changed = false;
        faulty.AfterChunk = [&](const std::string& file, std::uint64_t) {
            if (file != src + "big.bin" || std::exchange(changed, true)) {
                return;
            }
            const std::uint64_t size = change == kShrink ? kCopyChunk + 10 : change == kGrow ? 5 * kCopyChunk : 3 * kCopyChunk;
            EXPECT_EQ(::truncate(file.c_str(), static_cast<off_t>(size)), 0);
            tmp.SetTimes("src/big.bin", seen + 1);  // a writer leaves a newer time
        };
        result = RunOnce();
        faulty.AfterChunk = nullptr;
        if (change == kGrow) {
            // A log being written: it gets the copy of the length it had, with the time seen before, and
            // the next run copies it again.
            EXPECT_EQ(result.ProblemCount, 0);
            EXPECT_EQ(tmp.ReadFile("dst/big.bin"), std::string(3 * kCopyChunk, 'c'));
            EXPECT_EQ(std::filesystem::last_write_time(dst + "big.bin"),
                      std::filesystem::file_time_type::clock::from_sys(std::chrono::system_clock::from_time_t(seen)));
            EXPECT_EQ(RunOnce().ProblemCount, 0);
            EXPECT_EQ(Files(dst), Files(src));
        } else {
            EXPECT_EQ(Files(dst)["big.bin"], copyBefore);
            ExpectReportedThenRepaired(result, line + (change == kShrink ? "konnte nicht nach" : "wurde während des Kopierens verändert"));
        }
    }
}

TEST_F(FaultRunTest, AnIoErrorWhileReading) {
    faulty.Fail(Op::Read, src + "big.bin", EIO, 1000);
    faulty.Fail(Op::CopyData, src + "big.bin", EIO, 1000);
    const cRunResult result = RunOnce();
    EXPECT_EQ(Files(dst)["big.bin"], before["big.bin"]);
    ExpectReportedThenRepaired(result, "Die Datei \"" + src + "big.bin\" konnte nicht nach");
}

}  // namespace
}  // namespace trx

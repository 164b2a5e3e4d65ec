// SPDX-License-Identifier: GPL-3.0-or-later
// The fail-safe copy of one file on both of its ways: the temporary name with the rename, and the file
// without a name that is linked in when complete.
#include "engine/SafeCopy.h"

#include "platform/PosixFileSystem.h"
#include "support/FaultyFileSystem.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>
#include <cerrno>
#include <filesystem>

namespace trx {
namespace {

using test::FaultyFileSystem;
using Op = FaultyFileSystem::Op;

class SafeCopyTest : public ::testing::Test {
protected:
    SafeCopyTest() {
        tmp.MakeDir("src");
        tmp.MakeDir("dst");
        source = std::move(*fs.OpenDirectory(tmp / "src"));
        target = std::move(*fs.OpenDirectory(tmp / "dst"));
    }

    CopyOutcome Copy(const std::string& name, bool unnamed, bool cancelAfterFirstChunk = false) {
        const platform::EntryInfo info = *source->Stat(name);
        bool cancel = false;
        cCopyRequest request;
        request.targetAbsent = unnamed;
        request.onChunk = [&](std::uint64_t) { cancel = cancelAfterFirstChunk; };
        request.cancelled = [&] { return cancel; };
        return CopyEntrySafely(*source, *target, name, info, request);
    }

    // Names in the target other than the expected ones: temporary files left behind.
    std::vector<std::string> Others(const std::vector<std::string>& expected) const {
        std::vector<std::string> others;
        for (const auto& entry : std::filesystem::directory_iterator(tmp / "dst")) {
            const std::string name = entry.path().filename().string();
            if (std::find(expected.begin(), expected.end(), name) == expected.end()) {
                others.push_back(name);
            }
        }
        return others;
    }

    test::TestDir tmp;
    platform::PosixFileSystem posix;
    FaultyFileSystem fs{posix};
    std::unique_ptr<platform::Directory> source;
    std::unique_ptr<platform::Directory> target;
};

TEST_F(SafeCopyTest, ANewFileWithoutANameAppearsOnlyComplete) {
    tmp.WriteFile("src/new.txt", "complete");
    tmp.SetTimes("src/new.txt", 1700000000);
    EXPECT_EQ(Copy("new.txt", true), CopyOutcome::Copied);
    EXPECT_EQ(tmp.ReadFile("dst/new.txt"), "complete");
    EXPECT_EQ(std::filesystem::last_write_time(tmp / "dst/new.txt"),
              std::filesystem::last_write_time(tmp / "src/new.txt"));
    EXPECT_EQ(fs.Calls(Op::LinkFileAt), 1);
    EXPECT_EQ(fs.Calls(Op::RenameAt), 0);
    EXPECT_TRUE(Others({"new.txt"}).empty());
}

TEST_F(SafeCopyTest, WithoutUnnamedFilesTheTemporaryNameServes) {
    tmp.WriteFile("src/new.txt", "complete");
    fs.Fail(Op::CreateUnnamedFileAt, "new.txt", EOPNOTSUPP);
    EXPECT_EQ(Copy("new.txt", true), CopyOutcome::Copied);
    EXPECT_EQ(tmp.ReadFile("dst/new.txt"), "complete");
    EXPECT_EQ(fs.Calls(Op::RenameAt), 1);
    EXPECT_TRUE(Others({"new.txt"}).empty());
}

TEST_F(SafeCopyTest, ANameTakenMeanwhileIsReplacedThroughATemporaryName) {
    tmp.WriteFile("src/new.txt", "ours");
    const platform::EntryInfo info = *source->Stat("new.txt");
    fs.AfterChunk = [&](const std::string&, std::uint64_t) { tmp.WriteFile("dst/new.txt", "someone else's"); };
    cCopyRequest request;
    request.targetAbsent = true;
    const CopyOutcome outcome = CopyEntrySafely(*source, *target, "new.txt", info, request);
    EXPECT_EQ(outcome, CopyOutcome::Copied);
    EXPECT_EQ(tmp.ReadFile("dst/new.txt"), "ours");
    EXPECT_TRUE(Others({"new.txt"}).empty());
}

TEST_F(SafeCopyTest, AFailedOrCancelledCopyLeavesNothingOnEitherWay) {
    tmp.WriteFile("src/big.bin", std::string(3 * kCopyChunk, 'b'));
    for (const bool unnamed : {true, false}) {
        SCOPED_TRACE(unnamed ? "unnamed" : "temporary name");
        fs.Clear();
        fs.Fail(Op::Write, "big.bin", ENOSPC, kCopyChunk + 5);
        EXPECT_EQ(Copy("big.bin", unnamed), CopyOutcome::Failed);
        fs.Clear();
        EXPECT_EQ(Copy("big.bin", unnamed, true), CopyOutcome::Cancelled);
        EXPECT_FALSE(tmp.Exists("dst/big.bin"));
        EXPECT_TRUE(Others({}).empty());
    }
}

TEST_F(SafeCopyTest, AnEarlierCopyStaysWhenTheNewOneFails) {
    tmp.WriteFile("src/f.txt", std::string(100000, 'n'));
    tmp.WriteFile("dst/f.txt", "earlier");
    fs.Fail(Op::RenameAt, "f.txt", EACCES);
    EXPECT_EQ(Copy("f.txt", false), CopyOutcome::Failed);
    EXPECT_EQ(tmp.ReadFile("dst/f.txt"), "earlier");
    EXPECT_TRUE(Others({"f.txt"}).empty());
}

}  // namespace
}  // namespace trx

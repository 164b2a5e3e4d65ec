// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SafeReplace.h"
#include "platform/TemporaryName.h"

#include "platform/PosixFileSystem.h"
#include "support/FaultyFileSystem.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <cerrno>
#include <filesystem>

namespace trx::platform {
namespace {

using test::FaultyFileSystem;

int EntriesIn(const std::string& dir) {
    int count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir)) {
        ++count;
    }
    return count;
}

class SafeReplaceTest : public ::testing::Test {
protected:
    test::TestDir dir;
    PosixFileSystem posix;
    FaultyFileSystem faulty{posix};
};

TEST_F(SafeReplaceTest, CreatesAndReplacesKeepingPermissions) {
    const std::string path = dir / "p.buf";
    EXPECT_EQ(ReplaceFileContents(posix, path, "one").failure, ReplaceFailure::None);
    EXPECT_EQ(dir.ReadFile("p.buf"), "one");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    EXPECT_EQ(ReplaceFileContents(posix, path, "two, longer").failure, ReplaceFailure::None);
    EXPECT_EQ(dir.ReadFile("p.buf"), "two, longer");
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(EntriesIn(dir.Path()), 1);
}

TEST_F(SafeReplaceTest, ALinkKeepsPointingAtTheReplacedFile) {
    dir.WriteFile("real/p.buf", "old");
    ASSERT_EQ(::symlink((dir / "real/p.buf").c_str(), (dir / "link.buf").c_str()), 0);
    EXPECT_EQ(ReplaceFileContents(posix, dir / "link.buf", "new").failure, ReplaceFailure::None);
    struct stat st {};
    ASSERT_EQ(::lstat((dir / "link.buf").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(dir.ReadFile("real/p.buf"), "new");
}

TEST_F(SafeReplaceTest, AFailureAtAnyStepKeepsTheOldFileAndLeavesNoTemporaryFile) {
    struct Fault {
        FaultyFileSystem::Op op;
        int error;
        std::uint64_t afterBytes;
        ReplaceFailure expected;
    };
    const Fault faults[] = {
        {FaultyFileSystem::Op::Write, ENOSPC, 3, ReplaceFailure::Write},
        {FaultyFileSystem::Op::Write, EIO, 0, ReplaceFailure::Write},
        {FaultyFileSystem::Op::Sync, EIO, 0, ReplaceFailure::Write},
        {FaultyFileSystem::Op::Close, EDQUOT, 0, ReplaceFailure::Write},
        {FaultyFileSystem::Op::RenameAt, EACCES, 0, ReplaceFailure::Write},
        {FaultyFileSystem::Op::CreateFileAt, EACCES, 0, ReplaceFailure::Create},
    };
    const std::string path = dir.WriteFile("p.buf", "the previous project");
    for (const Fault& fault : faults) {
        faulty.Clear();
        faulty.Fail(fault.op, "p.buf", fault.error, fault.afterBytes);
        const ReplaceResult result = ReplaceFileContents(faulty, path, "a new project that does not fit");
        EXPECT_EQ(result.failure, fault.expected) << static_cast<int>(fault.op);
        EXPECT_EQ(result.error, fault.error);
        EXPECT_EQ(dir.ReadFile("p.buf"), "the previous project");
        EXPECT_EQ(EntriesIn(dir.Path()), 1) << "temporary file left behind";
    }
}

TEST_F(SafeReplaceTest, AMissingFolderOrADirectoryInTheWayCannotBeCreated) {
    EXPECT_EQ(ReplaceFileContents(posix, dir / "missing/p.buf", "x").failure, ReplaceFailure::Create);
    dir.MakeDir("p.buf");
    EXPECT_EQ(ReplaceFileContents(posix, dir / "p.buf", "x").failure, ReplaceFailure::Create);
}

TEST_F(SafeReplaceTest, LeftoversOfAKilledSaveAreRemoved) {
    dir.WriteFile("p.buf", "old");
    dir.WriteFile(".p.buf.trx-01234567", "half a save");
    dir.WriteFile(".p.buf.trx-short", "not ours");
    dir.WriteFile(".q.buf.trx-01234567", "another project's");
    EXPECT_EQ(ReplaceFileContents(posix, dir / "p.buf", "new").failure, ReplaceFailure::None);
    EXPECT_FALSE(dir.Exists(".p.buf.trx-01234567"));
    EXPECT_TRUE(dir.Exists(".p.buf.trx-short"));
    EXPECT_TRUE(dir.Exists(".q.buf.trx-01234567"));
}

TEST(TemporaryName, IsHiddenFreshNeverTooLongAndRecognised) {
    const std::string a = TemporaryName("Daten.buf");
    EXPECT_EQ(a.rfind(".Daten.buf.trx-", 0), 0u) << a;
    EXPECT_NE(a, TemporaryName("Daten.buf"));
    const std::string longName(255, 'n');
    EXPECT_LE(TemporaryName(longName).size(), 255u);
    for (const std::string& name : {a, TemporaryName(longName), a + ".", a + " "}) {
        EXPECT_TRUE(IsTemporaryName(name)) << name;
    }
    for (const std::string name : {"a.txt", ".a.trx-short", ".a.trx-ABCDEFGH", "a.trx-01234567"}) {
        EXPECT_FALSE(IsTemporaryName(name)) << name;
    }
}

}  // namespace
}  // namespace trx::platform

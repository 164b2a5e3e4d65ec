// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/Protocol.h"

#include "engine/DefaultTextFormats.h"
#include "platform/PosixFileSystem.h"
#include "support/FaultyFileSystem.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>
#include <cerrno>

namespace trx {
namespace {

using test::FaultyFileSystem;

class ProtocolTest : public ::testing::Test {
protected:
    test::TestDir dir;
    platform::PosixFileSystem posix;
    FaultyFileSystem faulty{posix};
    cDefaultTextFormats german;
    cBackUpOptions defaults;
    platform::cLocalTime now{2026, 12, 7, 0, 11, 8, 0};
    cProtocol protocol{defaults, faulty, german, [this] { return now; }};

    std::string ProjectPath() { return dir / "Daily.BUF"; }
    std::string Written() { return dir.ReadFile("Daily_Protocol.txt"); }
};

TEST(ProtocolFileName, ReplacesTheExtensionOfTheLastComponent) {
    EXPECT_EQ(ProtocolFileName("/home/anna/Daily.BUF"), "/home/anna/Daily_Protocol.txt");
    EXPECT_EQ(ProtocolFileName("/work/Office.buf"), "/work/Office_Protocol.txt");
    EXPECT_EQ(ProtocolFileName("/work/Office"), "/work/Office_Protocol.txt");
    EXPECT_EQ(ProtocolFileName("/work/v1.2/Office"), "/work/v1.2/Office_Protocol.txt");
    EXPECT_EQ(ProtocolFileName("/work/a.b.buf"), "/work/a.b_Protocol.txt");
    EXPECT_EQ(ProtocolFileName("Office.buf"), "Office_Protocol.txt");
    EXPECT_EQ(ProtocolFileName(""), "");
}

TEST(ProtocolTimeStamp, DateAndTimeButTheDateAloneAtMidnight) {
    const cDefaultTextFormats german;
    EXPECT_EQ(ProtocolTimeStamp({2026, 12, 7, 0, 11, 8, 0}, german), "07.12.2026 00:11:08");
    EXPECT_EQ(ProtocolTimeStamp({2026, 12, 7, 0, 0, 0, 500}, german), "07.12.2026");
    EXPECT_EQ(ProtocolTimeStamp({2026, 12, 7, 0, 0, 1, 0}, german), "07.12.2026 00:00:01");
}

TEST_F(ProtocolTest, LinesEndInCrLfAndReachTheDiskAtClose) {
    ASSERT_TRUE(protocol.Open(ProjectPath()));
    protocol.WriteProtocol("Der Sicherungsvorgang hat begonnen.", 1, nullptr);
    now = {2026, 12, 8, 0, 0, 0, 0};
    protocol.WriteProtocol("zwei\nZeilen", 1, nullptr);
    protocol.WriteProtocol("schon\r\nrichtig\n", 1, nullptr);
    protocol.WriteProtocol("Größe: 1,5 KB", 1, nullptr);
    EXPECT_EQ(Written(), "");  // buffered
    protocol.Close();
    EXPECT_FALSE(protocol.IsOpen());
    EXPECT_EQ(Written(),
              "07.12.2026 00:11:08 Der Sicherungsvorgang hat begonnen.\r\n"
              "08.12.2026 zwei\r\nZeilen\r\n"
              "08.12.2026 schon\r\nrichtig\r\n\r\n"
              "08.12.2026 Größe: 1,5 KB\r\n");
    protocol.WriteProtocol("after close", 1, nullptr);
    protocol.Close();
    EXPECT_EQ(Written().find("after close"), std::string::npos);
}

TEST_F(ProtocolTest, ASecondRunStartsAfresh) {
    ASSERT_TRUE(protocol.Open(ProjectPath()));
    protocol.WriteProtocol("erster Lauf, eine lange Zeile", 1, nullptr);
    protocol.Close();
    ASSERT_TRUE(protocol.Open(ProjectPath()));
    EXPECT_EQ(Written(), "");
    protocol.WriteProtocol("zweiter", 1, nullptr);
    protocol.Close();
    EXPECT_EQ(Written(), "07.12.2026 00:11:08 zweiter\r\n");
}

TEST_F(ProtocolTest, LevelsAreJudgedByTheGivenSetOrTheDefaults) {
    cBackUpOptions group;
    group.Protocol = 2;
    defaults.Protocol = 1;
    ASSERT_TRUE(protocol.Open(ProjectPath()));
    protocol.WriteProtocol("a", 1, nullptr);
    protocol.WriteProtocol("b", 2, nullptr);
    protocol.WriteProtocol("c", 2, &group);
    group.Protocol = 0;
    protocol.WriteProtocol("d", 1, &group);
    defaults.Protocol = 0;  // read at every line, not at Open
    protocol.WriteProtocol("e", 1, nullptr);
    protocol.Close();
    EXPECT_EQ(Written(), "07.12.2026 00:11:08 a\r\n07.12.2026 00:11:08 c\r\n");

    // Nothing to write still leaves a fresh, empty protocol.
    ASSERT_TRUE(protocol.Open(ProjectPath()));
    protocol.WriteProtocol("x", 1, nullptr);
    protocol.Close();
    EXPECT_TRUE(dir.Exists("Daily_Protocol.txt"));
    EXPECT_EQ(Written(), "");
}

TEST_F(ProtocolTest, NoProtocolWithoutAPathOrWhenTheFileCannotBeOpened) {
    int clockCalls = 0;
    cProtocol counting{defaults, faulty, german, [&] {
                           ++clockCalls;
                           return now;
                       }};
    EXPECT_FALSE(counting.Open(""));
    counting.WriteProtocol("nowhere", 1, nullptr);
    EXPECT_EQ(clockCalls, 0);

    dir.WriteFile("Daily_Protocol.txt", "earlier run\r\n");
    faulty.Fail(FaultyFileSystem::Op::OpenForWriting, "_Protocol.txt", EACCES);
    EXPECT_FALSE(counting.Open(ProjectPath()));
    EXPECT_FALSE(counting.IsOpen());
    counting.WriteProtocol("lost", 1, nullptr);
    counting.Close();
    EXPECT_EQ(Written(), "earlier run\r\n");
    EXPECT_EQ(clockCalls, 0);
}

TEST_F(ProtocolTest, AWriteErrorDropsTheLaterLines) {
    // The disk fills up in the middle of the first buffer written out.
    faulty.Fail(FaultyFileSystem::Op::Write, "_Protocol.txt", ENOSPC, 100);
    ASSERT_TRUE(protocol.Open(ProjectPath()));
    const std::string line(200, 'x');
    std::size_t written = 0;
    while (written < cProtocol::kBufferSize) {
        protocol.WriteProtocol(line, 1, nullptr);
        written += line.size() + 22;
    }
    EXPECT_FALSE(protocol.IsOpen());
    faulty.Clear();  // room again: still nothing more of this run
    protocol.WriteProtocol("later", 1, nullptr);
    protocol.Close();
    const std::string text = Written();
    EXPECT_EQ(text.size(), 100u);
    EXPECT_EQ(text.find("later"), std::string::npos);

    // A failure at close loses the buffered lines, nothing else.
    faulty.Fail(FaultyFileSystem::Op::Write, "_Protocol.txt", EIO);
    ASSERT_TRUE(protocol.Open(ProjectPath()));
    protocol.WriteProtocol("gone", 1, nullptr);
    EXPECT_NO_THROW(protocol.Close());
    EXPECT_EQ(Written(), "");
}

}  // namespace
}  // namespace trx

// SPDX-License-Identifier: GPL-3.0-or-later
// The parts of the notification after an unattended run that need no bus: the switch that asks for it,
// the control group that tells a service's process, and moving the helper out of the service.
#include "app/CommandLine.h"
#include "app/RunNotification.h"
#include "platform/ControlGroup.h"
#include "ui/support/ServiceManagerRecorder.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <chrono>

namespace trx {
namespace {

TEST(RunNotification, SlashNAsksForANoticeAfterEveryRun) {
    const auto exists = [](const std::string&) { return true; };
    EXPECT_TRUE(ParseCommandLine({"trxmain", "p.buf", "/h", "/N"}, exists).NotifyAlways);
    EXPECT_FALSE(ParseCommandLine({"trxmain", "p.buf", "/h", "/s"}, exists).NotifyAlways);
    // The helper's switch is no project file: it never starts a run.
    EXPECT_FALSE(ParseCommandLine({"trxmain", kNotifySwitch, "normal", "x", "", ""}, exists).Unattended);
}

TEST(RunNotification, TheControlGroupIsReadFromEitherHierarchy) {
    const std::string unified =
        "0::/user.slice/user-1000.slice/user@1000.service/app.slice/tresorix-x.service\n";
    EXPECT_EQ(platform::ControlGroupFromText(unified),
              "/user.slice/user-1000.slice/user@1000.service/app.slice/tresorix-x.service");
    EXPECT_EQ(platform::ControlGroupFromText("12:pids:/a\n1:name=systemd:/user.slice/session-2.scope\n"),
              "/user.slice/session-2.scope");
    EXPECT_EQ(platform::ControlGroupFromText("4:memory:/x\n"), "");
    EXPECT_TRUE(platform::IsServiceGroup(platform::ControlGroupFromText(unified)));
    EXPECT_FALSE(platform::IsServiceGroup("/user.slice/user-1000.slice/user@1000.service/init.scope"));
    EXPECT_FALSE(platform::IsServiceGroup("/user.slice/session-2.scope"));
    EXPECT_FALSE(platform::IsServiceGroup(""));
    EXPECT_EQ(platform::ControlGroupOf(0), platform::ControlGroupOf(static_cast<int>(::getpid())));
}

TEST(RunNotification, TheHelperLeavesAServiceThroughAScopeOfItsOwn) {
    test::ServiceManagerRecorder manager;
    // Outside a service there is nothing to leave.
    EXPECT_TRUE(MoveOutOfService(4242, "/user.slice/session-2.scope", manager));
    EXPECT_TRUE(manager.Calls.isEmpty());
    // This process is in another group than the service's: out at once.
    const qint64 pid = ::getpid();
    EXPECT_TRUE(MoveOutOfService(pid, "/user.slice/x/app.slice/tresorix-a.service", manager));
    EXPECT_EQ(manager.Calls, QStringList{QStringLiteral("MoveIntoScope tresorix-notice-%1.scope").arg(pid)});
    // Refused by the manager: not out, and no waiting for it.
    const auto started = std::chrono::steady_clock::now();
    manager.Failing = QStringList{QStringLiteral("MoveIntoScope")};
    EXPECT_FALSE(MoveOutOfService(pid, "/a/b.service", manager));
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(1));
}

}  // namespace
}  // namespace trx

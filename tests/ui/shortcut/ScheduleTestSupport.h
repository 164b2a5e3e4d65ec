// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ServiceManagerRecorder.h"
#include "platform/PosixFileSystem.h"
#include "support/TestDir.h"
#include "ui/shortcut/ScheduleStore.h"

namespace trx::test {

// A schedule store over a unit folder of its own, switched on and off by a recorder.
struct ScheduleFixture {
    QString UnitFolder() const { return QString::fromStdString(units / "systemd/user"); }

    ServiceManagerRecorder manager;
    TestDir units;
    platform::PosixFileSystem fs;
    cScheduleStore store{UnitFolder(), manager, fs};
};

}  // namespace trx::test

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace trx::platform {

// The control group a process belongs to, which tells the service manager's units apart: the path of the
// unified hierarchy ("0::/user.slice/.../app.slice/x.service") from the text of /proc/<pid>/cgroup, else
// that of systemd's own named hierarchy on older systems; "" when neither is there.
std::string ControlGroupFromText(std::string_view procCgroupText);

// The control group of the process `pid`, of this process for 0; "" when it cannot be read.
std::string ControlGroupOf(int pid);

// True for the group of a service unit: when such a service ends, the service manager ends every process
// left in its group.
bool IsServiceGroup(std::string_view group);

}  // namespace trx::platform

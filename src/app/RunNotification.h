// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/run/Notice.h"

#include <string>

namespace trx {

class cUserServiceManager;

// Shows `notice` on the desktop through a helper process of this program (started with kNotifySwitch),
// which stays to hear the user's answer, so that this process, and with it the run's exit status, ends
// at once. Without a session bus (cron, a system service) nothing is started. When this process belongs
// to a service, whose end would take the helper along, the helper first moves into a scope unit of its
// own through `manager`. True when the helper was started.
bool StartNoticeHelper(const cNotice& notice, cUserServiceManager& manager);

// Moves the process `pid` out of the service whose control group `ownGroup` is (this process's), whose
// end would take it along, into a scope unit of its own, and waits until it is out (3 s at most). Outside a
// service nothing needs to happen. True when the process is no longer in the service's group.
bool MoveOutOfService(qint64 pid, const std::string& ownGroup, cUserServiceManager& manager);

// The helper's whole life (`trxmain --notify ...`): shows the notice, waits a day at most for the
// user's answer and opens the protocol when asked to. Returns the process exit status.
int RunNoticeHelper(int argc, char** argv);

}  // namespace trx

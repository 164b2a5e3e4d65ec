// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/PosixFileSystem.h"
#include "ui/common/QtDesktopServices.h"
#include "ui/common/QtTextFormats.h"
#include "ui/common/UserServiceManager.h"
#include "ui/main/MainWindowServices.h"
#include "ui/main/UserDialogs.h"
#include "ui/run/CommandLauncher.h"
#include "ui/run/RunWindowServices.h"
#include "ui/run/SleepInhibitor.h"
#include "ui/run/SystemShutdown.h"
#include "ui/shortcut/ScheduleStore.h"

namespace trx {

// The one place that builds the program's services: the file system, the user's text formats, the
// desktop, the message boxes and file dialogs, logind's shutdown request and sleep inhibitor, the
// launcher of commands and documents, systemd's user manager and the schedules kept there. Start-up
// builds it once and hands the windows what they need through their constructors; building it touches
// nothing (no bus is reached before a service is used).
class cProgramServices {
public:
    cProgramServices();
    cProgramServices(const cProgramServices&) = delete;
    cProgramServices& operator=(const cProgramServices&) = delete;

    platform::FileSystem& Fs() { return fs_; }
    cUserServiceManager& ServiceManager() { return serviceManager_; }
    cRunWindowServices RunWindow();
    cMainWindowServices MainWindow();

private:
    platform::PosixFileSystem fs_;
    cQtTextFormats formats_;
    cQtDesktopServices desktop_;
    cUserDialogs dialogs_;
    cLogindShutdown shutdown_;
    cDesktopCommandLauncher launcher_;
    cLogindSleepInhibitor sleepInhibitor_;
    cSystemdUserManager serviceManager_;
    cScheduleStore schedules_;
};

}  // namespace trx

// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ProgramServices.h"

namespace trx {

cProgramServices::cProgramServices() : schedules_(UserUnitFolder(), serviceManager_, fs_) {
}

cRunWindowServices cProgramServices::RunWindow() {
    return {fs_, formats_, shutdown_, launcher_, sleepInhibitor_};
}

cMainWindowServices cProgramServices::MainWindow() {
    return {fs_, formats_, desktop_, dialogs_, shutdown_, launcher_, sleepInhibitor_, schedules_};
}

}  // namespace trx

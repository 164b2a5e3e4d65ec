// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/run/RunWindowServices.h"

namespace trx {

class cDesktopServices;
class cScheduleStore;
class cUserDialogs;

// What the main window and the dialogs it creates take from the program around them; start-up builds
// each once, tests hand in stand-ins. All outlive the window.
struct cMainWindowServices {
    platform::FileSystem& Fs;
    const cTextFormats& Formats;
    cDesktopServices& Desktop;  // addresses, shell icons and type names, the end of the process
    cUserDialogs& Dialogs;      // every modal question the main window asks
    cSystemShutdown& Shutdown;
    cCommandLauncher& Launcher;  // the run window's command, and the folders of "Im Explorer öffnen"
    cSleepInhibitor& SleepInhibitor;
    cScheduleStore& Schedules;  // the shortcut dialog's schedules

    cRunWindowServices RunWindow() const { return {Fs, Formats, Shutdown, Launcher, SleepInhibitor}; }
};

}  // namespace trx

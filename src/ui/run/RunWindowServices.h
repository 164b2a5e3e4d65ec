// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace trx {

namespace platform {
class FileSystem;
}
class cCommandLauncher;
class cSleepInhibitor;
class cSystemShutdown;
class cTextFormats;

// What the run window takes from the program around it; start-up builds each once, tests hand in
// stand-ins. All outlive the window.
struct cRunWindowServices {
    platform::FileSystem& Fs;         // what the run reads and writes
    const cTextFormats& Formats;      // the user's date, time and number formats for protocol and times
    cSystemShutdown& Shutdown;        // "Computer herunterfahren"
    cCommandLauncher& Launcher;       // "Befehl ausführen"
    cSleepInhibitor& SleepInhibitor;  // keeps the computer awake while a run copies
};

}  // namespace trx

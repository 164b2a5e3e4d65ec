// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/HeldBack.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <string>

namespace trx {

namespace platform {
class FileSystem;
}
class cBackUpOptions;
class cCatalogueJournal;
class cProtocol;
class cTextFormats;

// What one backup run shares between the run controller and the engine: the file system, the protocol,
// the user's formats, the message pump and the cancel flag. The engine asks nothing else of a window.
class cRunContext {
public:
    cRunContext(platform::FileSystem& fs, const cTextFormats& formats) : Fs(fs), Formats(formats) {}

    // Writes a protocol line when a protocol is open and `level` is within the set's (or the defaults')
    // protocol level.
    void WriteProtocol(const std::string& text, int level, const cBackUpOptions* options) const;

    // A level-1 line about something that went wrong; counted whether or not the protocol level writes it.
    void ReportProblem(const std::string& text, const cBackUpOptions* options);

    // Lets the user interface handle pending events; calls closer than PumpInterval to the last one
    // are skipped.
    void Pump();

    bool Cancelled() const { return CancelRequested.load(std::memory_order_relaxed); }

    platform::FileSystem& Fs;
    const cTextFormats& Formats;
    cProtocol* Protocol = nullptr;   // none for an unsaved project
    cCatalogueJournal* Journal = nullptr;  // none for an unsaved project
    // The previous run of this project was killed: its temporary copies are cleared away on the way.
    bool PreviousRunKilled = false;
    std::function<void()> PumpHook;  // installed by the user interface; none in a hidden run
    // Set by "Abbrechen" or a termination signal, read by the engine between entries and chunks.
    std::atomic<bool> CancelRequested{false};
    int ProblemCount = 0;
    // The user confirmed that deletions and copies which look like a missing medium go ahead in this run.
    bool ReleaseHeldBack = false;
    // What this run held back instead; each is also a problem of the run.
    cHeldBackList HeldBack;
    // Tests set 0 so that every pump call reaches the hook.
    std::chrono::steady_clock::duration PumpInterval = std::chrono::milliseconds(10);

private:
    std::chrono::steady_clock::time_point lastPump_{};
};

}  // namespace trx

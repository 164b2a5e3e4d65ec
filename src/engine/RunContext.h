// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/HeldBack.h"
#include "model/VersionSettings.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace trx {

namespace platform {
class FileSystem;
}
class cBackUpOptions;
class cCatalogueJournal;
class cCopyQueue;
class cPlanRecorder;
class cProtocol;
class cTextFormats;
class cWorkerPool;

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

    // Work held back as the work of a missing medium: kept for the end of the run, said in the protocol as
    // `text`, and counted as a problem.
    void ReportHeldBack(const cHeldBack& item, const std::string& text);

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
    // A preview: the run decides everything and carries out nothing: no copy, folder, deletion or change
    // of any kind on disk. It runs on a copy of the project (CloneProject), which it may change.
    bool DryRun = false;
    // Where the run's decisions are written as it takes them (a preview's plan; tests of a real run).
    cPlanRecorder* Plan = nullptr;
    // Threads for the file system's calls of the walks (none: the run's own thread makes every call).
    cWorkerPool* Workers = nullptr;
    // The copies under way while a source is walked: every protocol line and problem report waits for
    // them, so that the protocol says what happened in the order of the walk.
    cCopyQueue* Copies = nullptr;
    // Whether replaced and deleted copies are kept as earlier versions (never in a preview), the run
    // folder's name for them (the run's start; made from the clock where empty), how many this run kept,
    // and the versions folders of the destinations it reached, for the pruning at its end.
    cVersionSettings Versions;
    std::string VersionStamp;
    int VersionsKept = 0;
    std::vector<std::string> VersionFolders;
    // Tests set 0 so that every pump call reaches the hook.
    std::chrono::steady_clock::duration PumpInterval = std::chrono::milliseconds(10);

private:
    // What the walk said behind the copies under way is said first, so that a line comes in its order.
    void SayWaiting() const;

    std::chrono::steady_clock::time_point lastPump_{};
};

}  // namespace trx

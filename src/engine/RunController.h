// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/CatalogueJournal.h"
#include "engine/Protocol.h"
#include "engine/RunContext.h"
#include "engine/RunOptions.h"
#include "engine/SourceProgress.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace trx {

class cBackUpDestination;
class cBackUpSource;
class cProject;
class cRunView;
struct cRunPlan;
namespace platform {
class FileLock;
}

// Milliseconds since the system started, wrapping after about 49.7 days like every 32-bit tick counter.
std::uint32_t SystemTickCount();

// A duration as the time of day it would be after midnight, in the user's long time format; a day or more
// wraps around ("00:03:17" for 197 000 ms).
std::string TimeText(std::uint64_t milliseconds, const cTextFormats& formats);

// How one run ended.
struct cRunResult {
    bool Ran = false;             // a run took place at all
    bool Cancelled = false;       // stopped by "Abbrechen" or a termination signal
    int ProblemCount = 0;         // the engine's level-1 problem messages, written or not
    bool ProtocolOpened = false;  // the project had a path, so a protocol was started
    std::string SaveError;        // why the project could not be written after the run; "" when it was
    bool AlreadyRunning = false;  // refused: another run of this project was under way; nothing was touched
    cHeldBackList HeldBack;       // deletions and copies held back as the work of a missing medium
    int VersionsKept = 0;         // replaced or deleted copies kept as earlier versions
};

// Drives one backup run over all destinations of a project and turns the engine's notifications into
// progress positions, counters and times for a cRunView. It owns the run context and the protocol; the
// window owns the controller and the widgets. No user interface library is used here.
class cWorkerPool;

class cRunController {
public:
    using TickSource = std::function<std::uint32_t()>;

    // In count weighting every source stands for this amount.
    static constexpr std::uint64_t kCountWeight = 1000;
    // Below this share of the whole run done (in per cent) an estimate of the remaining time would mostly
    // reflect the run's start-up, not its pace: "-" is shown instead.
    static constexpr std::uint64_t kEstimateFromPercent = 5;

    cRunController(cProject& project, cRunView& view, platform::FileSystem& fs, const cTextFormats& formats,
                   TickSource ticks = &SystemTickCount);
    ~cRunController();
    cRunController(const cRunController&) = delete;
    cRunController& operator=(const cRunController&) = delete;

    // The totals of the preparation: size weighting when every destination has sources and every source a
    // byte total from an earlier run, else count weighting. The bars' maxima are their widths in pixels.
    // Called each time the window is shown, and by start-up before a hidden run.
    void PrepareTotals(std::uint64_t overallBarMaximum, std::uint64_t fileBarMaximum);

    // The whole run: protocol, every destination in order until cancelled, the end-of-run display, the
    // save of a saved project that was not cancelled, closing the protocol, the after-finishing action and,
    // when silent, closing the window. Never throws for a problem inside a destination.
    cRunResult Run();

    // The decisions of a run without carrying out any: the same walk, filters, target paths, change test,
    // comparison and guards as Run, written into `plan`; nothing is written anywhere (no copy, folder,
    // deletion, protocol, mark or save), and the project in memory stays as it was. Progress goes to the
    // view as in a run and Cancel stops it; no end-of-run display and no action afterwards. The project's
    // lock is held only while it walks.
    cRunResult Preview(cRunPlan& plan);

    // The destination hooks' handlers; Run binds them to every destination before it runs.
    void SourceStart(cBackUpDestination& destination, cBackUpSource* previous, cBackUpSource& current);
    void DirEntered(cBackUpDestination& destination, const std::string& relativePath);
    void Progress(cBackUpDestination& destination, int position, int count);
    void FileCompared(cBackUpDestination& destination, cBackUpSource& source);
    void FileProgress(cBackUpDestination& destination, std::uint64_t done, std::uint64_t size,
                      const std::string* fileName);

    // Elapsed and remaining time to the view; the window's timer calls it once a second.
    void ShowTimes();
    // Milliseconds since the run started, correct across one wrap of the tick counter.
    std::uint32_t Elapsed() const;
    // The estimate of the remaining time from the share done so far (finished sources and the progress
    // within the current one); none while less than kEstimateFromPercent per cent is done.
    std::optional<std::uint64_t> Remaining(std::uint32_t elapsed) const;

    // Replaces the tick counter; tests use it to control the times.
    void SetTickSource(TickSource ticks) { ticks_ = std::move(ticks); }

    // What happens around the next runs: silent or not, the action after the run, its command and the
    // release of held-back work, which applies to the next run only (Run clears it as it starts).
    void SetOptions(cRunOptions options) { options_ = std::move(options); }
    const cRunOptions& Options() const { return options_; }

    // The user interface's event pump, called between entries and chunks; none in a hidden run.
    void SetPumpHook(std::function<void()> hook) { context_.PumpHook = std::move(hook); }
    // The flag that "Abbrechen" and a termination signal set; the engine polls it.
    std::atomic<bool>& CancelFlag() { return context_.CancelRequested; }

    // "Abbrechen": the engine stops at its next check.
    void Cancel() { context_.CancelRequested = true; }
    bool Running() const { return running_; }

    bool SizeWeighting() const { return sizeWeighting_; }
    std::uint64_t ProgressTotal() const { return progressTotal_; }
    std::uint64_t ProgressDone() const { return progressDone_; }
    std::uint64_t SourceWeight() const { return sourceWeight_; }
    // What the overall bar stands at: the finished sources and the progress within the current one.
    std::uint64_t ProgressAmount() const { return progressDone_ + sourceProgress_.Amount(); }
    int FilesCompared() const { return filesCompared_; }
    int FilesCopied() const { return filesCopied_; }

    // The engine's view of the run (cancel flag, problems, held-back work), for the window and for tests
    // that act from inside a run.
    cRunContext& Context() { return context_; }

private:
    std::uint64_t OverallPosition(std::uint64_t amount) const;
    // The overall bar after a notice inside the current source; only a changed position is shown.
    void ShowProgressWithinSource();
    // Takes the lock that keeps a second run of the same project out; false when another run holds it.
    bool LockProject(std::unique_ptr<platform::FileLock>& lock);
    bool LockProjectForPreview(std::unique_ptr<platform::FileLock>& lock);
    // The parts of a run: counters and flags, the destinations of `project` one after another, the end
    // lines with the save, and what the user sees afterwards.
    void BeginRun(cRunResult& result);
    void RunDestinations(cProject& project);
    void FinishRun(cRunResult& result);
    // A run that went well removes the versions beyond the project's limits; one with problems or
    // cancelled keeps them all, so that nothing goes while the user may still need it.
    void PruneVersions(const cRunResult& result);
    void ShowOutcome(const cRunResult& result);
    // Marks the run as under way in the lock file; true when the previous run's mark was still there.
    bool MarkRunning();
    void ClearRunMark();
    // The protocol and the catalogue journal of a saved project.
    void OpenRecords(cRunResult& result);
    // Closes the protocol, reports a write error it met once, and ends the run's mark.
    void CloseProtocol(cRunResult& result);

    cRunContext context_;
    cProject& project_;
    cProject* runProject_ = &project_;  // the project being walked: a copy of it in a preview
    cRunView& view_;
    cProtocol protocol_;
    cCatalogueJournal journal_;
    std::string runMarkPath_;  // the lock file of a saved project, which also marks a run under way
    TickSource ticks_;
    std::uint64_t overallMaximum_ = 0;
    std::uint64_t fileMaximum_ = 0;
    bool sizeWeighting_ = true;
    std::uint64_t progressTotal_ = 0;
    std::uint64_t progressDone_ = 0;
    std::uint64_t sourceWeight_ = 0;  // kept from run to run in size weighting
    cSourceProgress sourceProgress_;
    const cBackUpSource* currentSource_ = nullptr;
    std::uint64_t overallShown_ = 0;
    std::uint32_t startTicks_ = 0;
    int filesCompared_ = 0;
    int filesCopied_ = 0;
    bool fileInProgress_ = false;
    bool running_ = false;
    cRunOptions options_;
    std::unique_ptr<cWorkerPool> workers_;  // made at the first run's start
};

}  // namespace trx

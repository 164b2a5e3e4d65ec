// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/RunController.h"

#include "engine/BoundHooks.h"
#include "engine/DestinationRun.h"
#include "engine/Messages.h"
#include "engine/PlanRecorder.h"
#include "engine/RunView.h"
#include "engine/VersionFolders.h"
#include "engine/VersionPruner.h"
#include "engine/WorkerPool.h"
#include "model/BackUpSource.h"
#include "model/Project.h"
#include "model/ProjectFile.h"
#include "model/ProjectFileError.h"
#include "platform/ErrorText.h"
#include "platform/FileSystem.h"

#include <cerrno>
#include <chrono>
#include <exception>

namespace trx {

namespace {
constexpr std::uint64_t kMillisecondsPerDay = 86'400'000;
constexpr char kRunStarted[] = "Der Sicherungsvorgang hat begonnen.";
constexpr char kRunCancelled[] = "Der Sicherungsvorgang wurde abgebrochen.";
constexpr char kRunFinished[] = "Der Sicherungsvorgang ist beendet.";

// The lock beside the project: hidden, never replaced (the project file itself is, by every save).
std::string ProjectLockPath(const std::string& projectPath) {
    const auto slash = projectPath.rfind('/');
    const std::size_t name = slash == std::string::npos ? 0 : slash + 1;
    return projectPath.substr(0, name) + "." + projectPath.substr(name) + ".lock";
}

std::string RunRefusedText(const std::string& projectPath) {
    return "Das Projekt \"" + projectPath +
           "\" wird bereits von einem anderen Sicherungsvorgang gesichert. Dieser Vorgang wurde nicht "
           "gestartet; es wurde nichts verändert.";
}
}  // namespace

std::uint32_t SystemTickCount() {
    const auto sinceStart = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(sinceStart).count());
}

std::string TimeText(std::uint64_t milliseconds, const cTextFormats& formats) {
    const std::uint64_t ofDay = milliseconds % kMillisecondsPerDay;
    platform::cLocalTime time;
    time.Hour = static_cast<int>(ofDay / 3'600'000);
    time.Minute = static_cast<int>(ofDay / 60'000 % 60);
    time.Second = static_cast<int>(ofDay / 1000 % 60);
    return formats.LongTime(time);
}

cRunController::cRunController(cProject& project, cRunView& view, platform::FileSystem& fs,
                               const cTextFormats& formats, TickSource ticks)
    : context_(fs, formats),
      project_(project),
      view_(view),
      protocol_(project.DefaultOptions, fs, formats),
      journal_(fs),
      ticks_(std::move(ticks)) {
}

cRunController::~cRunController() = default;

void cRunController::PrepareTotals(std::uint64_t overallBarMaximum, std::uint64_t fileBarMaximum) {
    overallMaximum_ = overallBarMaximum;
    fileMaximum_ = fileBarMaximum;
    progressTotal_ = 0;
    sizeWeighting_ = true;
    for (cBackUpDestination* destination : project_.Destinations) {
        std::uint64_t sum = 0;
        bool complete = !destination->Sources.Empty();
        for (const cBackUpSource* source : destination->Sources) {
            complete = complete && source->TotalSize != 0;
            sum += source->TotalSize;
        }
        if (!complete) {
            // One source without a byte total from an earlier run makes sizes meaningless for all.
            sizeWeighting_ = false;
            break;
        }
        progressTotal_ += sum;
    }
    if (!sizeWeighting_) {
        progressTotal_ = 0;
        for (const cBackUpDestination* destination : project_.Destinations) {
            progressTotal_ += kCountWeight * static_cast<std::uint64_t>(destination->Sources.Count());
        }
    }
    progressDone_ = 0;
    if (!sizeWeighting_) {
        sourceWeight_ = kCountWeight;
    }
    sourceProgress_ = cSourceProgress();
    currentSource_ = nullptr;
    overallShown_ = 0;
}

bool cRunController::LockProject(std::unique_ptr<platform::FileLock>& lock) {
    runMarkPath_.clear();
    const std::string lockPath = ProjectLockPath(project_.ProjectPath);
    auto locked = context_.Fs.LockFile(lockPath);
    if (locked.Error() != EWOULDBLOCK && !locked) {
        // No lock file can be made beside the project (a folder the user may not write): the project file
        // itself still serves between runs that read the same file.
        locked = context_.Fs.LockFile(project_.ProjectPath);
    } else if (locked) {
        runMarkPath_ = lockPath;
    }
    if (locked) {
        lock = std::move(*locked);
    }
    return locked.Error() != EWOULDBLOCK;
}

bool cRunController::LockProjectForPreview(std::unique_ptr<platform::FileLock>& lock) {
    // Only a lock file a run made before: a preview creates nothing, not even that.
    const std::string lockPath = ProjectLockPath(project_.ProjectPath);
    if (!context_.Fs.Stat(lockPath, false)) {
        return true;
    }
    auto locked = context_.Fs.LockFile(lockPath);
    if (locked) {
        lock = std::move(*locked);
    }
    return locked.Error() != EWOULDBLOCK;
}

bool cRunController::MarkRunning() {
    // The lock file says "running" from here to the end of the run: found so at the start of the next
    // run, it tells of a run that was killed and may have left temporary copies behind.
    if (runMarkPath_.empty()) {
        return false;
    }
    const auto mark = context_.Fs.ReadWholeFile(runMarkPath_);
    const bool killed = mark && !mark->empty();
    if (auto file = context_.Fs.OpenForWriting(runMarkPath_)) {
        static constexpr std::string_view kRunning = "running\n";
        (void)(*file)->Write(kRunning.data(), kRunning.size());
        (void)(*file)->Close();
    }
    return killed;
}

void cRunController::ClearRunMark() {
    if (runMarkPath_.empty()) {
        return;
    }
    if (auto file = context_.Fs.OpenForWriting(runMarkPath_)) {
        (void)(*file)->Close();
    }
}

void cRunController::OpenRecords(cRunResult& result) {
    result.ProtocolOpened = !project_.ProjectPath.empty();
    context_.Protocol = nullptr;
    context_.Journal = nullptr;
    if (result.ProtocolOpened) {
        protocol_.Open(project_.ProjectPath);
        context_.Protocol = &protocol_;
        if (journal_.Open(project_.ProjectPath)) {
            context_.Journal = &journal_;
        }
    }
}

void cRunController::CloseProtocol(cRunResult& result) {
    protocol_.Close();
    context_.Protocol = nullptr;
    if (const int error = protocol_.WriteError(); error != 0) {
        // Reported once, where the user sees it: the protocol itself cannot carry it.
        ++context_.ProblemCount;
        view_.ReportRunMessage(
            messages::ProtocolIncomplete(ProtocolFileName(project_.ProjectPath), platform::ErrorText(error)));
    }
    ClearRunMark();
    result.ProblemCount = context_.ProblemCount;
}

cRunResult cRunController::Run() {
    cRunResult result;
    std::unique_ptr<platform::FileLock> projectLock;
    if (!project_.ProjectPath.empty() && !LockProject(projectLock)) {
        result.AlreadyRunning = true;
        view_.ReportRunRefused(RunRefusedText(project_.ProjectPath));
        return result;
    }
    BeginRun(result);
    context_.PreviousRunKilled = MarkRunning();
    options_.ReleaseHeldBack = false;  // for this run only
    OpenRecords(result);
    context_.WriteProtocol(kRunStarted, 1, nullptr);
    startTicks_ = ticks_();
    ShowTimes();
    if (!options_.Silent) {
        view_.StartTimeDisplay();
    }
    RunDestinations(project_);
    FinishRun(result);
    ShowOutcome(result);
    return result;
}

cRunResult cRunController::Preview(cRunPlan& plan) {
    cRunResult result;
    std::unique_ptr<platform::FileLock> projectLock;
    if (!project_.ProjectPath.empty() && !LockProjectForPreview(projectLock)) {
        result.AlreadyRunning = true;
        view_.ReportRunRefused(RunRefusedText(project_.ProjectPath));
        return result;
    }
    // On a copy of the project: what the walk changes in catalogues and totals never reaches the project.
    cProject copy;
    CloneProject(project_, copy);
    cPlanRecorder recorder(plan);
    BeginRun(result);
    context_.PreviousRunKilled = false;
    context_.Protocol = nullptr;
    context_.Journal = nullptr;
    context_.DryRun = true;
    context_.Plan = &recorder;
    startTicks_ = ticks_();
    RunDestinations(copy);
    context_.DryRun = false;
    context_.Plan = nullptr;
    currentSource_ = nullptr;
    result.Cancelled = context_.Cancelled();
    result.ProblemCount = context_.ProblemCount;
    result.HeldBack = context_.HeldBack;
    running_ = false;
    return result;
}

void cRunController::BeginRun(cRunResult& result) {
    running_ = true;
    if (!workers_) {
        workers_ = std::make_unique<cWorkerPool>(
            options_.WorkerThreads < 0 ? cWorkerPool::DefaultThreads() : options_.WorkerThreads);
        context_.Workers = workers_.get();
    }
    result.Ran = true;
    context_.CancelRequested = false;
    context_.ProblemCount = 0;
    context_.ReleaseHeldBack = options_.ReleaseHeldBack;
    context_.HeldBack.clear();
    context_.Versions = project_.Versions;
    context_.VersionStamp = VersionStamp(platform::LocalNow());
    context_.VersionsKept = 0;
    context_.VersionFolders.clear();
    fileInProgress_ = false;
    filesCompared_ = 0;
    filesCopied_ = 0;
}

void cRunController::RunDestinations(cProject& project) {
    runProject_ = &project;
    for (int i = 0; i < project.Destinations.Count() && !context_.Cancelled(); ++i) {
        cBackUpDestination& destination = *project.Destinations[i];
        view_.ShowDestination(destination);
        if (context_.PumpHook) {
            context_.PumpHook();
        }
        const cBoundHooks hooks(destination, *this);
        cDestinationRun(context_, destination).BackUp();
    }
    runProject_ = &project_;
}

void cRunController::FinishRun(cRunResult& result) {
    currentSource_ = nullptr;
    result.Cancelled = context_.Cancelled();
    PruneVersions(result);
    if (context_.VersionsKept > 0) {
        context_.WriteProtocol(messages::VersionsKept(context_.VersionsKept), 1, nullptr);
    }
    result.VersionsKept = context_.VersionsKept;
    if (!context_.HeldBack.empty()) {
        context_.WriteProtocol(messages::HowToRelease(), 1, nullptr);
    }
    context_.WriteProtocol(result.Cancelled ? kRunCancelled : kRunFinished, 1, nullptr);

    // Closed before the save, which writes the extras file anew: what the journal recorded is in the
    // project file then.
    journal_.Close();
    context_.Journal = nullptr;
    if (!result.Cancelled && !project_.ProjectPath.empty()) {
        // The catalogues and byte totals of this run live only in memory until written here.
        try {
            SaveProject(project_, project_.ProjectPath, context_.Fs);
        } catch (const std::exception& error) {
            result.SaveError = error.what();
        } catch (...) {
            result.SaveError = messages::kStreamWriteError;
        }
    }
    CloseProtocol(result);
    result.HeldBack = context_.HeldBack;
    running_ = false;
}

void cRunController::PruneVersions(const cRunResult& result) {
    if (result.Cancelled || context_.ProblemCount != 0 || !context_.HeldBack.empty()) {
        return;
    }
    cVersionPruner pruner(context_, context_.Versions, platform::LocalNow());
    for (const std::string& folder : context_.VersionFolders) {
        pruner.Prune(folder);
    }
}

void cRunController::ShowOutcome(const cRunResult& result) {
    // Shown once the outcome is complete, the save included, so that the display can tell it whole.
    if (!options_.Silent) {
        view_.ShowEndOfRun(result);
    }
    if (!result.SaveError.empty()) {
        view_.ReportSaveFailure(result.SaveError);
    }
    view_.CarryOutAfterFinishing();
    if (options_.Silent) {
        view_.CloseWindow();
    }
}

void cRunController::SourceStart(cBackUpDestination& destination, cBackUpSource* previous,
                                 cBackUpSource& current) {
    view_.ShowSource(current);
    const bool veryFirst =
        previous == nullptr && !runProject_->Destinations.Empty() && runProject_->Destinations[0] == &destination;
    if (!veryFirst) {
        progressDone_ += sourceWeight_;
        overallShown_ = OverallPosition(progressDone_);
        view_.ShowOverallProgress(overallShown_);
    }
    if (sizeWeighting_) {
        sourceWeight_ = current.TotalSize;
    }
    currentSource_ = &current;
    sourceProgress_.Start(sourceWeight_, sizeWeighting_);
}

void cRunController::DirEntered(cBackUpDestination&, const std::string& relativePath) {
    view_.ShowSubDirectory(relativePath);
    if (!relativePath.empty()) {
        sourceProgress_.EnteredSubFolder();
    }
}

void cRunController::Progress(cBackUpDestination&, int position, int count) {
    if (count <= 0 || position < 0) {
        return;
    }
    sourceProgress_.EntriesDone(position, count);
    if (currentSource_ != nullptr) {
        sourceProgress_.BytesCounted(currentSource_->TotalSize);
    }
    overallShown_ = OverallPosition(ProgressAmount());
    view_.ShowOverallProgress(overallShown_);
}

void cRunController::FileCompared(cBackUpDestination&, cBackUpSource& source) {
    ++filesCompared_;
    view_.ShowFilesCompared(filesCompared_);
    if (sizeWeighting_) {
        sourceProgress_.BytesCounted(source.TotalSize);
        ShowProgressWithinSource();
    }
}

void cRunController::FileProgress(cBackUpDestination&, std::uint64_t done, std::uint64_t size,
                                  const std::string* fileName) {
    if (fileName != nullptr) {
        fileInProgress_ = true;
        view_.ShowFileStarted(*fileName);
        sourceProgress_.FileStarted(size);
        return;
    }
    if (size <= done) {
        // A file that grew while it was copied reports completion for every later chunk; it is one file.
        if (fileInProgress_) {
            fileInProgress_ = false;
            ++filesCopied_;
            view_.ShowFileCopied(filesCopied_);
        }
    } else {
        view_.ShowFileProgress(ScaledShare(fileMaximum_, done, size));
    }
    sourceProgress_.FileBytes(done);
    if (currentSource_ != nullptr) {
        sourceProgress_.BytesCounted(currentSource_->TotalSize);
    }
    ShowProgressWithinSource();
}

void cRunController::ShowProgressWithinSource() {
    const std::uint64_t position = OverallPosition(ProgressAmount());
    if (position != overallShown_) {
        overallShown_ = position;
        view_.ShowOverallProgress(position);
    }
}

void cRunController::ShowTimes() {
    const std::uint32_t elapsed = Elapsed();
    const std::optional<std::uint64_t> remaining = Remaining(elapsed);
    view_.ShowTimes(TimeText(elapsed, context_.Formats),
                    remaining ? TimeText(*remaining, context_.Formats) : std::string("-"));
}

std::uint32_t cRunController::Elapsed() const {
    return static_cast<std::uint32_t>(ticks_() - startTicks_);
}

std::optional<std::uint64_t> cRunController::Remaining(std::uint32_t elapsed) const {
    const std::uint64_t done = ProgressAmount();
    if (done == 0 || ScaledShare(done, 100, progressTotal_) < kEstimateFromPercent) {
        return std::nullopt;
    }
    const double factor = static_cast<double>(progressTotal_) / static_cast<double>(done) - 1.0;
    const double remaining = factor * static_cast<double>(elapsed);
    if (!(remaining > 0.0)) {
        return 0;  // more done than the total promised: nothing is left to wait for
    }
    constexpr double kLimit = 1.0e18;  // far beyond any display, well inside 64 bits
    return static_cast<std::uint64_t>(remaining < kLimit ? remaining : kLimit);
}

std::uint64_t cRunController::OverallPosition(std::uint64_t amount) const {
    if (progressTotal_ == 0) {
        return 0;
    }
    const std::uint64_t position = ScaledShare(amount, overallMaximum_, progressTotal_);
    return position < overallMaximum_ ? position : overallMaximum_;
}

}  // namespace trx

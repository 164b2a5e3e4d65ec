// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace trx {

class cBackUpDestination;
class cBackUpSource;
struct cRunResult;

// What the run controller asks of the window that shows a run. Every call comes on the one thread, in the
// order of the run; the hook notifications arrive from inside the engine.
class cRunView {
public:
    virtual ~cRunView() = default;

    // The start of the run and every second: elapsed time and remaining time ("-" while unknown).
    virtual void ShowTimes(const std::string& elapsed, const std::string& remaining) = 0;
    // Once at the start of a run that is not silent: the once-a-second time display begins.
    virtual void StartTimeDisplay() = 0;
    // The destination about to run, before pending events are handled.
    virtual void ShowDestination(const cBackUpDestination& destination) = 0;

    // A source starts: its icon and path.
    virtual void ShowSource(const cBackUpSource& source) = 0;
    // The overall bar's new position (0 to the maximum given to the preparation).
    virtual void ShowOverallProgress(std::uint64_t position) = 0;
    // The directory being walked, relative to the source ("" for the source itself).
    virtual void ShowSubDirectory(const std::string& relativePath) = 0;
    virtual void ShowFilesCompared(int count) = 0;
    // A copy begins: the file's name.
    virtual void ShowFileStarted(const std::string& name) = 0;
    // The file bar's new position during a copy.
    virtual void ShowFileProgress(std::uint64_t position) = 0;
    // A copy is complete; `count` files have been copied in this run.
    virtual void ShowFileCopied(int count) = 0;

    // The end of a run that is not silent, with its whole outcome: cancelled or not, its problems, what it
    // held back, whether it had a protocol to show and whether the project was saved.
    virtual void ShowEndOfRun(const cRunResult& result) = 0;
    // The run did not start because another run of the same project is under way; `message` says so. Nothing
    // was touched; a window that only exists for this run closes.
    virtual void ReportRunRefused(const std::string& message) = 0;
    // The project could not be written after the run; `message` says why.
    virtual void ReportSaveFailure(const std::string& message) = 0;
    // Something else about the run that the user must hear at its end (the protocol could not be written
    // to its end); `text` says it whole.
    virtual void ReportRunMessage(const std::string& text) = 0;
    // The action chosen for the end of the run; it may end the application.
    virtual void CarryOutAfterFinishing() = 0;
    // The end of a silent run: the window closes itself.
    virtual void CloseWindow() = 0;
};

}  // namespace trx

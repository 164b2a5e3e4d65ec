// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/RunView.h"

namespace trx {

// A view of a run that shows nothing: the base of runs without a window (a hidden run, a preview from the
// command line), which override only what they say in words.
class cSilentRunView : public cRunView {
public:
    void ShowTimes(const std::string&, const std::string&) override {}
    void StartTimeDisplay() override {}
    void ShowDestination(const cBackUpDestination&) override {}
    void ShowSource(const cBackUpSource&) override {}
    void ShowOverallProgress(std::uint64_t) override {}
    void ShowSubDirectory(const std::string&) override {}
    void ShowFilesCompared(int) override {}
    void ShowFileStarted(const std::string&) override {}
    void ShowFileProgress(std::uint64_t) override {}
    void ShowFileCopied(int) override {}
    void ShowEndOfRun(const cRunResult&) override {}
    void ReportRunRefused(const std::string&) override {}
    void ReportSaveFailure(const std::string&) override {}
    void ReportRunMessage(const std::string&) override {}
    void CarryOutAfterFinishing() override {}
    void CloseWindow() override {}
};

}  // namespace trx

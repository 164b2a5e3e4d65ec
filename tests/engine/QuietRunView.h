// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/RunView.h"

#include <functional>
#include <string>
#include <vector>

namespace trx::test {

// A run view that shows nothing and keeps only what the run reported to the user in words, with a hook
// the test can act from after every copied file.
class QuietRunView : public cRunView {
public:
    std::vector<std::string> Reports;
    std::function<void(int copied)> OnFileCopied;

    void ShowTimes(const std::string&, const std::string&) override {}
    void StartTimeDisplay() override {}
    void ShowDestination(const cBackUpDestination&) override {}
    void ShowSource(const cBackUpSource&) override {}
    void ShowOverallProgress(std::uint64_t) override {}
    void ShowSubDirectory(const std::string&) override {}
    void ShowFilesCompared(int) override {}
    void ShowFileStarted(const std::string&) override {}
    void ShowFileProgress(std::uint64_t) override {}
    void ShowFileCopied(int count) override {
        if (OnFileCopied) {
            OnFileCopied(count);
        }
    }
    void ShowEndOfRun(const cRunResult&) override {}
    void ReportRunRefused(const std::string& message) override { Reports.push_back(message); }
    void ReportSaveFailure(const std::string& message) override { Reports.push_back(message); }
    void ReportRunMessage(const std::string& text) override { Reports.push_back(text); }
    void CarryOutAfterFinishing() override {}
    void CloseWindow() override {}
};

}  // namespace trx::test

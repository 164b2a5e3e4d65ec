// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/SilentRunView.h"

#include <functional>
#include <string>
#include <vector>

namespace trx::test {

// A run view that shows nothing and keeps only what the run reported to the user in words, with a hook
// the test can act from after every copied file.
class QuietRunView : public cSilentRunView {
public:
    std::vector<std::string> Reports;
    std::function<void(int copied)> OnFileCopied;

    void ShowFileCopied(int count) override {
        if (OnFileCopied) {
            OnFileCopied(count);
        }
    }
    void ReportRunRefused(const std::string& message) override { Reports.push_back(message); }
    void ReportSaveFailure(const std::string& message) override { Reports.push_back(message); }
    void ReportRunMessage(const std::string& text) override { Reports.push_back(text); }
};

}  // namespace trx::test

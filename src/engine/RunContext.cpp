// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/RunContext.h"

#include "engine/CopyQueue.h"
#include "engine/PlanRecorder.h"
#include "engine/Protocol.h"

namespace trx {

void cRunContext::SayWaiting() const {
    if (Copies != nullptr) {
        Copies->Drain();
    }
}

void cRunContext::WriteProtocol(const std::string& text, int level, const cBackUpOptions* options) const {
    SayWaiting();
    if (Protocol != nullptr) {
        Protocol->WriteProtocol(text, level, options);
    }
}

void cRunContext::ReportProblem(const std::string& text, const cBackUpOptions* options) {
    SayWaiting();  // counted in the walk's order too
    ++ProblemCount;
    WriteProtocol(text, 1, options);
    if (Plan != nullptr) {
        Plan->Problem(text);
    }
}

void cRunContext::ReportHeldBack(const cHeldBack& item, const std::string& text) {
    SayWaiting();
    HeldBack.push_back(item);
    ++ProblemCount;
    WriteProtocol(text, 1, nullptr);
    if (Plan != nullptr) {
        Plan->HoldBack(item.Path, item.Entries, text);
    }
}

void cRunContext::Pump() {
    if (Protocol != nullptr) {
        Protocol->FlushIfDue();
    }
    if (!PumpHook) {
        return;
    }
    const auto now = std::chrono::steady_clock::now();
    if (PumpInterval.count() > 0 && now - lastPump_ < PumpInterval) {
        return;
    }
    lastPump_ = now;
    PumpHook();
}

}  // namespace trx

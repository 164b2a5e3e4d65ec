// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FakeService.h"

#include <vector>

namespace trx::test {

// Answers like systemd-logind's manager object: "CanPowerOff" with a scripted answer, "PowerOff" only
// recorded, "Inhibit" with the write end of a pipe whose read end tells when the caller let go of it.
class FakeLoginManager : public FakeService {
public:
    static constexpr const char* kService = "org.freedesktop.login1";
    static constexpr const char* kPath = "/org/freedesktop/login1";

    explicit FakeLoginManager(const QString& canPowerOff = QStringLiteral("yes"));
    ~FakeLoginManager() override;

    void SetCanPowerOff(const QString& answer);
    // Inhibitors handed out and not yet let go.
    int InhibitorsHeld() const;

private:
    mutable QMutex pipesMutex_;
    std::vector<int> readEnds_;
};

}  // namespace trx::test

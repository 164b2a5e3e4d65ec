// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ServiceManagerRecorder.h"
#include "ui/run/CommandLauncher.h"
#include "ui/run/SleepInhibitor.h"
#include "ui/run/SystemShutdown.h"

#include <QList>
#include <QStringList>
#include <functional>

namespace trx::test {

// Stands in for the system's shutdown request: no test may ever reach the real one.
class ShutdownRecorder : public cSystemShutdown {
public:
    bool RequestPowerOff() override {
        ++Requests;
        if (OnRequest) {
            OnRequest();
        }
        return true;
    }
    int Requests = 0;
    std::function<void()> OnRequest;  // looks at the state of things when the request comes
};

// Stands in for the sleep inhibitor: records what was asked; `Grant` false refuses every request.
class SleepInhibitorRecorder : public cSleepInhibitor {
public:
    bool Acquire(const QString& reason) override {
        Reasons.append(reason);
        Held = Grant;
        return Grant;
    }
    void Release() override { Held = false; }
    bool Grant = true;
    bool Held = false;
    QStringList Reasons;
};

// Stands in for starting a program or opening a document: records what would have been opened.
class LauncherRecorder : public cCommandLauncher {
public:
    bool Open(const QString& item, const QStringList& arguments) override {
        Items.append(item);
        Arguments.append(arguments);
        return true;
    }
    QStringList Items;
    QList<QStringList> Arguments;
};

}  // namespace trx::test

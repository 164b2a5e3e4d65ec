#pragma once

#include "ui/run/CommandLauncher.h"
#include "ui/run/SystemShutdown.h"

#include <QList>
#include <QStringList>

namespace trx::test {

// Stands in for the system's shutdown request: no test may ever reach the real one.
class ShutdownRecorder : public cSystemShutdown {
public:
    bool RequestPowerOff() override {
        ++Requests;
        return true;
    }
    int Requests = 0;
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

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusUnixFileDescriptor>
#include <QString>

namespace trx {

// Keeps the computer awake while a run copies. The run window talks only to this interface, so that
// tests hand it a recorder or point it at a stand-in login manager.
class cSleepInhibitor {
public:
    virtual ~cSleepInhibitor() = default;
    // Asks that neither sleep nor the idle action interrupt the run, giving `reason` to whoever asks why.
    // False when the request was refused or could not be made; the run goes on all the same.
    virtual bool Acquire(const QString& reason) = 0;
    // Lets sleep happen again; nothing happens when nothing is held.
    virtual void Release() = 0;
};

// The block inhibitor of systemd-logind on the system bus ("sleep:idle"): logind holds it for as long as
// the descriptor it hands out stays open, so the release is closing it, and a program that dies releases
// it too.
class cLogindSleepInhibitor : public cSleepInhibitor {
public:
    // The name shown as the one who holds the inhibitor.
    static constexpr const char* kWho = "Tresorix";

    // Talks to the system bus, reached only when a request is made. Tests name a connection to a private
    // bus of their own instead.
    explicit cLogindSleepInhibitor(QString connectionName = {});
    ~cLogindSleepInhibitor() override;
    bool Acquire(const QString& reason) override;
    void Release() override;
    bool Held() const { return held_.isValid(); }

private:
    QString connectionName_;
    QDBusUnixFileDescriptor held_;
};

}  // namespace trx

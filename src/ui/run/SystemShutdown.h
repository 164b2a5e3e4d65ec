// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace trx {

// Asks the system to shut down and power off. The run window talks only to this interface, so that tests
// hand it a recorder and can never reach the real request.
class cSystemShutdown {
public:
    virtual ~cSystemShutdown() = default;
    // True when the request was sent; its outcome is not known to the caller.
    virtual bool RequestPowerOff() = 0;
};

// The request to systemd-logind on the system bus: only when "CanPowerOff" answers "yes" (the user may
// power off without being asked for a password) is "PowerOff" called, not interactive and not forced, so
// that other sessions' inhibitors still count. Its answer is not awaited beyond the call itself.
class cLogindShutdown : public cSystemShutdown {
public:
    static constexpr const char* kService = "org.freedesktop.login1";
    static constexpr const char* kPath = "/org/freedesktop/login1";
    static constexpr const char* kInterface = "org.freedesktop.login1.Manager";

    // Talks to the system bus, reached only when a request is made. Tests name a connection to a private
    // bus of their own instead.
    explicit cLogindShutdown(QString connectionName = {});
    bool RequestPowerOff() override;

private:
    QString connectionName_;
};

}  // namespace trx

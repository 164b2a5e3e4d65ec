// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <csignal>

namespace trx::platform {

// While an object of this class lives, SIGINT and SIGTERM do not end the process: they set `cancel`, which
// the backup engine polls between directory entries and copied chunks, so that a user's Ctrl+C or a
// service manager stopping a scheduled run ends it cleanly (the copy in progress dropped, the protocol
// closed). The previous handlers come back when the object goes; only one object may live at a time.
class cTerminationSignals {
public:
    explicit cTerminationSignals(std::atomic<bool>& cancel);
    ~cTerminationSignals();
    cTerminationSignals(const cTerminationSignals&) = delete;
    cTerminationSignals& operator=(const cTerminationSignals&) = delete;

    // True once SIGINT or SIGTERM arrived while this object lived.
    bool Received() const;

private:
    struct sigaction previousInt_ {};
    struct sigaction previousTerm_ {};
};

}  // namespace trx::platform

// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/TerminationSignals.h"

namespace trx::platform {

namespace {

static_assert(std::atomic<bool>::is_always_lock_free, "a signal handler may only touch lock-free atomics");
static_assert(std::atomic<std::atomic<bool>*>::is_always_lock_free,
              "a signal handler may only touch lock-free atomics");

std::atomic<std::atomic<bool>*> gCancel{nullptr};
std::atomic<bool> gReceived{false};

extern "C" void OnTerminationSignal(int) {
    gReceived.store(true);
    if (std::atomic<bool>* cancel = gCancel.load()) {
        cancel->store(true);
    }
}

}  // namespace

cTerminationSignals::cTerminationSignals(std::atomic<bool>& cancel) {
    gReceived.store(false);
    gCancel.store(&cancel);
    struct sigaction action {};
    action.sa_handler = &OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    // Restarted system calls: a signal must cancel the run, never turn a copy into a read error.
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &action, &previousInt_);
    ::sigaction(SIGTERM, &action, &previousTerm_);
}

cTerminationSignals::~cTerminationSignals() {
    ::sigaction(SIGINT, &previousInt_, nullptr);
    ::sigaction(SIGTERM, &previousTerm_, nullptr);
    gCancel.store(nullptr);
}

bool cTerminationSignals::Received() const {
    return gReceived.load();
}

}  // namespace trx::platform

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace trx {

class cBackUpDestination;
class cRunController;

// Binds the five notification hooks of a destination to a run controller's handlers for as long as it
// lives, and unbinds them when it goes (also when the run throws), so that no destination keeps a handler
// that could outlive the controller.
class cBoundHooks {
public:
    cBoundHooks(cBackUpDestination& destination, cRunController& controller);
    ~cBoundHooks();
    cBoundHooks(const cBoundHooks&) = delete;
    cBoundHooks& operator=(const cBoundHooks&) = delete;

private:
    cBackUpDestination& destination_;
};

}  // namespace trx

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace trx {

class cCommandLauncher;
class cSystemShutdown;
struct cRunOptions;

// The action chosen for the end of a run: power the computer off, or start the command of the options
// (split into items as the comma-text rules say; no shell). True when there was one, after which the
// program ends; the caller skips this after a run that a termination signal ended.
bool CarryOutAfterRun(const cRunOptions& options, cSystemShutdown& shutdown, cCommandLauncher& launcher);

}  // namespace trx

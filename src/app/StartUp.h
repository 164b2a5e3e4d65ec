// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace trx {

// The whole life of the program: decides between an interactive and an unattended start, creates the
// project and the windows, runs the message loop and returns the process exit status.
//   0  ended normally: an interactive start, or an unattended run that completed without problems
//   1  the project given as argument 1 could not be loaded (or no display for an interactive start)
//   2  the unattended run met problems, or the project could not be saved after it
//   3  the unattended run was cancelled ("Abbrechen", SIGINT or SIGTERM)
int RunTresorix(int argc, char** argv);

}  // namespace trx

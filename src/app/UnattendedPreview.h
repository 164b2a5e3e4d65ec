// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>

namespace trx {

namespace platform {
class FileSystem;
}
struct cStartOptions;
class cTextFormats;

// The preview of a project from the command line ("/p", "/t"): loads the project, walks it as a run would
// ("/f" releasing held-back work as it would), writes the plan to `out` and returns the exit status: 0 for
// a plan without trouble, 2 for problems or held-back work in it or a run of the project under way, 3 when
// SIGINT or SIGTERM stopped it, 1 when the project cannot be loaded. In the last three cases `out` gets
// nothing and `err` the reason. No window, no display and no Qt application are needed.
int RunUnattendedPreview(const cStartOptions& start, platform::FileSystem& fs, const cTextFormats& formats,
                         std::FILE* out, std::FILE* err);

}  // namespace trx

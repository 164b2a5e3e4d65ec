// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/RunOptions.h"

#include <functional>
#include <string>
#include <vector>

namespace trx {

// What the command line asks for.
struct cStartOptions {
    bool Unattended = false;     // argument 1 is an existing ".buf" file
    std::string ProjectPath;     // argument 1 unchanged, for an unattended start
    bool ShowMainWindow = true;  // false with "/h"
    // "/s" (Silent); "/a" (Action, with the argument after it as Command); "/f" (ReleaseHeldBack: held-back
    // deletions and copies go ahead, never the default).
    cRunOptions Run;
    bool NotifyAlways = false;  // "/n": a desktop notification after every run, not only after a bad one
    std::string OpenPath;       // "--open FILE" of an interactive start: the project to edit; empty otherwise
    // "/p": the plan of a run goes to standard output instead of the run; "/t" prints it tab-separated and
    // implies "/p" (a switch meant for a preview never starts a run). "/s", "/h", "/a" and "/n" do nothing
    // then; "/f" shows what a run with it would do.
    bool Preview = false;
    bool PreviewTabs = false;
};

// The switch that opens a project for editing in the main window instead of backing it up. It is no
// backup switch and cannot be mistaken for a project file, so no existing command line changes meaning.
inline constexpr const char* kOpenSwitch = "--open";

// The switch of the helper process that shows a run's desktop notification and waits for the user's
// answer to it (started by an unattended run, never by hand); the notice follows as its arguments.
inline constexpr const char* kNotifySwitch = "--notify";

// Index of the first argument from index 2 on that equals `switchText` without regard to case; 0 when
// none does. `args[0]` is the program.
std::size_t FindSwitch(const std::vector<std::string>& args, const std::string& switchText);

// True when the last path component's extension (from its last ".") is ".buf" in any case.
bool HasProjectExtension(const std::string& path);

// The file after "--open" when "--open" is argument 1 (exactly, in lower case, as long options are
// written); empty when argument 1 is something else or nothing follows it. Later arguments are ignored.
std::string FindProjectToOpen(const std::vector<std::string>& args);

// Decides the start from the arguments (argv as the shell passed it). `isExistingFile` tells whether a
// regular file of that name exists. Without a valid project file as argument 1, every argument is ignored,
// except "--open FILE", which starts interactively with OpenPath = FILE.
cStartOptions ParseCommandLine(const std::vector<std::string>& args,
                               const std::function<bool(const std::string&)>& isExistingFile);

}  // namespace trx

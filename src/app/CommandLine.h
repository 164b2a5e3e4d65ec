#pragma once

#include <functional>
#include <string>
#include <vector>

namespace trx {

// After-finishing choice of the run window.
enum class AfterFinishing { None = 0, ShutDown = 1, RunCommand = 2 };

// What the command line asks for.
struct cStartOptions {
    bool Unattended = false;     // argument 1 is an existing ".buf" file
    std::string ProjectPath;     // argument 1 unchanged, for an unattended start
    bool Silent = false;         // "/s"
    bool ShowMainWindow = true;  // false with "/h"
    AfterFinishing Action = AfterFinishing::None;
    std::string Command;  // the argument after "/a"
};

// Index of the first argument from index 2 on that equals `switchText` without regard to case; 0 when
// none does. `args[0]` is the program.
std::size_t FindSwitch(const std::vector<std::string>& args, const std::string& switchText);

// True when the last path component's extension (from its last ".") is ".buf" in any case.
bool HasProjectExtension(const std::string& path);

// Decides the start from the arguments (argv as the shell passed it). `isExistingFile` tells whether a
// regular file of that name exists. Without a valid project file as argument 1, every argument is ignored.
cStartOptions ParseCommandLine(const std::vector<std::string>& args,
                               const std::function<bool(const std::string&)>& isExistingFile);

}  // namespace trx

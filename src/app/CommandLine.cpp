// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"

#include "platform/Text.h"

namespace trx {

std::size_t FindSwitch(const std::vector<std::string>& args, const std::string& switchText) {
    const std::string wanted = text::UpperCase(switchText);
    for (std::size_t i = 2; i < args.size(); ++i) {
        if (text::UpperCase(args[i]) == wanted) {
            return i;
        }
    }
    return 0;
}

bool HasProjectExtension(const std::string& path) {
    const auto slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const auto dot = name.rfind('.');
    return dot != std::string::npos && text::UpperCase(name.substr(dot)) == ".BUF";
}

std::string FindProjectToOpen(const std::vector<std::string>& args) {
    if (args.size() < 3 || args[1] != kOpenSwitch) {
        return {};
    }
    return args[2];
}

cStartOptions ParseCommandLine(const std::vector<std::string>& args,
                               const std::function<bool(const std::string&)>& isExistingFile) {
    cStartOptions options;
    if (args.size() < 2 || !HasProjectExtension(args[1]) || !isExistingFile(args[1])) {
        options.OpenPath = FindProjectToOpen(args);
        return options;
    }
    options.Unattended = true;
    options.ProjectPath = args[1];
    options.Run.Silent = FindSwitch(args, "/s") != 0;
    options.ShowMainWindow = FindSwitch(args, "/h") == 0;
    options.Run.ReleaseHeldBack = FindSwitch(args, "/f") != 0;
    options.NotifyAlways = FindSwitch(args, "/n") != 0;
    options.PreviewTabs = FindSwitch(args, "/t") != 0;
    options.Preview = options.PreviewTabs || FindSwitch(args, "/p") != 0;
    const std::size_t action = FindSwitch(args, "/a");
    const std::size_t count = args.size() - 1;  // arguments after the program
    if (action != 0 && count > action) {
        options.Run.Action = AfterFinishing::RunCommand;
        options.Run.Command = args[action + 1];
    } else if (action != 0) {
        options.Run.Action = AfterFinishing::ShutDown;
    }
    return options;
}

}  // namespace trx

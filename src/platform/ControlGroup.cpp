// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ControlGroup.h"

#include <fstream>
#include <sstream>

namespace trx::platform {

std::string ControlGroupFromText(std::string_view procCgroupText) {
    std::string named;
    std::istringstream lines{std::string(procCgroupText)};
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("0::", 0) == 0) {
            return line.substr(3);
        }
        const std::string systemdPrefix = ":name=systemd:";
        if (const auto at = line.find(systemdPrefix); at != std::string::npos) {
            named = line.substr(at + systemdPrefix.size());
        }
    }
    return named;
}

std::string ControlGroupOf(int pid) {
    const std::string path = pid == 0 ? "/proc/self/cgroup" : "/proc/" + std::to_string(pid) + "/cgroup";
    std::ifstream file(path);
    if (!file) {
        return {};
    }
    std::ostringstream text;
    text << file.rdbuf();
    return ControlGroupFromText(text.str());
}

bool IsServiceGroup(std::string_view group) {
    const auto slash = group.rfind('/');
    const std::string_view last = slash == std::string_view::npos ? group : group.substr(slash + 1);
    constexpr std::string_view kSuffix = ".service";
    return last.size() > kSuffix.size() && last.substr(last.size() - kSuffix.size()) == kSuffix;
}

}  // namespace trx::platform

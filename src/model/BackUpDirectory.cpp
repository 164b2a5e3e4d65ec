// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/BackUpDirectory.h"

#include <string_view>

namespace trx {

std::string CleanDirectoryPath(std::string path) {
    if (path.empty() || path.front() != '/') {
        return path;
    }
    std::string clean = "/";
    std::string_view rest(path);
    while (!rest.empty()) {
        const auto slash = rest.find('/');
        const std::string_view component = rest.substr(0, slash);
        if (!component.empty() && component != ".") {
            clean.append(component);
            clean.push_back('/');
        }
        if (slash == std::string_view::npos) {
            break;
        }
        rest.remove_prefix(slash + 1);
    }
    return clean;
}

}  // namespace trx

// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/BackUpDirectory.h"

#include "platform/PathText.h"

#include <string_view>

namespace trx {

std::string CleanDirectoryPath(std::string path) {
    if (path.empty() || path.front() != '/') {
        return path;
    }
    std::string clean = "/";
    for (const std::string_view component : platform::PathComponents(path)) {
        if (component != ".") {
            clean.append(component);
            clean.push_back('/');
        }
    }
    return clean;
}

}  // namespace trx

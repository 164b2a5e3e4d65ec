// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/PathText.h"

namespace trx::platform {

std::vector<std::string_view> PathComponents(std::string_view path) {
    std::vector<std::string_view> components;
    while (!path.empty()) {
        const auto slash = path.find('/');
        if (slash != 0) {
            components.push_back(path.substr(0, slash));
        }
        if (slash == std::string_view::npos) {
            break;
        }
        path.remove_prefix(slash + 1);
    }
    return components;
}

std::string WithoutExtension(std::string_view path) {
    const auto slash = path.rfind('/');
    const auto dot = path.rfind('.');
    const bool hasExtension = dot != std::string_view::npos && (slash == std::string_view::npos || dot > slash);
    return std::string(hasExtension ? path.substr(0, dot) : path);
}

}  // namespace trx::platform

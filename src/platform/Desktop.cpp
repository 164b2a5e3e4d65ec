// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Desktop.h"

#include <cstdlib>
#include <string_view>

namespace trx::platform {

namespace {
bool Set(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}
}  // namespace

bool GraphicalDisplayAvailable() {
    if (const char* qpa = std::getenv("QT_QPA_PLATFORM"); qpa != nullptr && *qpa != '\0') {
        const std::string_view name(qpa);
        if (name.starts_with("offscreen") || name.starts_with("minimal") || name.starts_with("vnc")) {
            return false;
        }
    }
    return Set("DISPLAY") || Set("WAYLAND_DISPLAY");
}

}  // namespace trx::platform

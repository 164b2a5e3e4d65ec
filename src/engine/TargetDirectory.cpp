// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/TargetDirectory.h"

#include "platform/FileSystem.h"
#include "platform/PathText.h"

namespace trx {

bool IsPlainName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos &&
           name.find('\0') == std::string_view::npos;
}

bool IsPlainRelativePath(std::string_view relativePath) {
    while (!relativePath.empty()) {
        const auto slash = relativePath.find('/');
        if (!IsPlainName(relativePath.substr(0, slash))) {
            return false;
        }
        if (slash == std::string_view::npos) {
            break;
        }
        relativePath.remove_prefix(slash + 1);
    }
    return true;
}

std::unique_ptr<platform::Directory> OpenBelow(platform::Directory& base, std::string_view relativePath) {
    if (!IsPlainRelativePath(relativePath)) {
        return nullptr;
    }
    std::unique_ptr<platform::Directory> current;
    platform::Directory* at = &base;
    for (const std::string_view name : platform::PathComponents(relativePath)) {
        auto next = at->OpenSub(std::string(name));
        if (!next) {
            return nullptr;
        }
        current = std::move(*next);
        at = current.get();
    }
    if (!current) {
        // The base itself: a second handle of its own.
        auto again = base.Reopen();
        return again ? std::move(*again) : nullptr;
    }
    return current;
}

}  // namespace trx

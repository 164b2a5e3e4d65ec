// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FileSystem.h"

#include <cerrno>

namespace trx::platform {

std::uint8_t AttributesOf(const std::string& name, FileKind kind, std::uint32_t mode) {
    std::uint8_t attributes = 0;
    if ((mode & 0200) == 0) {
        attributes |= kAttributeReadOnly;
    }
    if (!name.empty() && name[0] == '.') {
        attributes |= kAttributeHidden;
    }
    attributes |= kind == FileKind::Directory ? kAttributeDirectory : kAttributeArchive;
    return attributes;
}

bool FileSystem::IsRegularFile(const std::string& path) {
    const auto status = Stat(path, true);
    return status && status->Kind == FileKind::Regular;
}

bool FileSystem::IsDirectory(const std::string& path) {
    const auto status = Stat(path, true);
    return status && status->Kind == FileKind::Directory;
}

Status FileSystem::MakeDirectories(const std::string& path) {
    if (IsDirectory(path)) {
        return {};
    }
    std::string trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == '/') {
        trimmed.pop_back();
    }
    const auto slash = trimmed.rfind('/');
    if (slash != std::string::npos && slash > 0) {
        if (Status parent = MakeDirectories(trimmed.substr(0, slash)); !parent) {
            return parent;
        }
    }
    Status made = MakeDirectory(trimmed);
    if (made.Error() == EEXIST && IsDirectory(trimmed)) {
        return {};  // made by someone else in the meantime
    }
    return made;
}

std::string DirectoryPart(std::string_view path) {
    const auto slash = path.rfind('/');
    return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

std::string NamePart(std::string_view path) {
    const auto slash = path.rfind('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

}  // namespace trx::platform

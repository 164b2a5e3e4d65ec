#include "platform/FileSystem.h"

namespace trx::platform {

bool FileSystem::IsRegularFile(const std::string& path) {
    FileStatus status;
    return Status(path, status, true) == 0 && status.kind == FileKind::Regular;
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

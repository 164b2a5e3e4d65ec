// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/TestDir.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace trx::test {

namespace fs = std::filesystem;

TestDir::TestDir() {
    std::string pattern = (fs::temp_directory_path() / "trx-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary directory");
    }
    path_ = pattern + "/";
}

TestDir::~TestDir() {
    std::error_code ignored;
    // Make everything removable again even if a test took permissions away.
    for (auto it =
             fs::recursive_directory_iterator(path_, fs::directory_options::skip_permission_denied, ignored);
         it != fs::recursive_directory_iterator(); it.increment(ignored)) {
        if (it->is_directory(ignored) && !it->is_symlink(ignored)) {
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        }
    }
    fs::remove_all(path_, ignored);
}

std::string TestDir::WriteFile(std::string_view relative, std::string_view content) {
    const fs::path full = fs::path(path_) / std::string(relative);
    fs::create_directories(full.parent_path());
    std::ofstream out(full, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + full.string());
    }
    return full.string();
}

std::string TestDir::MakeDir(std::string_view relative) {
    const fs::path full = fs::path(path_) / std::string(relative);
    fs::create_directories(full);
    std::string result = full.string();
    if (result.back() != '/') {
        result.push_back('/');
    }
    return result;
}

void TestDir::SetTimes(std::string_view relative, std::time_t modified, long nanoseconds) {
    const std::string full = path_ + std::string(relative);
    const struct timespec times[2] = {{modified, nanoseconds}, {modified, nanoseconds}};
    if (::utimensat(AT_FDCWD, full.c_str(), times, AT_SYMLINK_NOFOLLOW) != 0) {
        throw std::runtime_error("cannot set times of " + full);
    }
}

std::string TestDir::ReadFile(std::string_view relative) const {
    return ReadWholeFile(path_ + std::string(relative));
}

bool TestDir::Exists(std::string_view relative) const {
    struct stat st {};
    return ::lstat((path_ + std::string(relative)).c_str(), &st) == 0;
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

}  // namespace trx::test

// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/TreeSnapshot.h"

#include "support/TestDir.h"

#include <sys/stat.h>
#include <filesystem>

namespace trx::test {

std::map<std::string, std::string> TreeSnapshot(const std::string& root) {
    std::map<std::string, std::string> entries;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        struct stat st {};
        ::lstat(entry.path().c_str(), &st);
        std::string state = std::to_string(st.st_mode) + " " + std::to_string(st.st_size) + " " +
                            std::to_string(st.st_mtim.tv_sec) + "." + std::to_string(st.st_mtim.tv_nsec);
        if (entry.is_regular_file() && !entry.is_symlink()) {
            state += " " + ReadWholeFile(entry.path().string());
        }
        entries[entry.path().string()] = state;
    }
    return entries;
}

}  // namespace trx::test

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <ctime>
#include <string>
#include <string_view>

namespace trx::test {

// A fresh temporary directory, removed with everything in it when the object goes. Paths handed out end
// with "/" for directories, like the model's paths.
class TestDir {
public:
    TestDir();
    ~TestDir();
    TestDir(const TestDir&) = delete;
    TestDir& operator=(const TestDir&) = delete;

    // The directory itself, ending with "/".
    const std::string& Path() const { return path_; }
    // Path() followed by `relative`.
    std::string operator/(std::string_view relative) const { return path_ + std::string(relative); }

    // Creates the file (and its missing parent directories) with `content`; returns its full path.
    std::string WriteFile(std::string_view relative, std::string_view content);
    // Creates the directory and its parents; returns its full path with a trailing "/".
    std::string MakeDir(std::string_view relative);
    // Sets access and modification time of an entry (not following links).
    void SetTimes(std::string_view relative, std::time_t modified, long nanoseconds = 0);

    std::string ReadFile(std::string_view relative) const;
    bool Exists(std::string_view relative) const;

private:
    std::string path_;
};

// Reads a whole file by absolute path; empty when it cannot be read.
std::string ReadWholeFile(const std::string& path);

}  // namespace trx::test

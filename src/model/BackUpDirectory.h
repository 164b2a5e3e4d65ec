// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace trx {

// An absolute path ("/" first) without empty or "." components, ending with "/": "/a//b/./c" gives
// "/a/b/c/". ".." stays as it is (the engine refuses it where it would lead out of a folder). A path in
// another form (a Windows drive path) is returned unchanged.
std::string CleanDirectoryPath(std::string path);

// Common base of destinations and sources: an absolute directory path ending with "/", clean in the sense
// of CleanDirectoryPath however it was typed, dropped or read.
class cBackUpDirectory {
public:
    explicit cBackUpDirectory(std::string path) : Path(CleanDirectoryPath(std::move(path))) {}
    cBackUpDirectory(const cBackUpDirectory&) = delete;
    cBackUpDirectory& operator=(const cBackUpDirectory&) = delete;

    std::string Path;

protected:
    ~cBackUpDirectory() = default;
};

}  // namespace trx

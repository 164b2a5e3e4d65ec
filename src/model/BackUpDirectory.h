// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace trx {

// Common base of destinations and sources: an absolute directory path ending with "/".
class cBackUpDirectory {
public:
    explicit cBackUpDirectory(std::string path) : Path(std::move(path)) {}
    cBackUpDirectory(const cBackUpDirectory&) = delete;
    cBackUpDirectory& operator=(const cBackUpDirectory&) = delete;

    std::string Path;

protected:
    ~cBackUpDirectory() = default;
};

}  // namespace trx

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>
#include <string>

namespace trx::test {

// Every entry below `root` by its path: kind and bits, size, modification time to the nanosecond and, for
// a file, its bytes. Two equal snapshots mean nothing below `root` was written, made or removed.
std::map<std::string, std::string> TreeSnapshot(const std::string& root);

}  // namespace trx::test

// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/TargetPath.h"

namespace trx {

std::string GetTargetSubPath(std::string_view sourcePath, std::uint8_t transferFlags) {
    if ((transferFlags & 0x01) == 0) {
        return {};
    }
    const unsigned level = static_cast<unsigned>(transferFlags) >> 2;  // unsigned: 0xFD is 63, never negative
    const bool posixPath = !sourcePath.empty() && sourcePath.front() == '/';
    const char separator = posixPath ? '/' : '\\';
    // The drive part is never taken over without the drive option; a Linux path has no drive to take.
    const std::size_t lowest = posixPath ? 1 : ((transferFlags & 0x02) != 0 ? 0 : 3);

    // Walk back from the end: every separator met is one more name, and the one that would exceed the
    // level is where the result starts.
    std::size_t start = sourcePath.size();
    unsigned separators = 0;
    while (start > lowest) {
        const char c = sourcePath[start - 1];
        if (c == separator) {
            ++separators;
            if (level != 0 && separators > level) {
                break;
            }
        }
        --start;
    }

    std::string result;
    result.reserve(sourcePath.size() - start);
    for (std::size_t i = start; i < sourcePath.size(); ++i) {
        // The drive "C:" becomes the directory "C". On Linux a ":" is an ordinary character of a name and
        // stays, so that "a:b" and "ab" never share a target directory.
        if (sourcePath[i] != ':' || posixPath) {
            result.push_back(sourcePath[i]);
        }
    }
    return result;
}

}  // namespace trx

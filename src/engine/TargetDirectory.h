// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string_view>

namespace trx {

namespace platform {
class Directory;
}  // namespace platform

// True for one plain name that may be joined to a path: not "", "." or "..", and without "/" or NUL. A
// name from a project file that is not plain never reaches the file system.
bool IsPlainName(std::string_view name);

// True when every component of `relativePath` ("a/b/", or "") is a plain name.
bool IsPlainRelativePath(std::string_view relativePath);

// Opens the directory `relativePath` below `base` one component at a time without following a link, so
// that nothing below a destination can lead the run out of it. Null when a component is missing, is a
// link or is not a plain name.
std::unique_ptr<platform::Directory> OpenBelow(platform::Directory& base, std::string_view relativePath);

}  // namespace trx

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Paths as text: splitting at "/" and the extension of the last component, without asking the file system.
namespace trx::platform {

// The components of `path` between its "/" separators, in order, empty ones ("a//b", a leading or trailing
// "/") left out: "a/b/" gives "a" and "b".
std::vector<std::string_view> PathComponents(std::string_view path);

// `path` with the extension of its last component (from its last dot on) taken away; a last component
// without a dot stays as it is. "/a.b/Daten.buf" gives "/a.b/Daten".
std::string WithoutExtension(std::string_view path);

}  // namespace trx::platform

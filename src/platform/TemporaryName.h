// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Result.h"

#include <functional>
#include <string>
#include <string_view>

namespace trx::platform {

// The one kind of name Tresorix gives what it writes before it is complete: hidden, unlikely to meet a
// user's file, never longer than a file name may be: "." + name + ".trx-" + 8 random letters or digits,
// or ".trx-" + 16 of them where that would be too long.
std::string TemporaryName(const std::string& name);

// True for a name TemporaryName gives, also with a trailing dot or blank (a destination probe makes such
// names): what a program that died while writing leaves behind.
bool IsTemporaryName(std::string_view name);

// Calls `make` with fresh temporary names for `name` until it does not fail with EEXIST (a few times at
// most); the name that `make` succeeded with, or its last failure.
Result<std::string> UnderTemporaryName(const std::string& name,
                                       const std::function<Status(const std::string& temporary)>& make);

}  // namespace trx::platform

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace trx::test {

// "01 0A ff" -> the three bytes; blanks are ignored.
std::string Bytes(std::string_view hex);
// The bytes as "01 0A FF", for readable failure messages.
std::string Hex(std::string_view bytes);

}  // namespace trx::test

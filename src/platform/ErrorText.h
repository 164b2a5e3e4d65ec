// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace trx::platform {

// The system's description of an errno value, in the user's language where the system has it.
std::string ErrorText(int error);

}  // namespace trx::platform

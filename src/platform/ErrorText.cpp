// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ErrorText.h"

#include <cstring>

namespace trx::platform {

std::string ErrorText(int error) {
    char buffer[256] = {};
    // The GNU strerror_r returns the text, which may or may not be in the buffer.
    return ::strerror_r(error, buffer, sizeof buffer);
}

}  // namespace trx::platform

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/LocalTime.h"

#include <string>

namespace trx {

// The user's date, time and number conventions, handed to the engine so that it stays free of any user
// interface library; the program gives it an implementation over the system locale.
class cTextFormats {
public:
    virtual ~cTextFormats() = default;

    // The date in the user's short date format, always with a four-digit year ("07.12.2026").
    virtual std::string ShortDate(const platform::cLocalTime& time) const = 0;

    // The time of day in the user's long time format ("00:11:08").
    virtual std::string LongTime(const platform::cLocalTime& time) const = 0;

    // The decimal separator of numbers ("," in German), UTF-8.
    virtual std::string DecimalSeparator() const = 0;
};

}  // namespace trx

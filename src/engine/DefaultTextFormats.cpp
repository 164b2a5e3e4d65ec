// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/DefaultTextFormats.h"

#include <cstdio>

namespace trx {

std::string cDefaultTextFormats::ShortDate(const platform::cLocalTime& time) const {
    char text[32];
    std::snprintf(text, sizeof text, "%02d.%02d.%04d", time.Day, time.Month, time.Year);
    return text;
}

std::string cDefaultTextFormats::LongTime(const platform::cLocalTime& time) const {
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", time.Hour, time.Minute, time.Second);
    return text;
}

std::string cDefaultTextFormats::DecimalSeparator() const {
    return ",";
}

}  // namespace trx

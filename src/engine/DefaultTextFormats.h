// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/TextFormats.h"

namespace trx {

// The conventions used where no locale data is available: dd.MM.yyyy, HH:mm:ss and ",".
class cDefaultTextFormats : public cTextFormats {
public:
    std::string ShortDate(const platform::cLocalTime& time) const override;
    std::string LongTime(const platform::cLocalTime& time) const override;
    std::string DecimalSeparator() const override;
};

}  // namespace trx

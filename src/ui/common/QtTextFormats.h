// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/DefaultTextFormats.h"
#include "engine/TextFormats.h"

#include <QLocale>
#include <QString>

namespace trx {

// The user's conventions from the system locale: the short date format with the year always written
// with four digits (a protocol must not leave the century open), the long time format without time-zone
// name, and the decimal separator. Where the system has no locale data (the "C" locale) the fixed
// dd.MM.yyyy, HH:mm:ss and "," apply.
class cQtTextFormats : public cTextFormats {
public:
    cQtTextFormats();
    explicit cQtTextFormats(const QLocale& locale);

    std::string ShortDate(const platform::cLocalTime& time) const override;
    std::string LongTime(const platform::cLocalTime& time) const override;
    std::string DecimalSeparator() const override;

    // The date pattern in use, for tests and display.
    const QString& DatePattern() const { return datePattern_; }
    const QString& TimePattern() const { return timePattern_; }

private:
    QLocale locale_;
    bool fallback_ = false;
    cDefaultTextFormats defaults_;
    QString datePattern_;
    QString timePattern_;
};

// A date pattern whose year field has four digits: a "yy" becomes "yyyy", a "yyyy" stays.
QString WithFourDigitYear(const QString& pattern);

// A time pattern without its time-zone field ("t") and the blanks that set it off.
QString WithoutTimeZone(const QString& pattern);

}  // namespace trx

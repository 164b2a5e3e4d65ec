// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/common/QtTextFormats.h"

#include <QDate>
#include <QTime>

namespace trx {

namespace {

// Runs of one pattern letter outside quoted text, passed to `rewrite` with their length; quoted text and
// other characters are copied as they are.
template <class Rewrite>
QString RewriteField(const QString& pattern, QChar letter, Rewrite rewrite) {
    QString result;
    bool quoted = false;
    for (qsizetype i = 0; i < pattern.size();) {
        const QChar c = pattern[i];
        if (c == QLatin1Char('\'')) {
            quoted = !quoted;
            result += c;
            ++i;
            continue;
        }
        if (!quoted && c == letter) {
            qsizetype run = 0;
            while (i + run < pattern.size() && pattern[i + run] == letter) {
                ++run;
            }
            result += rewrite(run);
            i += run;
            continue;
        }
        result += c;
        ++i;
    }
    return result;
}

}  // namespace

QString WithFourDigitYear(const QString& pattern) {
    return RewriteField(pattern, QLatin1Char('y'), [](qsizetype) { return QStringLiteral("yyyy"); });
}

QString WithoutTimeZone(const QString& pattern) {
    return RewriteField(pattern, QLatin1Char('t'), [](qsizetype) { return QString(); }).trimmed();
}

cQtTextFormats::cQtTextFormats() : cQtTextFormats(QLocale::system()) {
}

cQtTextFormats::cQtTextFormats(const QLocale& locale) : locale_(locale) {
    fallback_ = locale_.language() == QLocale::C;
    datePattern_ = fallback_ ? QStringLiteral("dd.MM.yyyy")
                             : WithFourDigitYear(locale_.dateFormat(QLocale::ShortFormat));
    timePattern_ =
        fallback_ ? QStringLiteral("HH:mm:ss") : WithoutTimeZone(locale_.timeFormat(QLocale::LongFormat));
}

std::string cQtTextFormats::ShortDate(const platform::cLocalTime& time) const {
    if (fallback_) {
        return defaults_.ShortDate(time);
    }
    return locale_.toString(QDate(time.Year, time.Month, time.Day), datePattern_).toStdString();
}

std::string cQtTextFormats::LongTime(const platform::cLocalTime& time) const {
    if (fallback_) {
        return defaults_.LongTime(time);
    }
    return locale_.toString(QTime(time.Hour, time.Minute, time.Second), timePattern_).toStdString();
}

std::string cQtTextFormats::DecimalSeparator() const {
    if (fallback_) {
        return defaults_.DecimalSeparator();
    }
    return locale_.decimalPoint().toStdString();
}

}  // namespace trx

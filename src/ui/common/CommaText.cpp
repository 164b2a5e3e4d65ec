// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/common/CommaText.h"

namespace trx {

namespace {

constexpr char16_t kQuote = u'"';
constexpr char16_t kComma = u',';

// Blanks and control characters, except NUL, which ends the text.
bool IsSkipped(char16_t c) {
    return c >= 1 && c <= 32;
}

}  // namespace

QStringList SplitCommaText(const QString& text) {
    QStringList items;
    // A NUL inside the text ends it, as it would end a C string.
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    const QString source = nul >= 0 ? text.left(nul) : text;
    const qsizetype end = source.size();
    auto at = [&source](qsizetype i) { return source[i].unicode(); };

    qsizetype i = 0;
    while (i < end && IsSkipped(at(i))) {
        ++i;
    }
    while (i < end) {
        QString item;
        if (at(i) == kQuote) {
            ++i;
            while (i < end) {
                if (at(i) == kQuote) {
                    if (i + 1 < end && at(i + 1) == kQuote) {
                        item += QChar(kQuote);
                        i += 2;
                        continue;
                    }
                    ++i;  // the closing quote
                    break;
                }
                item += source[i];
                ++i;
            }
        } else {
            const qsizetype start = i;
            while (i < end && at(i) > 32 && at(i) != kComma) {
                ++i;
            }
            item = source.mid(start, i - start);
        }
        items.append(item);
        while (i < end && IsSkipped(at(i))) {
            ++i;
        }
        if (i < end && at(i) == kComma) {
            if (i + 1 == end) {
                items.append(QString());
            }
            ++i;
            while (i < end && IsSkipped(at(i))) {
                ++i;
            }
        }
    }
    return items;
}

QString ParameterText(const QStringList& items) {
    QStringList parts;
    parts.reserve(items.size());
    for (const QString& item : items) {
        bool quote = false;
        for (const QChar c : item) {
            if (c.unicode() < 32 || c == QLatin1Char(' ') || c == QLatin1Char('"')) {
                quote = true;
                break;
            }
        }
        if (quote) {
            QString quoted = item;
            quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
            parts.append(QLatin1Char('"') + quoted + QLatin1Char('"'));
        } else {
            parts.append(item);
        }
    }
    return parts.join(QLatin1Char(' '));
}

}  // namespace trx

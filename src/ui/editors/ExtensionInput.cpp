// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/editors/ExtensionInput.h"

namespace trx {

namespace {

constexpr QChar kQuote = u'"';
constexpr QChar kDelimiter = u';';

// Control characters and the blank; a NUL cannot come from the input box.
bool IsBlank(QChar c) {
    return c.unicode() <= u' ';
}

QChar AsciiUpper(QChar c) {
    return c >= u'a' && c <= u'z' ? QChar(c.unicode() - (u'a' - u'A')) : c;
}

}  // namespace

QStringList SplitExtensionInput(const QString& line) {
    QStringList parts;
    const qsizetype end = line.size();
    qsizetype p = 0;
    while (p < end && IsBlank(line[p])) {
        ++p;
    }
    while (p < end) {
        QString part;
        if (line[p] == kQuote) {
            // Up to the matching quote; a doubled quote is one quote. Without a closing quote the part
            // runs to the end of the line.
            ++p;
            while (p < end) {
                if (line[p] == kQuote) {
                    if (p + 1 < end && line[p + 1] == kQuote) {
                        part += kQuote;
                        p += 2;
                        continue;
                    }
                    ++p;
                    break;
                }
                part += line[p++];
            }
        } else {
            const qsizetype start = p;
            while (p < end && !IsBlank(line[p]) && line[p] != kDelimiter) {
                ++p;
            }
            part = line.mid(start, p - start);
        }
        parts.append(part);
        while (p < end && IsBlank(line[p])) {
            ++p;
        }
        if (p < end && line[p] == kDelimiter) {
            if (p + 1 == end) {
                parts.append(QString());
            }
            do {
                ++p;
            } while (p < end && IsBlank(line[p]));
        }
    }
    return parts;
}

QString ExtensionFromPart(const QString& part) {
    QString extension = part.startsWith(u'.') ? part.mid(1) : part;
    for (QChar& c : extension) {
        c = AsciiUpper(c);
    }
    return extension;
}

bool SameExtension(const QString& a, const QString& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (AsciiUpper(a[i]) != AsciiUpper(b[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace trx

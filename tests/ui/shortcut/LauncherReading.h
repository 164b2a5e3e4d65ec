// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// An Exec reader written straight from the launcher rules and kept apart from the program's own, so that
// a fault in the writer cannot hide behind the same fault in the reader. It is strict: where the program's
// reader forgives, this one reports what a launcher must not contain.

#include <QFile>
#include <QString>
#include <QStringList>

namespace trx::test {

struct cExecReading {
    QStringList Items;
    QString Problem;  // empty when the line follows the rules
};

// The value of `key` in the group "Desktop Entry" of the launcher at `path`, as it stands in the file.
inline QString RawLauncherValue(const QString& path, const QString& key) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return QString();
    }
    bool inGroup = false;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        if (line.startsWith(u'[')) {
            inGroup = line == QStringLiteral("[Desktop Entry]");
        } else if (inGroup && line.startsWith(key + u'=')) {
            return line.mid(key.size() + 1);
        }
    }
    return QString();
}

// Reads a raw Exec value: first the escapes of string values, then the quoting of arguments, then "%%".
inline cExecReading ReadExecStrictly(const QString& raw) {
    cExecReading reading;
    auto fail = [&reading](const QString& problem) {
        reading.Problem = problem;
        return reading;
    };

    // 1. String escapes; a string value holds no control characters at all.
    QString value;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (raw[i].unicode() < 32 || raw[i].unicode() == 127) {
            return fail(QStringLiteral("control character in the value"));
        }
        if (raw[i] != u'\\') {
            value += raw[i];
            continue;
        }
        if (++i == raw.size()) {
            return fail(QStringLiteral("backslash at the end"));
        }
        const QChar e = raw[i];
        if (e == u's') {
            value += u' ';
        } else if (e == u'n') {
            value += u'\n';
        } else if (e == u't') {
            value += u'\t';
        } else if (e == u'r') {
            value += u'\r';
        } else if (e == u'\\') {
            value += u'\\';
        } else {
            return fail(QStringLiteral("unknown string escape \\") + e);
        }
    }

    // 2. Arguments separated by one space; reserved characters only inside double quotes.
    const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    QStringList items;
    qsizetype i = 0;
    while (i < value.size()) {
        QString item;
        if (value[i] == u'"') {
            for (++i;; ++i) {
                if (i == value.size()) {
                    return fail(QStringLiteral("unclosed quote"));
                }
                if (value[i] == u'"') {
                    ++i;
                    break;
                }
                if (value[i] == u'\\') {
                    ++i;
                    if (i == value.size() || !QStringLiteral("\"`$\\").contains(value[i])) {
                        return fail(QStringLiteral("stray backslash inside quotes"));
                    }
                } else if (QStringLiteral("`$").contains(value[i])) {
                    return fail(QStringLiteral("unescaped ") + value[i] + QStringLiteral(" inside quotes"));
                }
                item += value[i];
            }
        } else {
            while (i < value.size() && value[i] != u' ') {
                if (reserved.contains(value[i])) {
                    return fail(QStringLiteral("reserved character outside quotes: ") + value[i]);
                }
                item += value[i++];
            }
        }
        if (i < value.size()) {
            if (value[i] != u' ' || i + 1 == value.size()) {
                return fail(QStringLiteral("arguments not separated by one space"));
            }
            ++i;
        }
        items.append(item);
    }

    // 3. Field codes: this launcher has none, so every percent sign comes doubled.
    for (QString& item : items) {
        QString plain;
        for (qsizetype k = 0; k < item.size(); ++k) {
            if (item[k] == u'%') {
                if (k + 1 == item.size() || item[k + 1] != u'%') {
                    return fail(QStringLiteral("percent sign not doubled"));
                }
                ++k;
            }
            plain += item[k];
        }
        item = plain;
    }
    reading.Items = items;
    return reading;
}

}  // namespace trx::test

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/shortcut/UnitFileText.h"

namespace trx {

namespace {

bool IsPlainNameByte(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ':' ||
           c == '_' || c == '.';
}

QString HexEscape(unsigned value) {
    return QStringLiteral("\\x%1").arg(value, 2, 16, QLatin1Char('0'));
}

bool IsControl(QChar c) {
    return c.unicode() < 0x20 || c.unicode() == 0x7f;
}

// "\n", "\t", "\r" and "\xNN" for control characters, "\\" for the backslash.
QString CEscaped(QChar c) {
    switch (c.unicode()) {
        case '\\':
            return QStringLiteral("\\\\");
        case '\n':
            return QStringLiteral("\\n");
        case '\t':
            return QStringLiteral("\\t");
        case '\r':
            return QStringLiteral("\\r");
        default:
            return IsControl(c) ? HexEscape(c.unicode()) : QString(c);
    }
}

int HexValue(QChar c) {
    const int digit = QStringLiteral("0123456789abcdef").indexOf(c.toLower());
    return digit;
}

// The character a C escape at `text[i]` (just after the backslash) stands for; moves `i` to its last
// character. An escape it does not know stands for itself.
QChar CUnescaped(const QString& text, qsizetype& i) {
    const QChar c = text[i];
    switch (c.unicode()) {
        case 'n':
            return u'\n';
        case 't':
            return u'\t';
        case 'r':
            return u'\r';
        case 's':
            return u' ';
        case 'x':
            if (i + 2 < text.size() && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
                const int value = HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]);
                i += 2;
                return QChar(value);
            }
            return c;
        default:
            return c;
    }
}

// A line continues on the next when it ends in an odd number of backslashes.
bool Continues(const QString& line) {
    qsizetype count = 0;
    for (qsizetype i = line.size() - 1; i >= 0 && line[i] == u'\\'; --i) {
        ++count;
    }
    return count % 2 == 1;
}

}  // namespace

QString EscapeUnitNamePath(const QString& path) {
    QByteArray bytes = path.toUtf8();
    while (bytes.contains("//")) {
        bytes.replace("//", "/");
    }
    while (bytes.startsWith('/')) {
        bytes.remove(0, 1);
    }
    while (bytes.endsWith('/')) {
        bytes.chop(1);
    }
    if (bytes.isEmpty()) {
        return QStringLiteral("-");
    }
    QString escaped;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '/') {
            escaped += u'-';
        } else if (IsPlainNameByte(c) && !(i == 0 && c == '.')) {
            escaped += QLatin1Char(c);
        } else {
            escaped += HexEscape(static_cast<unsigned char>(c));
        }
    }
    return escaped;
}

QString QuoteCommandWord(const QString& word, bool isProgram) {
    QString quoted = QStringLiteral("\"");
    for (const QChar c : word) {
        if (c == u'"') {
            quoted += QStringLiteral("\\\"");
        } else if (c == u'%') {
            quoted += QStringLiteral("%%");
        } else if (c == u'$' && !isProgram) {
            quoted += QStringLiteral("$$");
        } else {
            quoted += CEscaped(c);
        }
    }
    return quoted + u'"';
}

QStringList SplitCommandLine(const QString& value) {
    QStringList words;
    QString word;
    bool inWord = false;
    bool quoted = false;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (!quoted && (c == u' ' || c == u'\t')) {
            if (inWord) {
                words << word;
                word.clear();
                inWord = false;
            }
            continue;
        }
        inWord = true;
        if (c == u'"') {
            quoted = !quoted;
        } else if (c == u'\\' && i + 1 < value.size()) {
            word += CUnescaped(value, ++i);
        } else if ((c == u'%' || (c == u'$' && !words.isEmpty())) && i + 1 < value.size() &&
                   value[i + 1] == c) {
            word += c;
            ++i;
        } else {
            word += c;
        }
    }
    if (inWord) {
        words << word;
    }
    return words;
}

QString UnitTextValue(const QString& text) {
    QString value;
    for (const QChar c : text) {
        if (c == u'%') {
            value += QStringLiteral("%%");
        } else if (!IsControl(c)) {
            value += c;
        }
    }
    while (value.endsWith(u'\\')) {
        value.chop(1);
    }
    return value;
}

QString EscapeUnitValue(const QString& text) {
    QString value;
    for (qsizetype i = 0; i < text.size(); ++i) {
        // Blanks at either end would be trimmed away.
        const bool atEnd = i == 0 || i == text.size() - 1;
        value += text[i] == u' ' && atEnd ? QStringLiteral("\\s") : CEscaped(text[i]);
    }
    return value;
}

QString UnescapeUnitValue(const QString& value) {
    QString text;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == u'\\' && i + 1 < value.size()) {
            text += CUnescaped(value, ++i);
        } else {
            text += value[i];
        }
    }
    return text;
}

QList<cUnitSetting> ParseUnitText(const QByteArray& text) {
    QList<cUnitSetting> settings;
    QString section;
    QString pending;
    for (QString line : QString::fromUtf8(text).split(u'\n')) {
        if (line.endsWith(u'\r')) {
            line.chop(1);
        }
        if (pending.isEmpty() && (line.trimmed().startsWith(u'#') || line.trimmed().startsWith(u';'))) {
            continue;
        }
        if (Continues(line)) {
            line.chop(1);
            pending += line + u' ';
            continue;
        }
        line = (pending + line).trimmed();
        pending.clear();
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            section = line.mid(1, line.size() - 2);
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (equals > 0) {
            settings.append({section, line.left(equals).trimmed(), line.mid(equals + 1).trimmed()});
        }
    }
    return settings;
}

QString UnitValue(const QList<cUnitSetting>& settings, const QString& section, const QString& key) {
    QString value;
    for (const cUnitSetting& setting : settings) {
        if (setting.Section == section && setting.Key == key) {
            value = setting.Value;
        }
    }
    return value;
}

}  // namespace trx

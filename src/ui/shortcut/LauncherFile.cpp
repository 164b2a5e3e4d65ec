// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/shortcut/LauncherFile.h"

namespace trx {

namespace {

const QString kGroup = QStringLiteral("[Desktop Entry]");

// Characters that force an Exec item into double quotes.
bool IsReserved(QChar c) {
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    return reserved.contains(c);
}

// Characters that a backslash escapes inside double quotes of Exec.
bool IsQuotedEscape(QChar c) {
    return c == u'"' || c == u'`' || c == u'$' || c == u'\\';
}

bool IsLineBreakOrTab(QChar c) {
    return c == u'\t' || c == u'\n' || c == u'\r';
}

bool IsControl(QChar c) {
    return c.unicode() < 32 || c.unicode() == 127;
}

QString QuoteExecArgument(const QString& argument) {
    bool quote = argument.isEmpty();
    for (const QChar c : argument) {
        // A carriage return is not reserved, but unquoted it would meet readers that split at it.
        if (IsReserved(c) || c == u'\r') {
            quote = true;
            break;
        }
    }
    QString result;
    if (quote) {
        result += u'"';
        for (const QChar c : argument) {
            if (IsQuotedEscape(c)) {
                result += u'\\';
            }
            result += c;
        }
        result += u'"';
    } else {
        result = argument;
    }
    // A lone "%" would start a field code, also inside quotes.
    result.replace(QStringLiteral("%"), QStringLiteral("%%"));
    return result;
}

QString EscapeLauncherValue(const QString& value) {
    QString result;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c == u'\\') {
            result += QStringLiteral("\\\\");
        } else if (c == u'\n') {
            result += QStringLiteral("\\n");
        } else if (c == u'\t') {
            result += QStringLiteral("\\t");
        } else if (c == u'\r') {
            result += QStringLiteral("\\r");
        } else if (c == u' ' && (i == 0 || i == value.size() - 1)) {
            result += QStringLiteral("\\s");
        } else if (!IsControl(c)) {
            result += c;
        }
    }
    return result;
}

// Undoes the escapes of a value; an unknown escape stays as it stands, so that a hand-written "\$" in Exec
// still reaches the quoting rules.
QString UnescapeLauncherValue(const QString& value) {
    QString result;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c != u'\\' || i + 1 == value.size()) {
            result += c;
            continue;
        }
        const QChar next = value[i + 1];
        if (next == u's') {
            result += u' ';
        } else if (next == u'n') {
            result += u'\n';
        } else if (next == u't') {
            result += u'\t';
        } else if (next == u'r') {
            result += u'\r';
        } else if (next == u'\\') {
            result += u'\\';
        } else {
            result += c;
            result += next;
        }
        ++i;
    }
    return result;
}

// Splits an unescaped Exec value into its items and undoes their quoting. Beside the double quotes of the
// launcher rules it reads what hand-written launchers use and common readers accept: single quotes,
// backslash escapes outside quotes, and quoted stretches inside an item.
QStringList SplitExec(const QString& exec) {
    QStringList items;
    QString item;
    bool inItem = false;
    const qsizetype end = exec.size();
    for (qsizetype i = 0; i < end; ++i) {
        const QChar c = exec[i];
        if (c == u' ' || c == u'\t' || c == u'\n') {
            if (inItem) {
                items.append(item);
                item.clear();
                inItem = false;
            }
            continue;
        }
        inItem = true;
        if (c == u'"') {
            for (++i; i < end && exec[i] != u'"'; ++i) {
                if (exec[i] == u'\\' && i + 1 < end && IsQuotedEscape(exec[i + 1])) {
                    ++i;
                }
                item += exec[i];
            }
        } else if (c == u'\'') {
            for (++i; i < end && exec[i] != u'\''; ++i) {
                item += exec[i];
            }
        } else if (c == u'\\' && i + 1 < end) {
            item += exec[++i];
        } else {
            item += c;
        }
    }
    if (inItem) {
        items.append(item);
    }
    return items;
}

// Field codes that stand for files or are deprecated: with no files handed over they vanish.
bool IsFileFieldCode(QChar code) {
    static const QString codes = QStringLiteral("fFuUdDnNvm");
    return codes.contains(code);
}

// Expands the field codes of the items as a launch without files does: an item that is only a file code
// is dropped, "%i" becomes "--icon" and the icon, "%c" the name, "%k" the launcher's location, "%%" a
// percent sign; an unknown code vanishes.
QStringList ExpandFieldCodes(const QStringList& items, const cLauncher& launcher, const QString& location) {
    QStringList result;
    for (const QString& item : items) {
        if (item.size() == 2 && item[0] == u'%' && IsFileFieldCode(item[1])) {
            continue;
        }
        if (item == QStringLiteral("%i")) {
            if (!launcher.Icon.isEmpty()) {
                result << QStringLiteral("--icon") << launcher.Icon;
            }
            continue;
        }
        QString expanded;
        for (qsizetype i = 0; i < item.size(); ++i) {
            if (item[i] != u'%' || i + 1 == item.size()) {
                expanded += item[i];
                continue;
            }
            const QChar code = item[++i];
            if (code == u'%') {
                expanded += u'%';
            } else if (code == u'c') {
                expanded += launcher.Name;
            } else if (code == u'k') {
                expanded += location;
            }
        }
        result.append(expanded);
    }
    return result;
}

}  // namespace

bool FormatLauncher(const cLauncher& launcher, QByteArray& text) {
    QStringList exec;
    for (const QString& item : launcher.Exec) {
        for (const QChar c : item) {
            if (IsControl(c) && !IsLineBreakOrTab(c)) {
                return false;
            }
        }
        exec.append(QuoteExecArgument(item));
    }

    QString lines = kGroup + u'\n';
    lines += QStringLiteral("Version=1.0\n");
    lines += QStringLiteral("Type=Application\n");
    lines += QStringLiteral("Name=") + EscapeLauncherValue(launcher.Name) + u'\n';
    if (!launcher.Comment.isEmpty()) {
        lines += QStringLiteral("Comment=") + EscapeLauncherValue(launcher.Comment) + u'\n';
    }
    lines += QStringLiteral("Exec=") + EscapeLauncherValue(exec.join(u' ')) + u'\n';
    if (!launcher.Icon.isEmpty()) {
        lines += QStringLiteral("Icon=") + EscapeLauncherValue(launcher.Icon) + u'\n';
    }
    lines += QStringLiteral("Terminal=false\n");
    text = lines.toUtf8();
    return true;
}

bool ParseLauncher(const QByteArray& text, const QString& location, cLauncher& launcher) {
    launcher = cLauncher();
    QString exec;
    bool found = false;
    bool inGroup = false;
    QString content = QString::fromUtf8(text);
    if (content.startsWith(QChar(0xFEFF))) {
        content.remove(0, 1);  // a byte-order mark some editors put first
    }
    for (QString line : content.split(u'\n')) {
        if (line.endsWith(u'\r')) {
            line.chop(1);
        }
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(u'#')) {
            continue;
        }
        if (trimmed.startsWith(u'[')) {
            inGroup = trimmed == kGroup;
            found = found || inGroup;
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (!inGroup || equals < 0) {
            continue;
        }
        const QString key = line.left(equals).trimmed();
        QString value = line.mid(equals + 1);
        while (value.startsWith(u' ') || value.startsWith(u'\t')) {
            value.remove(0, 1);
        }
        // The last of repeated keys counts, as in the common readers.
        if (key == QStringLiteral("Name")) {
            launcher.Name = UnescapeLauncherValue(value);
        } else if (key == QStringLiteral("Comment")) {
            launcher.Comment = UnescapeLauncherValue(value);
        } else if (key == QStringLiteral("Icon")) {
            launcher.Icon = UnescapeLauncherValue(value);
        } else if (key == QStringLiteral("Exec")) {
            exec = UnescapeLauncherValue(value);
        }
    }
    if (!found) {
        launcher = cLauncher();
        return false;
    }
    launcher.Exec = ExpandFieldCodes(SplitExec(exec), launcher, location);
    return true;
}

}  // namespace trx

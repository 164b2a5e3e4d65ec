// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/shortcut/Shortcut.h"

#include "platform/FileSystem.h"
#include "platform/SafeReplace.h"
#include "ui/common/CommaText.h"
#include "ui/common/ModelText.h"
#include "ui/shortcut/LauncherFile.h"

#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <memory>

namespace trx {

namespace {

// Every class of user that may read the launcher may also start it.
std::uint32_t WithExecuteBits(std::uint32_t mode) {
    return mode | 0100 | ((mode & 0444) >> 2);
}

// Puts `data` at `path` fail-safe (a link is followed to the launcher it names). A new launcher gets what
// the umask allows for an executable, a replaced one keeps its permission bits; both get their execute
// bits. Returns 0 or the errno of the failed step.
int WriteLauncherSafely(platform::FileSystem& fs, const std::string& path, const std::string& data) {
    return platform::ReplaceFileContents(fs, path, data, true, WithExecuteBits).error;
}

// The launcher's Name: the file name without its suffix.
QString LauncherName(const QString& linkFile) {
    QString name = QFileInfo(linkFile).fileName();
    if (name.endsWith(kShortcutSuffix) && name.size() > kShortcutSuffix.size()) {
        name.chop(kShortcutSuffix.size());
    }
    return name;
}

bool NeedsQuotes(const QString& item) {
    if (item.isEmpty()) {
        return true;
    }
    for (const QChar c : item) {
        if (c.unicode() <= 32 || c == u'"' || c == u',') {
            return true;
        }
    }
    return false;
}

void Clear(QString* target, QString* arguments, QString* description, QString* iconPath, int* iconIndex) {
    for (QString* part : {target, arguments, description, iconPath}) {
        if (part != nullptr) {
            part->clear();
        }
    }
    if (iconIndex != nullptr) {
        *iconIndex = 0;
    }
}

}  // namespace

QString QuotedArgument(const QString& item) {
    QString doubled = item;
    doubled.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + doubled + u'"';
}

QString ShortcutArguments(const QStringList& items) {
    QStringList parts;
    for (qsizetype i = 0; i < items.size(); ++i) {
        const bool isCommand = i > 0 && items[i - 1].compare(QStringLiteral("/a"), Qt::CaseInsensitive) == 0;
        const bool quote = i == 0 || isCommand || NeedsQuotes(items[i]);
        parts.append(quote ? QuotedArgument(items[i]) : items[i]);
    }
    return parts.join(u' ');
}

bool CreateShortcut(platform::FileSystem& fs, const QString& target, const QString& linkFile,
                    const QString& arguments, const QString& description, const QString& iconPath,
                    int /*iconIndex*/, QString* failure) {
    cLauncher launcher;
    launcher.Name = LauncherName(linkFile);
    launcher.Comment = description;
    launcher.Exec = QStringList{target};
    if (!arguments.isEmpty()) {
        launcher.Exec += SplitCommaText(arguments);
    }
    launcher.Icon = iconPath.isEmpty() ? kProgramIconName : iconPath;

    QByteArray text;
    if (!FormatLauncher(launcher, text)) {
        if (failure != nullptr) {
            *failure = QStringLiteral(
                "Die Befehlszeile enthält Steuerzeichen, die eine Verknüpfung nicht "
                "aufnehmen kann.");
        }
        return false;
    }
    const int error = WriteLauncherSafely(fs, ToModel(linkFile), text.toStdString());
    if (error != 0 && failure != nullptr) {
        *failure = QString::fromLocal8Bit(std::strerror(error));
    }
    return error == 0;
}

bool ReadShortcut(platform::FileSystem& fs, const QString& linkFile, QString* target, QString* arguments,
                  QString* description, QString* iconPath, int* iconIndex) {
    Clear(target, arguments, description, iconPath, iconIndex);
    const std::string path = ToModel(linkFile);
    // Whatever is dropped is read whole; a launcher is a few lines, anything this big is something else.
    constexpr std::uint64_t kLargestLauncher = 1 << 20;
    const auto status = fs.Stat(path, true);
    if (!status || status->Size > kLargestLauncher) {
        return false;
    }
    const auto data = fs.ReadWholeFile(path);
    cLauncher launcher;
    if (!data || !ParseLauncher(QByteArray::fromStdString(*data), linkFile, launcher)) {
        return false;
    }
    if (target != nullptr && !launcher.Exec.isEmpty()) {
        *target = launcher.Exec.first();
    }
    if (arguments != nullptr && launcher.Exec.size() > 1) {
        *arguments = ShortcutArguments(launcher.Exec.mid(1));
    }
    if (description != nullptr) {
        *description = launcher.Comment;
    }
    if (iconPath != nullptr) {
        *iconPath = launcher.Icon;
    }
    return true;
}

}  // namespace trx

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/shortcut/ScheduleStore.h"

#include "platform/FileSystem.h"
#include "platform/SafeReplace.h"
#include "ui/common/UserServiceManager.h"
#include "ui/shortcut/ScheduleUnits.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>
#include <cerrno>
#include <cstring>

namespace trx {

namespace {

QString ErrorText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

bool CarriedBack(const QString& path) {
    return QFileInfo(path).isAbsolute() && !path.contains(QChar(0)) &&
           QString::fromUtf8(path.toUtf8()) == path;
}

// systemd starts no program whose path holds quotes, backslashes or control characters.
bool ExecutableBySystemd(const QString& program) {
    for (const QChar c : program) {
        if (c == u'"' || c == u'\'' || c == u'\\' || c.unicode() < 0x20 || c.unicode() == 0x7f) {
            return false;
        }
    }
    return true;
}

// Refuses what no unit file can carry back to the program unchanged.
bool CheckPaths(const cSchedule& schedule, const QString& program, QString& failure) {
    for (const QString& path : {schedule.ProjectPath, program}) {
        if (!CarriedBack(path)) {
            failure =
                QStringLiteral("Der Pfad \"%1\" kann nicht in einen Zeitplan geschrieben werden.").arg(path);
            return false;
        }
    }
    if (!ExecutableBySystemd(program)) {
        failure = QStringLiteral(
                      "Das Programm \"%1\" kann nicht von einem Zeitplan gestartet werden: systemd "
                      "startet keine Programme, in deren Pfad Anführungszeichen oder \\ stehen.")
                      .arg(program);
        return false;
    }
    return true;
}

}  // namespace

cScheduleStore::cScheduleStore(QString unitFolder, cUserServiceManager& manager, platform::FileSystem& fs)
    : unitFolder_(std::move(unitFolder)), manager_(manager), fs_(fs) {
}

std::string cScheduleStore::PathOf(const QString& fileName) const {
    return QDir(unitFolder_).filePath(fileName).toUtf8().toStdString();
}

QList<cScheduleEntry> cScheduleStore::List() const {
    QList<cScheduleEntry> entries;
    const auto folder = fs_.OpenDirectory(unitFolder_.toUtf8().toStdString());
    const auto names = folder ? (*folder)->List() : platform::Result<std::vector<platform::ListedEntry>>(std::vector<platform::ListedEntry>{});
    if (!names) {
        return entries;
    }
    for (const platform::ListedEntry& listed : *names) {
        const QString fileName =
            QString::fromUtf8(listed.Name.data(), static_cast<qsizetype>(listed.Name.size()));
        if (!IsScheduleTimerName(fileName)) {
            continue;
        }
        cScheduleEntry entry;
        entry.UnitName = fileName.chopped(kTimerSuffix.size());
        const auto timer = fs_.ReadWholeFile(PathOf(fileName));
        if (!timer) {
            continue;
        }
        const auto service = fs_.ReadWholeFile(PathOf(entry.UnitName + kServiceSuffix));
        if (!ReadScheduleUnits(QByteArray::fromStdString(*timer),
                               QByteArray::fromStdString(service ? *service : std::string()), entry.Schedule)) {
            continue;  // a hand-written timer of that name is the user's, not ours
        }
        entry.Enabled = fs_.Stat(PathOf(QStringLiteral("timers.target.wants/") + fileName), false).Ok();
        entries.append(entry);
    }
    std::sort(entries.begin(), entries.end(), [](const cScheduleEntry& a, const cScheduleEntry& b) {
        return a.Schedule.ProjectPath < b.Schedule.ProjectPath;
    });
    return entries;
}

std::optional<cScheduleEntry> cScheduleStore::Find(const QString& projectPath) const {
    const QString name = ScheduleUnitName(projectPath);
    for (const cScheduleEntry& entry : List()) {
        if (entry.UnitName == name) {
            return entry;
        }
    }
    return std::nullopt;
}

bool cScheduleStore::MakeUnitFolder(QString& failure) {
    // Each missing level of ~/.config/systemd/user in turn.
    const QStringList parts = QDir::cleanPath(unitFolder_).split(u'/', Qt::SkipEmptyParts);
    QString path;
    for (const QString& part : parts) {
        path += u'/' + part;
        const int error = fs_.MakeDirectory(path.toUtf8().toStdString()).Error();
        if (error != 0 && error != EEXIST) {
            failure = QStringLiteral("Der Ordner \"%1\" kann nicht angelegt werden: %2")
                          .arg(path, ErrorText(error));
            return false;
        }
    }
    return true;
}

bool cScheduleStore::WriteUnits(const QString& name, const QByteArray& timer, const QByteArray& service,
                                QString& failure) {
    // The service first: a timer never points to a service that is not there yet.
    for (const auto& [fileName, text] :
         {std::pair{name + kServiceSuffix, service}, std::pair{name + kTimerSuffix, timer}}) {
        const platform::ReplaceResult result = platform::ReplaceFileContents(
            fs_, PathOf(fileName), std::string_view(text.constData(), text.size()));
        if (result.failure != platform::ReplaceFailure::None) {
            failure = QStringLiteral("Die Datei \"%1\" kann nicht geschrieben werden: %2")
                          .arg(QString::fromStdString(PathOf(fileName)), ErrorText(result.error));
            return false;
        }
    }
    return true;
}

bool cScheduleStore::Save(const cSchedule& schedule, const QString& program, QString& failure) {
    if (!CheckPaths(schedule, program, failure) || !MakeUnitFolder(failure)) {
        return false;
    }
    const QString name = ScheduleUnitName(schedule.ProjectPath);
    cEarlier earlier[2];
    const QString files[2] = {name + kServiceSuffix, name + kTimerSuffix};
    for (int i = 0; i < 2; ++i) {
        auto text = fs_.ReadWholeFile(PathOf(files[i]));
        earlier[i].Existed = text.Ok();
        earlier[i].Text = text ? std::move(*text) : std::string();
        if (earlier[i].Existed && !IsScheduleUnitText(QByteArray::fromStdString(earlier[i].Text))) {
            failure = QStringLiteral(
                          "Die Datei \"%1\" gehört nicht zu einem Zeitplan von Tresorix und wird "
                          "nicht überschrieben.")
                          .arg(QString::fromStdString(PathOf(files[i])));
            return false;
        }
    }
    if (!WriteUnits(name, TimerUnitText(schedule), ServiceUnitText(schedule, program), failure)) {
        PutBack(files, earlier);
        return false;
    }
    QString switchFailure;
    if (manager_.Reload(switchFailure) && manager_.EnableTimer(name + kTimerSuffix, switchFailure)) {
        return true;
    }
    failure = QStringLiteral("Der Zeitplan kann nicht eingeschaltet werden: ") + switchFailure;
    PutBack(files, earlier);
    return false;
}

void cScheduleStore::PutBack(const QString (&files)[2], const cEarlier (&earlier)[2]) {
    for (int i = 0; i < 2; ++i) {
        if (earlier[i].Existed) {
            platform::ReplaceFileContents(fs_, PathOf(files[i]), earlier[i].Text);
        } else {
            (void)fs_.RemoveFile(PathOf(files[i]));
        }
    }
    QString ignored;
    manager_.Reload(ignored);
}

bool cScheduleStore::Remove(const QString& unitName, QString& failure) {
    QString switchFailure;
    if (!manager_.DisableTimer(unitName + kTimerSuffix, switchFailure)) {
        failure = QStringLiteral("Der Zeitplan kann nicht ausgeschaltet werden: ") + switchFailure;
        return false;
    }
    for (const QString& suffix : {kTimerSuffix, kServiceSuffix}) {
        const int error = fs_.RemoveFile(PathOf(unitName + suffix)).Error();
        if (error != 0 && error != ENOENT) {
            failure = QStringLiteral("Die Datei \"%1\" kann nicht entfernt werden: %2")
                          .arg(QString::fromStdString(PathOf(unitName + suffix)), ErrorText(error));
            return false;
        }
    }
    QString ignored;
    manager_.Reload(ignored);  // the manager forgets the units; they are gone on disk either way
    return true;
}

QString UserUnitFolder() {
    // Qt follows $XDG_CONFIG_HOME and falls back to ~/.config, as systemd does.
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/systemd/user");
}

}  // namespace trx

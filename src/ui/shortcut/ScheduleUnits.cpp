// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/shortcut/ScheduleUnits.h"

#include "ui/shortcut/UnitFileText.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QRegularExpression>

namespace trx {

namespace {

const QString kNamePrefix = QStringLiteral("tresorix-");
const QString kProjectKey = QStringLiteral("X-Tresorix-Project");
// The longest unit name systemd takes, suffix included.
constexpr qsizetype kUnitNameMax = 255;
// The calendar's English weekday names, Monday first.
const QStringList kCalendarDays{"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
const QStringList kGermanDays{"Montags",  "Dienstags", "Mittwochs", "Donnerstags",
                              "Freitags", "Samstags",  "Sonntags"};
// A run at login waits a moment, so that the desktop has settled and removable media are mounted.
const QString kAfterLogin = QStringLiteral("1min");

QString FileName(const cSchedule& schedule) {
    return QFileInfo(schedule.ProjectPath).fileName();
}

}  // namespace

QString ScheduleUnitName(const QString& projectPath) {
    const QString name = kNamePrefix + EscapeUnitNamePath(projectPath);
    if (name.size() + kServiceSuffix.size() <= kUnitNameMax) {
        return name;
    }
    const QByteArray digest =
        QCryptographicHash::hash(projectPath.toUtf8(), QCryptographicHash::Sha256).toHex();
    return kNamePrefix + QString::fromLatin1(digest.left(32));
}

bool IsScheduleTimerName(const QString& fileName) {
    return fileName.startsWith(kNamePrefix) && fileName.endsWith(kTimerSuffix) &&
           fileName.size() > kNamePrefix.size() + kTimerSuffix.size();
}

QString CalendarExpression(const cSchedule& schedule) {
    const QString time = schedule.Time.toString(QStringLiteral("HH:mm")) + QStringLiteral(":00");
    switch (schedule.When) {
        case cSchedule::Kind::Daily:
            return QStringLiteral("*-*-* ") + time;
        case cSchedule::Kind::Weekly:
            return kCalendarDays.value(schedule.Weekday - 1, kCalendarDays[0]) + QStringLiteral(" *-*-* ") +
                   time;
        case cSchedule::Kind::AtLogin:
            break;
    }
    return {};
}

QByteArray TimerUnitText(const cSchedule& schedule) {
    QString text = QStringLiteral("[Unit]\n");
    text += QStringLiteral("Description=") +
            UnitTextValue(QStringLiteral("Tresorix: Zeitplan für ") + FileName(schedule)) + u'\n';
    text += kProjectKey + u'=' + EscapeUnitValue(schedule.ProjectPath) + u'\n';
    text += QStringLiteral("\n[Timer]\n");
    if (schedule.When == cSchedule::Kind::AtLogin) {
        text += QStringLiteral("OnStartupSec=") + kAfterLogin + u'\n';
    } else {
        text += QStringLiteral("OnCalendar=") + CalendarExpression(schedule) + u'\n';
        // A time missed while the computer was off is caught up on at the next start.
        text += QStringLiteral("Persistent=true\n");
    }
    text += QStringLiteral("\n[Install]\nWantedBy=timers.target\n");
    return text.toUtf8();
}

QByteArray ServiceUnitText(const cSchedule& schedule, const QString& program) {
    QStringList command{QuoteCommandWord(program, true), QuoteCommandWord(schedule.ProjectPath, false),
                        QStringLiteral("/h"), QStringLiteral("/s")};
    if (schedule.NotifyAlways) {
        command << QStringLiteral("/n");
    }
    QString text = QStringLiteral("[Unit]\n");
    text += QStringLiteral("Description=") +
            UnitTextValue(QStringLiteral("Tresorix: Sicherung von ") + FileName(schedule)) + u'\n';
    text += kProjectKey + u'=' + EscapeUnitValue(schedule.ProjectPath) + u'\n';
    if (UnitTextValue(schedule.ProjectPath) ==
        QString(schedule.ProjectPath).replace(u'%', QStringLiteral("%%"))) {
        // A project on a medium that is not there (an unplugged disk) fails the service visibly instead
        // of starting the program, which would take a missing project file for an interactive start.
        text += QStringLiteral("AssertPathExists=") + UnitTextValue(schedule.ProjectPath) + u'\n';
    }
    text += QStringLiteral("\n[Service]\nType=oneshot\n");
    text += QStringLiteral("ExecStart=") + command.join(u' ') + u'\n';
    return text.toUtf8();
}

bool IsScheduleUnitText(const QByteArray& text) {
    return !UnitValue(ParseUnitText(text), QStringLiteral("Unit"), kProjectKey).isEmpty();
}

bool ReadScheduleUnits(const QByteArray& timerText, const QByteArray& serviceText, cSchedule& schedule) {
    const QList<cUnitSetting> timer = ParseUnitText(timerText);
    const QString project = UnitValue(timer, QStringLiteral("Unit"), kProjectKey);
    if (project.isEmpty()) {
        return false;
    }
    cSchedule read;
    read.ProjectPath = UnescapeUnitValue(project);
    const QString calendar = UnitValue(timer, QStringLiteral("Timer"), QStringLiteral("OnCalendar"));
    static const QRegularExpression form(
        QStringLiteral("^(?:(\\w{3}) )?\\*-\\*-\\* (\\d\\d):(\\d\\d)(?::00)?$"));
    const QRegularExpressionMatch match = form.match(calendar);
    if (match.hasMatch()) {
        read.Time = QTime(match.captured(2).toInt(), match.captured(3).toInt());
        read.When = match.captured(1).isEmpty() ? cSchedule::Kind::Daily : cSchedule::Kind::Weekly;
        read.Weekday = static_cast<int>(kCalendarDays.indexOf(match.captured(1))) + 1;
        if (!read.Time.isValid() || (read.When == cSchedule::Kind::Weekly && read.Weekday < 1)) {
            return false;
        }
        read.Weekday = std::max(read.Weekday, 1);
    } else if (!UnitValue(timer, QStringLiteral("Timer"), QStringLiteral("OnStartupSec")).isEmpty()) {
        read.When = cSchedule::Kind::AtLogin;
    } else {
        return false;
    }
    const QStringList command = SplitCommandLine(
        UnitValue(ParseUnitText(serviceText), QStringLiteral("Service"), QStringLiteral("ExecStart")));
    for (qsizetype i = 2; i < command.size(); ++i) {
        read.NotifyAlways =
            read.NotifyAlways || command[i].compare(QStringLiteral("/n"), Qt::CaseInsensitive) == 0;
    }
    schedule = read;
    return true;
}

QString ScheduleText(const cSchedule& schedule) {
    const QString time = schedule.Time.toString(QStringLiteral("HH:mm"));
    switch (schedule.When) {
        case cSchedule::Kind::Daily:
            return QStringLiteral("Täglich um %1 Uhr").arg(time);
        case cSchedule::Kind::Weekly:
            return QStringLiteral("%1 um %2 Uhr")
                .arg(kGermanDays.value(schedule.Weekday - 1, kGermanDays[0]), time);
        case cSchedule::Kind::AtLogin:
            break;
    }
    return QStringLiteral("Bei jeder Anmeldung");
}

}  // namespace trx

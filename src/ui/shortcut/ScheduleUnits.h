// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/shortcut/Schedule.h"

#include <QByteArray>
#include <QString>

namespace trx {

// The two systemd user units of a schedule: "<name>.timer" starts "<name>.service" at the chosen times,
// which runs the project unattended ("/h /s"). The name comes from the project file's path, so that every
// project has its own pair and finds it again.

inline const QString kTimerSuffix = QStringLiteral(".timer");
inline const QString kServiceSuffix = QStringLiteral(".service");

// "tresorix-" and the escaped path of the project; for a path too long for a unit name, "tresorix-" and
// a digest of it.
QString ScheduleUnitName(const QString& projectPath);
// True for the name of a schedule's timer unit file.
bool IsScheduleTimerName(const QString& fileName);

// "*-*-* 02:30:00" or "Wed *-*-* 19:00:00"; "" for a schedule at login.
QString CalendarExpression(const cSchedule& schedule);

QByteArray TimerUnitText(const cSchedule& schedule);
// `program` is the path of the program the service starts.
QByteArray ServiceUnitText(const cSchedule& schedule, const QString& program);
// True for the text of a unit that a schedule wrote (a hand-written unit of the same name is the user's).
bool IsScheduleUnitText(const QByteArray& text);
// Reads a schedule back from the texts of its two units; false when they are not a schedule's.
bool ReadScheduleUnits(const QByteArray& timerText, const QByteArray& serviceText, cSchedule& schedule);

// "Täglich um 02:30 Uhr", "Mittwochs um 19:00 Uhr", "Bei jeder Anmeldung".
QString ScheduleText(const cSchedule& schedule);

}  // namespace trx

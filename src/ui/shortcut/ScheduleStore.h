// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/shortcut/Schedule.h"

#include <QList>
#include <QString>
#include <optional>
#include <string>

namespace trx {

namespace platform {
class FileSystem;
}
class cUserServiceManager;

// A schedule this program made, as found in the user's unit folder.
struct cScheduleEntry {
    QString UnitName;  // without suffix
    cSchedule Schedule;
    bool Enabled = false;  // the timer is linked to start with the manager
};

// The schedules of the user's projects: the timer and service units in the user's unit folder, switched
// on and off through the user's service manager.
class cScheduleStore {
public:
    // `unitFolder` is where the units go (UserUnitFolder(), a temporary folder in tests). `manager` and
    // `fs` outlive the store.
    cScheduleStore(QString unitFolder, cUserServiceManager& manager, platform::FileSystem& fs);

    const QString& UnitFolder() const { return unitFolder_; }
    // Every schedule this program made, ordered by project.
    QList<cScheduleEntry> List() const;
    // The schedule of the project `projectPath` (absolute), if it has one.
    std::optional<cScheduleEntry> Find(const QString& projectPath) const;

    // Writes the units of `schedule`, replacing the project's earlier ones, and switches its timer on.
    // `program` is the program the service starts. On failure the unit files are as they were before and
    // `failure` says why.
    bool Save(const cSchedule& schedule, const QString& program, QString& failure);
    // Switches the timer `unitName` off and removes both units; a timer that cannot be switched off keeps
    // its units.
    bool Remove(const QString& unitName, QString& failure);

private:
    // The earlier content of a unit file, to put back when the new one cannot be switched on.
    struct cEarlier {
        bool Existed = false;
        std::string Text;
    };

    std::string PathOf(const QString& fileName) const;
    // Puts the earlier units back (or removes new ones) and lets the manager read them again.
    void PutBack(const QString (&files)[2], const cEarlier (&earlier)[2]);
    bool WriteUnits(const QString& name, const QByteArray& timer, const QByteArray& service,
                    QString& failure);
    bool MakeUnitFolder(QString& failure);

    QString unitFolder_;
    cUserServiceManager& manager_;
    platform::FileSystem& fs_;
};

// The folder of the user's own units: $XDG_CONFIG_HOME/systemd/user, by default ~/.config/systemd/user.
QString UserUnitFolder();

}  // namespace trx

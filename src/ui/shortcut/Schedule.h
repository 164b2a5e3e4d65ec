// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QTime>

namespace trx {

// When a project runs by itself: the settings of the group "Zeitplan".
struct cSchedule {
    enum class Kind { Daily = 0, Weekly = 1, AtLogin = 2 };

    Kind When = Kind::Daily;
    int Weekday = 1;            // 1 Monday to 7 Sunday; for Weekly
    QTime Time{2, 30};          // for Daily and Weekly, to the minute
    QString ProjectPath;        // absolute
    bool NotifyAlways = false;  // "/n": a notification after every run, not only after a bad one
};

}  // namespace trx

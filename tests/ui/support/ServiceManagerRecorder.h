// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/common/UserServiceManager.h"

#include <QStringList>

namespace trx::test {

// Stands in for the user's service manager: records each call as "Reload", "EnableTimer <unit>",
// "DisableTimer <unit>" or "MoveIntoScope <scope>"; a call named in `Failing` fails with `Failure`.
class ServiceManagerRecorder : public cUserServiceManager {
public:
    bool Reload(QString& failure) override { return Record(QStringLiteral("Reload"), failure); }
    bool EnableTimer(const QString& unit, QString& failure) override {
        return Record(QStringLiteral("EnableTimer ") + unit, failure);
    }
    bool DisableTimer(const QString& unit, QString& failure) override {
        return Record(QStringLiteral("DisableTimer ") + unit, failure);
    }
    bool MoveIntoScope(const QString& scope, qint64, QString& failure) override {
        return Record(QStringLiteral("MoveIntoScope ") + scope, failure);
    }
    QStringList Calls;
    QStringList Failing;  // call names ("Reload", "EnableTimer", ...)
    QString Failure = QStringLiteral("Unit tresorix.timer not found.");

private:
    bool Record(const QString& call, QString& failure) {
        Calls.append(call);
        if (Failing.contains(call.section(u' ', 0, 0))) {
            failure = Failure;
            return false;
        }
        return true;
    }
};

}  // namespace trx::test

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QHash>
#include <QList>
#include <QMutex>
#include <functional>

namespace trx::test {

// A stand-in for a D-Bus service: records every call and answers it as scripted, an empty reply for
// members nobody scripted. It answers on the bus's thread of its own (see PrivateBus), so its records are
// guarded.
class FakeService : public QDBusVirtualObject {
public:
    using Answer = std::function<QDBusMessage(const QDBusMessage& call)>;

    // Calls of `member` are answered by `answer` from now on.
    void Script(const QString& member, Answer answer);
    // Calls of `member` are answered with the error `name` and `text`.
    void Fail(const QString& member, const QString& name, const QString& text);

    QList<QDBusMessage> Calls() const;
    QList<QDBusMessage> Calls(const QString& member) const;
    QStringList Members() const;
    // Waits, handling events, until `member` was called `count` times; false after `ms` milliseconds.
    bool WaitFor(const QString& member, int count = 1, int ms = 10000) const;

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;
    QString introspect(const QString&) const override { return {}; }

private:
    mutable QMutex mutex_;
    QHash<QString, Answer> answers_;
    QList<QDBusMessage> calls_;
};

}  // namespace trx::test

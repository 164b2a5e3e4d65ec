// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeService.h"

#include <QDBusConnection>
#include <QtTest>

namespace trx::test {

void FakeService::Script(const QString& member, Answer answer) {
    QMutexLocker lock(&mutex_);
    answers_.insert(member, std::move(answer));
}

void FakeService::Fail(const QString& member, const QString& name, const QString& text) {
    Script(member, [name, text](const QDBusMessage& call) { return call.createErrorReply(name, text); });
}

QList<QDBusMessage> FakeService::Calls() const {
    QMutexLocker lock(&mutex_);
    return calls_;
}

QList<QDBusMessage> FakeService::Calls(const QString& member) const {
    QList<QDBusMessage> matching;
    for (const QDBusMessage& call : Calls()) {
        if (call.member() == member) {
            matching.append(call);
        }
    }
    return matching;
}

QStringList FakeService::Members() const {
    QStringList members;
    for (const QDBusMessage& call : Calls()) {
        members.append(call.member());
    }
    return members;
}

bool FakeService::WaitFor(const QString& member, int count, int ms) const {
    return QTest::qWaitFor([&] { return Calls(member).size() >= count; }, ms);
}

bool FakeService::handleMessage(const QDBusMessage& message, const QDBusConnection& connection) {
    Answer answer;
    {
        QMutexLocker lock(&mutex_);
        calls_.append(message);
        answer = answers_.value(message.member());
    }
    if (!message.isReplyRequired() && !answer) {
        return true;
    }
    connection.send(answer ? answer(message) : message.createReply());
    return true;
}

}  // namespace trx::test

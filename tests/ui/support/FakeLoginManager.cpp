// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeLoginManager.h"

#include <fcntl.h>
#include <unistd.h>
#include <QDBusUnixFileDescriptor>

namespace trx::test {

FakeLoginManager::FakeLoginManager(const QString& canPowerOff) {
    SetCanPowerOff(canPowerOff);
    Script(QStringLiteral("Inhibit"), [this](const QDBusMessage& call) {
        int ends[2];
        if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
            return call.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.Failed"),
                                         QStringLiteral("pipe"));
        }
        {
            QMutexLocker lock(&pipesMutex_);
            readEnds_.push_back(ends[0]);
        }
        QDBusMessage reply = call.createReply(QVariant::fromValue(QDBusUnixFileDescriptor(ends[1])));
        ::close(ends[1]);  // the reply carries its own copy
        return reply;
    });
}

FakeLoginManager::~FakeLoginManager() {
    for (const int fd : readEnds_) {
        ::close(fd);
    }
}

void FakeLoginManager::SetCanPowerOff(const QString& answer) {
    Script(QStringLiteral("CanPowerOff"),
           [answer](const QDBusMessage& call) { return call.createReply(answer); });
}

int FakeLoginManager::InhibitorsHeld() const {
    QMutexLocker lock(&pipesMutex_);
    int held = 0;
    for (const int fd : readEnds_) {
        char byte = 0;
        // The read end sees the end of the file once every copy of the write end is closed.
        if (::read(fd, &byte, 1) != 0) {
            ++held;
        }
    }
    return held;
}

}  // namespace trx::test

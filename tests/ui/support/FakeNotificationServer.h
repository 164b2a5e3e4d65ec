// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FakeService.h"

#include <QVariantMap>

namespace trx::test {

class PrivateBus;

// Answers like a desktop's notification server: numbers the notices it is asked to show and can send
// the user's answers (an action, a closing) as a server does.
class FakeNotificationServer : public FakeService {
public:
    static constexpr const char* kService = "org.freedesktop.Notifications";
    static constexpr const char* kPath = "/org/freedesktop/Notifications";

    // The server's capabilities, as "GetCapabilities" gives them.
    explicit FakeNotificationServer(const QStringList& capabilities = {"body", "actions", "body-markup"});

    // One notice as "Notify" received it.
    struct cShown {
        QString AppName;
        uint ReplacesId = 0;
        QString Icon;
        QString Summary;
        QString Body;
        QStringList Actions;
        QVariantMap Hints;
        int Timeout = 0;
    };
    QList<cShown> Shown() const;

    // The user chose `action` of the notice `id`, or closed it (reason 2).
    bool Invoke(PrivateBus& bus, uint id, const QString& action);
    bool Close(PrivateBus& bus, uint id, uint reason = 2);
};

}  // namespace trx::test

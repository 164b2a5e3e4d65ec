// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/run/TaskbarProgress.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QEvent>
#include <QProgressBar>
#include <QVariantMap>
#include <algorithm>
#include <cmath>

namespace trx {

cTaskbarProgress::cTaskbarProgress(QString appId, QString connectionName)
    : appUri_(QStringLiteral("application://") + appId + QStringLiteral(".desktop")),
      connectionName_(std::move(connectionName)) {
}

void cTaskbarProgress::Follow(QProgressBar& bar, QWidget& window) {
    connect(&bar, &QProgressBar::valueChanged, this, [this, &bar](int value) {
        const int range = bar.maximum() - bar.minimum();
        if (range > 0) {
            Show(static_cast<double>(value - bar.minimum()) / range);
        }
    });
    window.installEventFilter(this);
}

void cTaskbarProgress::Show(double fraction) {
    const double bounded = std::clamp(fraction, 0.0, 1.0);
    const int percent = static_cast<int>(std::floor(bounded * 100.0));
    if (percent != shownPercent_) {
        shownPercent_ = percent;
        Send(percent / 100.0, true);
    }
}

void cTaskbarProgress::Clear() {
    if (shownPercent_ >= 0) {
        shownPercent_ = -1;
        Send(0.0, false);
    }
}

bool cTaskbarProgress::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Hide || event->type() == QEvent::Close) {
        Clear();
    }
    return QObject::eventFilter(watched, event);
}

void cTaskbarProgress::Send(double fraction, bool visible) {
    QDBusConnection bus =
        connectionName_.isEmpty() ? QDBusConnection::sessionBus() : QDBusConnection(connectionName_);
    if (!bus.isConnected()) {
        return;
    }
    QDBusMessage update = QDBusMessage::createSignal(QStringLiteral("/de/tresorix/Tresorix/LauncherEntry"),
                                                     QStringLiteral("com.canonical.Unity.LauncherEntry"),
                                                     QStringLiteral("Update"));
    QVariantMap properties;
    properties.insert(QStringLiteral("progress"), fraction);
    properties.insert(QStringLiteral("progress-visible"), visible);
    update << appUri_ << properties;
    bus.send(update);
}

}  // namespace trx

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

class QProgressBar;

namespace trx {

// The progress of a run on the program's entry in the task bar or dock, for desktops that show one
// (com.canonical.Unity.LauncherEntry on the session bus; other desktops ignore it). Without a session bus
// nothing happens.
class cTaskbarProgress : public QObject {
    Q_OBJECT

public:
    // `appId` names the program's launcher. Talks to the session bus, or to the named connection that
    // tests give.
    explicit cTaskbarProgress(QString appId, QString connectionName = {});

    // Follows `bar` (the run window's overall bar) in whole percent, and clears the entry when `window`
    // is hidden or closed.
    void Follow(QProgressBar& bar, QWidget& window);
    // Shows `fraction` (0 to 1) on the entry; only a change of a whole percent is sent.
    void Show(double fraction);
    void Clear();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Send(double fraction, bool visible);

    QString appUri_;
    QString connectionName_;
    int shownPercent_ = -1;
};

}  // namespace trx

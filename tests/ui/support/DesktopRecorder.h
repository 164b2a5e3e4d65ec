// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/common/QtDesktopServices.h"

#include <QList>
#include <QUrl>
#include <functional>

namespace trx::test {

// Stands in for the desktop: records the addresses it would open and the ends of the process it would
// make, so that no test opens a mail program or ends itself. Shell icons and type names are the real
// desktop's unless a test gives its own.
class DesktopRecorder : public cQtDesktopServices {
public:
    void OpenUrl(const QUrl& url) override { Opened.append(url); }
    QIcon ShellIcon(const QString& path) override {
        return Icons ? Icons(path) : cQtDesktopServices::ShellIcon(path);
    }
    cShellTypeInfo ShellTypeInfo(const QString& extension) override {
        return TypeInfo ? TypeInfo(extension) : cQtDesktopServices::ShellTypeInfo(extension);
    }
    void EndProcess(int status) override { EndStatuses.append(status); }

    QList<QUrl> Opened;
    QList<int> EndStatuses;
    std::function<QIcon(const QString& path)> Icons;
    std::function<cShellTypeInfo(const QString& extension)> TypeInfo;
};

}  // namespace trx::test

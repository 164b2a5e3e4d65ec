// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/common/ShellTypeInfo.h"

#include <QIcon>
#include <QString>

class QUrl;

namespace trx {

// What the windows ask of the desktop around them. Start-up hands the real one (cQtDesktopServices) to
// the windows; tests hand in a recorder, so that no test opens an address or ends its own process.
class cDesktopServices {
public:
    virtual ~cDesktopServices() = default;

    // Hands an address to the desktop's default application; its result is of no interest.
    virtual void OpenUrl(const QUrl& url) = 0;
    // The shell icon of a directory path, or a null icon when it has none (a missing directory).
    virtual QIcon ShellIcon(const QString& path) = 0;
    // The type name and icon the desktop shows for files of `extension` (without dot).
    virtual cShellTypeInfo ShellTypeInfo(const QString& extension) = 0;
    // Ends the process at once with `status` (an update library took over at start).
    virtual void EndProcess(int status) = 0;
};

}  // namespace trx

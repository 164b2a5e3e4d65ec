// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/common/DesktopServices.h"

namespace trx {

// The desktop as Qt reaches it: the default application for addresses, the file icon provider, the MIME
// database and the end of the process.
class cQtDesktopServices : public cDesktopServices {
public:
    void OpenUrl(const QUrl& url) override;
    // The file icon provider's icon of an existing directory; a null icon for anything else.
    QIcon ShellIcon(const QString& path) override;
    // Looks a file name ending in "." + `extension` up in the MIME database by name only (the disk is
    // never touched): the type's comment and its theme icon, else the theme's generic icon for it, else
    // the style's file icon. An unknown extension gets what the database gives every unknown file.
    cShellTypeInfo ShellTypeInfo(const QString& extension) override;
    void EndProcess(int status) override;
};

}  // namespace trx

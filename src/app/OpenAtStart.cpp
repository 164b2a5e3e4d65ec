// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/OpenAtStart.h"

#include "ui/common/ModelText.h"
#include "ui/main/ProjectCommands.h"
#include "ui/main/TForm1.h"

#include <QFileInfo>
#include <QString>

namespace trx {

void OpenProjectAtStart(TForm1& mainWindow, const std::string& path) {
    if (path.empty()) {
        return;
    }
    const QString file = QFileInfo(FromModel(path)).absoluteFilePath();
    // The window's project is still the new, empty one of the start: nothing to ask about saving.
    mainWindow.Commands().OpenProject(file);
}

}  // namespace trx

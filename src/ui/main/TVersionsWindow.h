// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/KeptVersions.h"

#include <QDialog>
#include <string>
#include <vector>

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTreeWidget;

namespace trx {

namespace platform {
class FileSystem;
}
class cProject;
class cUserDialogs;

// "Frühere Versionen": lists, for a file or folder of a destination, the versions its runs kept, with the
// time of the run and the size, and copies a chosen one back to a folder the user picks. A file or folder
// of that name there is replaced only when the user says so.
class TVersionsWindow : public QDialog {
    Q_OBJECT

public:
    // `dialogs` asks for the folder and the questions; `destination` is the one shown first.
    TVersionsWindow(cProject& project, platform::FileSystem& fs, cUserDialogs& dialogs, int destination = 0,
                    QWidget* parent = nullptr);

    // Shows the paths with kept versions of destination `index` that contain `search`.
    void ShowDestination(int index);
    void ShowPaths();
    // The versions of the path chosen in the list.
    void ShowVersions();
    void Button_RestoreClick();

    QComboBox* ComboBox_Destination = nullptr;
    QLineEdit* Edit_Search = nullptr;
    QListWidget* List_Paths = nullptr;
    QTreeWidget* List_Versions = nullptr;
    QPushButton* Button_Restore = nullptr;
    QPushButton* Button_Close = nullptr;

private:
    // Asks before `name` in `folder` is replaced; true when there is none or the user agrees.
    bool MayReplace(const std::string& folder, const std::string& name, const cKeptVersion& version);
    void UpdateButtons();

    cProject& project_;
    platform::FileSystem& fs_;
    cUserDialogs& dialogs_;
    std::string destination_;
    std::vector<std::string> paths_;
    std::vector<cKeptVersion> versions_;
};

}  // namespace trx

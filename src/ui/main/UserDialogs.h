// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMessageBox>
#include <QString>
#include <vector>

class QDialog;
class QWidget;

namespace trx {

class cBackUpSource;
class cProject;
class TForm3;
class TForm5;
class TInfo;

// Every modal question the main window asks goes through here: the folder browser, the project file
// dialogs, message boxes and the modal dialogs it shows. The main window uses these real ones; tests derive
// and answer without a modal loop.
class cUserDialogs {
public:
    virtual ~cUserDialogs() = default;

    // The folder browser "Verzeichnis auswählen", preselecting `start` when it is not empty. The chosen
    // folder as the browser gives it, or "" when cancelled.
    virtual QString ChooseDirectory(QWidget* parent, const QString& start);
    // The open dialog for project files (an existing file is required); "" when cancelled.
    virtual QString ChooseProjectToOpen(QWidget* parent, const QString& start);
    // The save dialog for project files (asks before overwriting; appends ".buf" to a name without
    // extension); "" when cancelled.
    virtual QString ChooseProjectToSave(QWidget* parent, const QString& start);
    // A message box; returns the button pressed (Escape gives the box's escape button).
    virtual QMessageBox::StandardButton Ask(QWidget* parent, QMessageBox::Icon icon, const QString& caption,
                                            const QString& text, QMessageBox::StandardButtons buttons);
    // A failed load or save: the message with its full stop, captioned with the program's title.
    virtual void ShowError(QWidget* parent, const QString& message);
    // Shows `dialog` modally (the add-directory chooser, the run window) and returns its result.
    virtual int Execute(QDialog& dialog);
    // The shortcut dialog for the saved project at `projectPath` whose label reads `description`.
    virtual int ExecuteShortcutDialog(TForm3& dialog, const QString& projectPath, const QString& description);
    // The element settings dialog for the marked sources `selected` (in selection order) among every
    // source of the tree `sourcesInTreeOrder`; returns its result.
    virtual int ExecuteElementSettings(TForm5& dialog, cProject& project,
                                       std::vector<cBackUpSource*> selected,
                                       std::vector<cBackUpSource*> sourcesInTreeOrder);
    // The about box with the program's title and development period.
    virtual void ShowAbout(TInfo& dialog, const QString& title, const QString& developmentPeriod);
};

// The filter of both project file dialogs.
inline const QString kProjectFileFilter = QStringLiteral("Tresorix-Projekte (*.buf)");

}  // namespace trx

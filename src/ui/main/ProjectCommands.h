// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <string>

namespace trx {

namespace platform {
class FileSystem;
}
class cProject;
class cTextFormats;
class cUserDialogs;
class TForm1;

// The commands of the menu "Datei" and the moves of data between the main window and the model: the
// editors reach the model only through TakeWindowState, and the window shows the model again after
// every load and every run (ShowModel). There is no record of unsaved changes: every command that
// replaces or closes the project asks first.
class cProjectCommands {
public:
    // `fs`, `formats` and `dialogs` outlive the commands.
    cProjectCommands(TForm1& window, cProject& project, platform::FileSystem& fs, const cTextFormats& formats,
                     cUserDialogs& dialogs);

    // ProjectPath and the caption: "Tresorix", or "Tresorix - [<path>]" for a saved project; then the tab
    // "Protokoll" for that path.
    void SetProjectPath(const QString& path);
    // "Möchten Sie das aktuelle Projekt vorher speichern?": true when the pending command may go on (No,
    // or Yes and the project was saved); false for Cancel, a cancelled save dialog or a failed save.
    bool AskSave();
    // Writes the project to ProjectPath, or asks for a path first (SaveAs) when it has none. False when
    // nothing was written: the dialog was cancelled, or writing failed (the user has been told).
    bool Save();
    // Asks for a path and writes the project there. The window takes the new path only once the project
    // was written to it. False when cancelled or when writing failed (the user has been told).
    bool SaveAs();
    // Copies the editors into the model: both filters and the options of the default set, the label and
    // the comments (lines joined with CR LF).
    void TakeWindowState();
    // Empties the tree without touching the model and shows the first tab and empty type lists;
    // `newProject` also puts the new-project defaults into the default set and the editors.
    void ResetWindow(bool newProject);
    // Shows exactly what the model holds.
    void ShowModel();

    // "Neu", "Öffnen", "Speichern ", "Speichern unter", "Backup starten".
    void New();
    void Open();
    void StartBackup();
    // "Vorschau": like "Backup starten" it takes the window's edits first, then shows what a run would do;
    // from there the user may start the run exactly as "Backup starten" does, or with the held-back work
    // released.
    void Preview();
    // The project of the window at start: empty, unsaved, with the new-project defaults.
    void StartNewProject();
    // Sets the path and loads the project file there. A failed load is reported after the window shows
    // what the model then holds, so that no destroyed object stays on screen.
    void OpenProject(const QString& path);
    // Files dropped onto the window: the first project file (".buf", or the project a dropped ".desktop"
    // launcher names first in its arguments) is opened after the save question; the rest are ignored.
    void DropFiles(const QStringList& paths);

    // The file system the project is read and written through.
    platform::FileSystem& Fs() { return fs_; }

private:
    // TakeWindowState, then the fail-safe save; a failure is shown and gives false.
    bool WriteProject(const std::string& path);
    // The run window shows the run of the project as the window holds it; `release` lets held-back work go
    // ahead in it.
    void RunBackup(bool release);
    // Where the file dialogs start: the folder of the current project, if it has one.
    QString DialogStart() const;

    TForm1& window_;
    cProject& project_;
    platform::FileSystem& fs_;
    const cTextFormats& formats_;
    cUserDialogs& dialogs_;
};

}  // namespace trx

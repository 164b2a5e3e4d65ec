// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/extra/TQVUpdate.h"
#include "ui/main/MainWindowServices.h"

#include <QMainWindow>
#include <memory>

class QAction;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace trx {

class cExtrasCommands;
class cProject;
class cProjectCommands;
class TDirectoryTree;
class TForm2;
class TForm3;
class TForm4;
class TForm5;
class TFrame_FileFilter;
class TFrame_Options;
class TVersionSettingsBox;
class TInfo;
class TProtocolTab;

// The main window of an interactive start: it edits the project it is given in place. The directory tree
// is TDirectoryTree, the commands of the menu "Datei" are cProjectCommands, the menus "Extras" and "?"
// and the buttons "Einstellungen" and "Im Explorer öffnen" are cExtrasCommands, the tab "Protokoll" is
// TProtocolTab; this class lays out the window and routes its events.
class TForm1 : public QMainWindow {
    Q_OBJECT

public:
    // Starts a new, unsaved project and, as its very last step, asks the update library (which may end
    // the process through `services.Desktop`). The dialogs come afterwards with CreateDialogs. The
    // window and its dialogs ask every question through `services.Dialogs`; tests hand in stand-ins.
    TForm1(cProject& project, const cMainWindowServices& services, QWidget* parent = nullptr);
    ~TForm1() override;

    // Creates the dialogs of an interactive start once, in start-up order, owned by this window: the
    // shortcut dialog, the add-directory chooser, the element settings dialog, the about box and, last,
    // the run window, which carries out the after-finishing actions and makes "Backup starten" and "Im
    // Explorer öffnen" usable.
    void CreateDialogs();
    TForm3* ShortcutDialog() const { return shortcutDialog_; }
    TForm4* AddDirectoryChooser() const { return chooser_; }
    TForm5* ElementSettingsDialog() const { return settingsDialog_; }
    TInfo* AboutDialog() const { return aboutDialog_; }
    TForm2* RunWindow() const { return runWindow_; }

    cProjectCommands& Commands() { return *commands_; }
    cExtrasCommands& Extras() { return *extras_; }

    // Sets ProjectPath and the caption: "Tresorix", or "Tresorix - [<path>]" for a saved project, and
    // shows or hides the tab "Protokoll" for it.
    void SetProjectPath(const QString& path);

    // The buttons beside the tree. The three folder-browser buttons share one handler.
    void Button_AddDirClick(QPushButton* sender);
    void Button_EditDirClick();
    void Button_DelDirClick();
    // Enables the buttons that need a marked node; "Einstellungen" only while no destination is marked.
    void UpdateButtons();

    TQVUpdate QVUpdate;  // asks the update library at start and on Ctrl+U

    QTabWidget* PageControl = nullptr;
    QWidget* TabSheet_Dirs = nullptr;
    QWidget* TabSheet_Filter = nullptr;
    QWidget* TabSheet_DefOptions = nullptr;
    QWidget* TabSheet_Description = nullptr;
    TProtocolTab* TabSheet_Protocol = nullptr;  // in the tab row only while the project has a protocol

    TDirectoryTree* TreeView_Dirs = nullptr;
    QPushButton* Button_AddDest = nullptr;
    QPushButton* Button_AddSource = nullptr;
    QPushButton* Button_ChangeDir = nullptr;
    QPushButton* Button_EditDir = nullptr;
    QPushButton* Button_Settings = nullptr;
    QPushButton* Button_Explorer = nullptr;
    QPushButton* Button_DelDir = nullptr;
    QPushButton* Button_Preview = nullptr;      // "Vorschau", as the menu entry
    QPushButton* Button_StartBackup = nullptr;  // "Backup starten", as the menu entry

    TFrame_FileFilter* Frame_FileFilterIn = nullptr;
    TFrame_FileFilter* Frame_FileFilterOut = nullptr;
    TFrame_Options* Frame_DefOptions = nullptr;
    TVersionSettingsBox* Box_Versions = nullptr;  // the project's earlier versions
    QLineEdit* Edit_Description = nullptr;
    QPlainTextEdit* Memo_Comments = nullptr;

    QMenu* Menu_File = nullptr;
    QMenu* Menu_Extras = nullptr;
    QMenu* Menu_Help = nullptr;  // "?"
    QAction* Action_New = nullptr;
    QAction* Action_Open = nullptr;
    QAction* Action_Save = nullptr;
    QAction* Action_SaveAs = nullptr;
    QAction* Action_StartBackup = nullptr;
    QAction* Action_Preview = nullptr;  // "Vorschau" (Shift+F5)
    QAction* Action_Quit = nullptr;
    QAction* Action_CreateShortcut = nullptr;
    QAction* Action_RecatalogueAll = nullptr;
    QAction* Action_RecatalogueMarked = nullptr;
    QAction* Action_Info = nullptr;

protected:
    // A program icon set after the window was made reaches the filter editors too.
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // Closing asks the save question; Cancel keeps the window open.
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void BuildMenu();
    QWidget* BuildDirectoryPage();
    QWidget* BuildFilterPage();
    QWidget* BuildOptionsPage();
    QWidget* BuildDescriptionPage();

    cProject& project_;
    const cMainWindowServices services_;
    std::unique_ptr<cProjectCommands> commands_;
    std::unique_ptr<cExtrasCommands> extras_;
    TForm3* shortcutDialog_ = nullptr;
    TForm4* chooser_ = nullptr;
    TForm5* settingsDialog_ = nullptr;
    TInfo* aboutDialog_ = nullptr;
    TForm2* runWindow_ = nullptr;
    bool centred_ = false;
};

}  // namespace trx

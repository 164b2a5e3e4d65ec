// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

class QAction;

namespace trx {

class cBackUpSource;
class cCommandLauncher;
class cProject;
class cProjectCommands;
class cUserDialogs;
class TForm1;
struct TForm5Owner;

// The smaller commands of the main window: the menu "Extras" (a launcher for the project, new catalogues
// for all or the marked sources), the menu "?" with the about box, and the buttons "Einstellungen" and
// "Im Explorer öffnen" beside the tree. The dialogs they show are the ones the window created once at
// start; before that these commands do nothing.
class cExtrasCommands {
public:
    // `dialogs` asks the commands' questions, `launcher` opens the folders of "Im Explorer öffnen"; both
    // outlive the commands.
    cExtrasCommands(TForm1& window, cProject& project, cProjectCommands& commands, cUserDialogs& dialogs,
                    cCommandLauncher& launcher);

    // Fills the window's menus "Extras" and "?" and makes them visible. Called once by the window.
    void BuildMenus();
    // The menu "Extras" opens: a catalogue item is usable only where there is a catalogue to clear.
    void Menu_ExtrasPopup();
    // True when some source of the project has a catalogue (TotalSize not 0).
    bool AnyCatalogue() const;
    // True when some marked node is a source with a catalogue; marked destinations do not count.
    bool AnyMarkedCatalogue() const;

    // "Projektverknüpfung anlegen": an unsaved project is saved first, if the user agrees.
    void Action_CreateShortcutClick();
    // Both catalogue items: clears the catalogue of every source, or of every marked source, and tells
    // the user that the next run catalogues anew. In memory only; the next save writes it.
    void Action_RecatalogueClick(QAction* sender);
    // "Frühere Versionen …": the window of kept versions, showing the destination of the marked node first.
    void Action_VersionsClick();
    // "Info": the about box with the program's title and "2006".
    void Action_InfoClick();
    // "Einstellungen": the element settings dialog for the marked sources, or the tab of the default
    // settings when nothing is marked. Does nothing while a destination is marked.
    void Button_SettingsClick();
    // "Im Explorer öffnen": one file-manager window per marked node, in selection order, once the window
    // has its dialogs; failures are not reported.
    void Button_ExplorerClick();

    // What the element settings dialog asks of the window: taking and showing the default settings, and
    // the tree's icon of an element.
    TForm5Owner ElementSettingsOwner();

private:
    // The sources of the marked nodes in selection order, and every source of the tree in tree order.
    std::vector<cBackUpSource*> MarkedSources() const;
    std::vector<cBackUpSource*> SourcesInTreeOrder() const;

    TForm1& window_;
    cProject& project_;
    cProjectCommands& commands_;
    cUserDialogs& dialogs_;
    cCommandLauncher& launcher_;

public:
    QAction* Action_Versions = nullptr;  // in the menu "Extras"
};

}  // namespace trx

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main/ExtrasCommands.h"

#include "model/BackUpDestination.h"
#include "model/BackUpSource.h"
#include "model/Project.h"
#include "ui/common/ApplicationTitle.h"
#include "ui/common/ModelText.h"
#include "ui/editors/TForm5.h"
#include "ui/editors/TFrame_FileFilter.h"
#include "ui/editors/TFrame_Options.h"
#include "ui/main/DirectoryTree.h"
#include "ui/main/ProjectCommands.h"
#include "ui/main/TForm1.h"
#include "ui/main/TVersionsWindow.h"
#include "ui/main/UserDialogs.h"
#include "ui/run/CommandLauncher.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QTabWidget>
#include <QTreeWidgetItemIterator>
#include <algorithm>

namespace trx {

namespace {

bool HasCatalogue(const cBackUpSource* source) {
    return source != nullptr && source->TotalSize != 0;
}

QAction* Item(QMenu* menu, const QString& caption, const char* name) {
    QAction* item = menu->addAction(caption);
    item->setObjectName(QString::fromLatin1(name));
    return item;
}

}  // namespace

cExtrasCommands::cExtrasCommands(TForm1& window, cProject& project, cProjectCommands& commands,
                                 cUserDialogs& dialogs, cCommandLauncher& launcher)
    : window_(window), project_(project), commands_(commands), dialogs_(dialogs), launcher_(launcher) {
}

void cExtrasCommands::BuildMenus() {
    TForm1& w = window_;
    w.Action_CreateShortcut =
        Item(w.Menu_Extras, QStringLiteral("Projektverknüpfung anlegen"), "Action_CreateShortcut");
    w.Menu_Extras->addSeparator();
    w.Action_RecatalogueAll = Item(
        w.Menu_Extras, QStringLiteral("Alle Verzeichnisse beim nächsten Backup-Vorgang neu katalogisieren"),
        "Action_RecatalogueAll");
    w.Action_RecatalogueMarked =
        Item(w.Menu_Extras,
             QStringLiteral("Markierte Verzeichnisse beim nächsten Backup-Vorgang neu katalogisieren"),
             "Action_RecatalogueMarked");
    w.Menu_Extras->addSeparator();
    Action_Versions = Item(w.Menu_Extras, QStringLiteral("Frühere Versionen …"), "Action_Versions");
    w.Action_Info = Item(w.Menu_Help, QStringLiteral("Info"), "Action_Info");

    QObject::connect(w.Menu_Extras, &QMenu::aboutToShow, &w, [this] { Menu_ExtrasPopup(); });
    QObject::connect(w.Action_CreateShortcut, &QAction::triggered, &w,
                     [this] { Action_CreateShortcutClick(); });
    for (QAction* item : {w.Action_RecatalogueAll, w.Action_RecatalogueMarked}) {
        QObject::connect(item, &QAction::triggered, &w, [this, item] { Action_RecatalogueClick(item); });
    }
    QObject::connect(w.Action_Info, &QAction::triggered, &w, [this] { Action_InfoClick(); });
    QObject::connect(Action_Versions, &QAction::triggered, &w, [this] { Action_VersionsClick(); });
    w.Menu_Extras->menuAction()->setVisible(true);
    w.Menu_Help->menuAction()->setVisible(true);
    Menu_ExtrasPopup();
}

void cExtrasCommands::Menu_ExtrasPopup() {
    window_.Action_RecatalogueAll->setEnabled(AnyCatalogue());
    window_.Action_RecatalogueMarked->setEnabled(AnyMarkedCatalogue());
    Action_Versions->setEnabled(!project_.Destinations.Empty());
}

void cExtrasCommands::Action_VersionsClick() {
    int shown = 0;
    const QList<TDirNode*> marked = window_.TreeView_Dirs->SelectedNodes();
    if (!marked.empty() && marked.front()->Destination != nullptr) {
        shown = std::max(0, project_.Destinations.IndexOf(marked.front()->Destination));
    }
    TVersionsWindow versions(project_, commands_.Fs(), dialogs_, shown, &window_);
    dialogs_.Execute(versions);
}

bool cExtrasCommands::AnyCatalogue() const {
    for (const cBackUpDestination* destination : project_.Destinations) {
        if (std::any_of(destination->Sources.begin(), destination->Sources.end(), HasCatalogue)) {
            return true;
        }
    }
    return false;
}

bool cExtrasCommands::AnyMarkedCatalogue() const {
    const std::vector<cBackUpSource*> marked = MarkedSources();
    return std::any_of(marked.begin(), marked.end(), HasCatalogue);
}

void cExtrasCommands::Action_CreateShortcutClick() {
    TForm3* dialog = window_.ShortcutDialog();
    if (dialog == nullptr) {
        return;
    }
    if (project_.ProjectPath.empty()) {
        const auto answer = dialogs_.Ask(
            &window_, QMessageBox::Question, QStringLiteral("Projekt speichern"),
            QStringLiteral("Das Projekt muss gespeichert werden, bevor Sie eine Verknüpfung anlegen können. "
                           "Möchten Sie das Projekt jetzt speichern?"),
            QMessageBox::Yes | QMessageBox::No);
        if (answer != QMessageBox::Yes || !commands_.Save()) {
            return;
        }
    }
    dialogs_.ExecuteShortcutDialog(*dialog, FromModel(project_.ProjectPath),
                                   window_.Edit_Description->text());
}

void cExtrasCommands::Action_RecatalogueClick(QAction* sender) {
    if (sender == window_.Action_RecatalogueAll) {
        for (cBackUpDestination* destination : project_.Destinations) {
            for (cBackUpSource* source : destination->Sources) {
                source->ClearCatalogue();
            }
        }
    } else if (sender == window_.Action_RecatalogueMarked) {
        for (cBackUpSource* source : MarkedSources()) {
            source->ClearCatalogue();
        }
    } else {
        return;
    }
    dialogs_.Ask(&window_, QMessageBox::Information, QStringLiteral("Dateikatalog gelöscht"),
                 QStringLiteral("Der alte Dateikatalog wurde gelöscht.\n"
                                "Die Verzeichnisse werden beim nächsten Backup-Vorgang neu katalogisiert.\n"
                                "Alte Dateien werden dabei aus den Zielverzeichnissen nicht gelöscht."),
                 QMessageBox::Ok);
}

void cExtrasCommands::Action_InfoClick() {
    if (TInfo* dialog = window_.AboutDialog()) {
        dialogs_.ShowAbout(*dialog, kApplicationTitle, QStringLiteral("2006"));
    }
}

void cExtrasCommands::Button_SettingsClick() {
    const QList<TDirNode*> marked = window_.TreeView_Dirs->SelectedNodes();
    if (marked.isEmpty()) {
        window_.PageControl->setCurrentWidget(window_.TabSheet_DefOptions);
        return;
    }
    TForm5* dialog = window_.ElementSettingsDialog();
    // The dialog edits sources only; the button is disabled while a destination is marked.
    if (dialog == nullptr || std::any_of(marked.begin(), marked.end(),
                                         [](const TDirNode* node) { return node->Source == nullptr; })) {
        return;
    }
    dialogs_.ExecuteElementSettings(*dialog, project_, MarkedSources(), SourcesInTreeOrder());
}

void cExtrasCommands::Button_ExplorerClick() {
    if (window_.RunWindow() == nullptr) {
        return;
    }
    for (const TDirNode* node : window_.TreeView_Dirs->SelectedNodes()) {
        launcher_.Open(FromModel(node->Path()), {});
    }
}

TForm5Owner cExtrasCommands::ElementSettingsOwner() {
    TForm5Owner owner;
    owner.TakeDefaults = [this] { commands_.TakeWindowState(); };
    owner.ShowDefaults = [this] {
        const cBackUpOptions& defaults = project_.DefaultOptions;
        window_.Frame_FileFilterIn->SetFilter(defaults.Filters[0]);
        window_.Frame_FileFilterOut->SetFilter(defaults.Filters[1]);
        window_.Frame_DefOptions->SetOptions(defaults);
    };
    owner.ElementIcon = [this](const cBackUpSource& element) {
        TDirectoryTree* tree = window_.TreeView_Dirs;
        for (QTreeWidgetItemIterator it(tree); *it != nullptr; ++it) {
            auto* node = static_cast<TDirNode*>(*it);
            if (node->Source == &element) {
                if (!node->IconFetched()) {
                    tree->FetchIcon(node);
                }
                return node->icon(0);
            }
        }
        return QIcon();
    };
    return owner;
}

std::vector<cBackUpSource*> cExtrasCommands::MarkedSources() const {
    std::vector<cBackUpSource*> sources;
    for (const TDirNode* node : window_.TreeView_Dirs->SelectedNodes()) {
        if (node->Source != nullptr) {
            sources.push_back(node->Source);
        }
    }
    return sources;
}

std::vector<cBackUpSource*> cExtrasCommands::SourcesInTreeOrder() const {
    std::vector<cBackUpSource*> sources;
    for (QTreeWidgetItemIterator it(window_.TreeView_Dirs); *it != nullptr; ++it) {
        if (cBackUpSource* source = static_cast<TDirNode*>(*it)->Source) {
            sources.push_back(source);
        }
    }
    return sources;
}

}  // namespace trx

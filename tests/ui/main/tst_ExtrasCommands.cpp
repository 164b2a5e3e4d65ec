// SPDX-License-Identifier: GPL-3.0-or-later
// The menus "Extras" and "?" and the buttons "Einstellungen" and "Im Explorer öffnen": which catalogue
// items are usable, what clearing a catalogue leaves behind in the project file, the save question before
// a launcher is made, and that each command reaches its dialog (or the launcher) with the right things.
#include "MainWindowTestSupport.h"
#include "model/BackUpOptions.h"
#include "model/ProjectFile.h"
#include "platform/PosixFileSystem.h"
#include "ui/editors/TFrame_FileFilter.h"
#include "ui/editors/TFrame_Options.h"
#include "ui/extra/ApplicationIcon.h"
#include "ui/main/ExtrasCommands.h"
#include "ui/main/ProjectCommands.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QTabWidget>
#include <QTreeWidget>

using namespace trx;
using trx::test::MainWindowFixture;
using trx::test::Q;
using trx::test::WhenModal;

namespace {

const QString kClearedText = QStringLiteral(
    "Der alte Dateikatalog wurde gelöscht.\n"
    "Die Verzeichnisse werden beim nächsten Backup-Vorgang neu katalogisiert.\n"
    "Alte Dateien werden dabei aus den Zielverzeichnissen nicht gelöscht.");

// Gives `source` a catalogue as a run would leave it: a file at its top and one in a sub-directory.
void Catalogue(cBackUpSource& source, std::uint64_t totalSize) {
    source.Catalogue.Files = {"BRIEF.TXT"};
    source.Catalogue.GetChild("Alt")->Files = {"ALT.TXT"};
    source.TotalSize = totalSize;
}

bool HasNoCatalogue(const cBackUpSource& source) {
    return source.TotalSize == 0 && source.Catalogue.Files.empty() && source.Catalogue.SubDirs.Count() == 0;
}

// A main window with its dialogs, over the project /ziel-a/ (sources /a1/ with a catalogue, /a2/
// without) and /ziel-b/ (source /b1/ with a catalogue), opened from a file as the user would.
struct ExtrasFixture : MainWindowFixture {
    ExtrasFixture() {
        window.CreateDialogs();
        cProject saved;
        auto* a = new cBackUpDestination(saved, "/ziel-a/");
        Catalogue(*new cBackUpSource("/a1/", *a), 100);
        new cBackUpSource("/a2/", *a);
        auto* b = new cBackUpDestination(saved, "/ziel-b/");
        Catalogue(*new cBackUpSource("/b1/", *b), 200);
        SaveProject(saved, path, fs);
        window.Commands().OpenProject(Q(path));
    }

    cBackUpSource* Source(const std::string& sourcePath) { return Node(sourcePath)->Source; }
    // Marks the nodes in the given order.
    void Mark(std::initializer_list<const char*> paths) {
        Tree().clearSelection();
        for (const char* nodePath : paths) {
            Node(nodePath)->setSelected(true);
        }
    }
    // The menu "Extras" opens; true for each catalogue item that is usable then.
    std::pair<bool, bool> CatalogueItemsOnOpening() {
        emit window.Menu_Extras->aboutToShow();
        return {window.Action_RecatalogueAll->isEnabled(), window.Action_RecatalogueMarked->isEnabled()};
    }

    platform::PosixFileSystem fs;
    const std::string path = tmp / "Projekt.buf";
};

using Items = std::pair<bool, bool>;

}  // namespace

class TestExtrasCommands : public QObject {
    Q_OBJECT

private slots:
    void theMenusHoldTheExtrasAndTheAboutBox() {
        MainWindowFixture f;
        QStringList items;
        for (const QAction* action : f.window.Menu_Extras->actions()) {
            items.append(action->isSeparator() ? QStringLiteral("-") : action->text());
        }
        QCOMPARE(items,
                 (QStringList{"Projektverknüpfung anlegen", "-",
                              "Alle Verzeichnisse beim nächsten Backup-Vorgang neu katalogisieren",
                              "Markierte Verzeichnisse beim nächsten Backup-Vorgang neu katalogisieren", "-",
                              "Frühere Versionen …"}));
        QCOMPARE(f.window.Menu_Help->actions().size(), 1);
        QCOMPARE(f.window.Menu_Help->actions()[0]->text(), QStringLiteral("Info"));
        QVERIFY(f.window.Menu_Extras->menuAction()->isVisible());
        QVERIFY(f.window.Menu_Help->menuAction()->isVisible());
    }

    void theCatalogueItemsAreUsableOnlyWhereACatalogueIsLeft() {
        // A new project, and a loaded one whose sources were never backed up.
        MainWindowFixture fresh;
        emit fresh.window.Menu_Extras->aboutToShow();
        QVERIFY(!fresh.window.Action_RecatalogueAll->isEnabled());
        QVERIFY(!fresh.window.Action_RecatalogueMarked->isEnabled());
        const std::string neverRun = fresh.tmp / "nie.buf";
        {
            cProject saved;
            new cBackUpSource("/q/", *new cBackUpDestination(saved, "/z/"));
            platform::PosixFileSystem fs;
            SaveProject(saved, neverRun, fs);
        }
        fresh.window.Commands().OpenProject(Q(neverRun));
        fresh.Tree().SelectOnly(fresh.Node("/q/"));
        emit fresh.window.Menu_Extras->aboutToShow();
        QVERIFY(!fresh.window.Action_RecatalogueAll->isEnabled());
        QVERIFY(!fresh.window.Action_RecatalogueMarked->isEnabled());

        ExtrasFixture f;
        f.Mark({});
        QCOMPARE(f.CatalogueItemsOnOpening(), Items(true, false));
        // A marked destination does not stand for its sources, whatever their catalogues.
        f.Mark({"/ziel-a/"});
        QCOMPARE(f.CatalogueItemsOnOpening(), Items(true, false));
        f.Mark({"/ziel-a/", "/a2/"});
        QCOMPARE(f.CatalogueItemsOnOpening(), Items(true, false));
        f.Mark({"/ziel-a/", "/a1/"});
        QCOMPARE(f.CatalogueItemsOnOpening(), Items(true, true));
        // The states follow the model each time the menu opens, not when the selection changes.
        f.Source("/a1/")->TotalSize = 0;
        f.Source("/b1/")->TotalSize = 0;
        QVERIFY(f.window.Action_RecatalogueAll->isEnabled());
        QCOMPARE(f.CatalogueItemsOnOpening(), Items(false, false));
    }

    void clearingTheMarkedCataloguesLeavesEveryOtherSourceAlone() {
        ExtrasFixture f;
        f.Mark({"/ziel-a/", "/a1/"});
        QCOMPARE(f.CatalogueItemsOnOpening(), Items(true, true));
        f.window.Action_RecatalogueMarked->trigger();
        QVERIFY(HasNoCatalogue(*f.Source("/a1/")));
        QCOMPARE(f.Source("/b1/")->TotalSize, std::uint64_t{200});
        QCOMPARE(f.Source("/b1/")->Catalogue.SubDirs.Count(), 1);
        QCOMPARE(f.dialogs.Asked.size(), 1);
        QCOMPARE(f.dialogs.Asked[0].icon, QMessageBox::Information);
        QCOMPARE(f.dialogs.Asked[0].caption, QStringLiteral("Dateikatalog gelöscht"));
        QCOMPARE(f.dialogs.Asked[0].text, kClearedText);
        QCOMPARE(f.dialogs.Asked[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        // Nothing is written until the user saves.
        {
            cProject onDisk;
            LoadProject(onDisk, f.path, f.fs);
            QCOMPARE(onDisk.Destinations[0]->Sources[0]->TotalSize, std::uint64_t{100});
        }

        // Saved and opened again: the cleared source comes back without catalogue, the other with its.
        f.window.Action_Save->trigger();
        QVERIFY(f.dialogs.Errors.isEmpty());
        f.dialogs.Answers = {QMessageBox::No};
        f.dialogs.OpenAnswers = {Q(f.path)};
        f.window.Action_Open->trigger();
        QVERIFY(HasNoCatalogue(*f.Source("/a1/")));
        QCOMPARE(f.Source("/b1/")->TotalSize, std::uint64_t{200});
        QCOMPARE(f.Source("/b1/")->Catalogue.Files, std::vector<std::string>{"BRIEF.TXT"});
        QCOMPARE(f.Source("/b1/")->Catalogue.GetChild("Alt")->Files, std::vector<std::string>{"ALT.TXT"});
        f.Mark({"/a1/"});
        QCOMPARE(f.CatalogueItemsOnOpening(), Items(true, false));
    }

    void clearingAllCataloguesReachesEverySourceOfEveryDestination() {
        ExtrasFixture f;
        f.Mark({"/a2/"});  // the marking plays no part
        QCOMPARE(f.CatalogueItemsOnOpening(), Items(true, false));
        f.window.Action_RecatalogueAll->trigger();
        for (const char* source : {"/a1/", "/a2/", "/b1/"}) {
            QVERIFY2(HasNoCatalogue(*f.Source(source)), source);
        }
        QCOMPARE(f.dialogs.Captions(), QStringList{"Dateikatalog gelöscht"});
        QCOMPARE(f.CatalogueItemsOnOpening(), Items(false, false));
        f.window.Action_Save->trigger();
        cProject onDisk;
        LoadProject(onDisk, f.path, f.fs);
        for (const cBackUpDestination* destination : onDisk.Destinations) {
            for (const cBackUpSource* source : destination->Sources) {
                QVERIFY2(HasNoCatalogue(*source), source->Path.c_str());
            }
        }
    }

    void aLauncherIsMadeOnlyForASavedProject() {
        MainWindowFixture f;
        f.window.CreateDialogs();
        f.window.Edit_Description->setText(QStringLiteral("Wöchentlich"));

        // Unsaved, No: nothing happens.
        f.dialogs.Answers = {QMessageBox::No};
        f.window.Action_CreateShortcut->trigger();
        QCOMPARE(f.dialogs.Asked.size(), 1);
        QCOMPARE(f.dialogs.Asked[0].icon, QMessageBox::Question);
        QCOMPARE(f.dialogs.Asked[0].caption, QStringLiteral("Projekt speichern"));
        QCOMPARE(f.dialogs.Asked[0].text,
                 QStringLiteral("Das Projekt muss gespeichert werden, bevor Sie eine Verknüpfung anlegen "
                                "können. Möchten Sie das Projekt jetzt speichern?"));
        QCOMPARE(f.dialogs.Asked[0].buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(f.dialogs.SaveDialogs, 0);
        QVERIFY(f.dialogs.Shortcuts.isEmpty());
        QVERIFY(f.project.ProjectPath.empty());

        // Yes, then the save dialog cancelled: nothing either.
        f.dialogs.Answers = {QMessageBox::Yes};
        f.window.Action_CreateShortcut->trigger();
        QCOMPARE(f.dialogs.SaveDialogs, 1);
        QVERIFY(f.dialogs.Shortcuts.isEmpty());

        // Yes, and the save fails: the user is told, and the command stops there.
        f.dialogs.Answers = {QMessageBox::Yes};
        f.dialogs.SaveAnswers = {Q(f.tmp / "fehlt/Täglich.buf")};
        f.window.Action_CreateShortcut->trigger();
        QCOMPARE(f.dialogs.Errors.size(), 1);
        QVERIFY(f.dialogs.Shortcuts.isEmpty());
        QVERIFY(f.project.ProjectPath.empty());

        // Yes and saved: the dialog follows for the new path and the label as it is being edited.
        const std::string path = f.tmp / "Täglich.buf";
        f.dialogs.Answers = {QMessageBox::Yes};
        f.dialogs.SaveAnswers = {Q(path)};
        f.window.Action_CreateShortcut->trigger();
        QVERIFY(f.tmp.Exists("Täglich.buf"));
        QCOMPARE(f.dialogs.Shortcuts.size(), 1);
        QCOMPARE(f.dialogs.Shortcuts[0].dialog, f.window.ShortcutDialog());
        QCOMPARE(f.dialogs.Shortcuts[0].first, Q(path));
        QCOMPARE(f.dialogs.Shortcuts[0].second, QStringLiteral("Wöchentlich"));

        // A saved project is not saved again and not asked about.
        const auto asked = f.dialogs.Asked.size();
        f.window.Edit_Description->setText(QStringLiteral("Neu"));
        f.window.Action_CreateShortcut->trigger();
        QCOMPARE(f.dialogs.Asked.size(), asked);
        QCOMPARE(f.dialogs.SaveDialogs, 3);
        QCOMPARE(f.dialogs.Shortcuts.size(), 2);
        QCOMPARE(f.dialogs.Shortcuts[1].second, QStringLiteral("Neu"));
        cProject onDisk;
        platform::PosixFileSystem fs;
        LoadProject(onDisk, path, fs);
        QCOMPARE(onDisk.Description, std::string("Wöchentlich"));
    }

    void theRealShortcutDialogOpensForTheProject() {
        MainWindowFixture f;
        f.window.CreateDialogs();
        const std::string path = f.tmp / "Daily.BUF";
        f.dialogs.SaveAnswers = {Q(path)};
        f.window.Action_SaveAs->trigger();
        f.window.Edit_Description->setText(QStringLiteral("Weekly"));
        f.dialogs.RealShortcutDialog = true;
        TForm3* dialog = f.window.ShortcutDialog();
        QString name;
        QString description;
        WhenModal(dialog, [&] {
            name = dialog->Edit_LinkName->text();
            description = dialog->Edit_Description->text();
            dialog->reject();
        });
        f.window.Action_CreateShortcut->trigger();
        QCOMPARE(name, QStringLiteral("Daily"));
        QCOMPARE(description, QStringLiteral("Tresorix-Projekt \"Weekly\""));
    }

    void settingsWithNothingMarkedShowTheDefaultSettings() {
        ExtrasFixture f;
        f.Mark({});
        QVERIFY(f.window.Button_Settings->isEnabled());
        f.window.Button_Settings->click();
        QCOMPARE(f.window.PageControl->currentWidget(), f.window.TabSheet_DefOptions);
        QVERIFY(f.dialogs.ElementSettings.isEmpty());
    }

    void settingsHandTheMarkedSourcesToTheDialog() {
        ExtrasFixture f;
        f.Mark({"/b1/", "/a1/"});
        f.window.Button_Settings->click();
        QCOMPARE(f.dialogs.ElementSettings.size(), 1);
        const test::DialogShowing& showing = f.dialogs.ElementSettings[0];
        QCOMPARE(showing.dialog, f.window.ElementSettingsDialog());
        QCOMPARE(showing.selected, (std::vector<cBackUpSource*>{f.Source("/b1/"), f.Source("/a1/")}));
        QCOMPARE(showing.sourcesInTreeOrder,
                 (std::vector<cBackUpSource*>{f.Source("/a1/"), f.Source("/a2/"), f.Source("/b1/")}));
        QCOMPARE(f.window.PageControl->currentIndex(), 0);

        // A marked destination keeps the dialog shut, also when the handler is reached directly.
        f.Mark({"/ziel-a/", "/a1/"});
        QVERIFY(!f.window.Button_Settings->isEnabled());
        f.window.Extras().Button_SettingsClick();
        QCOMPARE(f.dialogs.ElementSettings.size(), 1);
    }

    void theDefaultGroupIsEditedWithTheWindowsUnsavedSettings() {
        ExtrasFixture f;
        // Edited on the tabs, not saved: the dialog shows it and its OK keeps it.
        f.window.Frame_DefOptions->CheckBox_SubFolders->setChecked(false);
        f.window.Frame_FileFilterOut->Edit_Mask->setText(QStringLiteral("*.tmp"));
        QVERIFY(f.project.DefaultOptions.SubFolders);
        bool shownSubFolders = true;
        QString shownMask;
        QStringList rows;
        int rowsWithIcons = 0;
        bool defaultsButton = true;
        f.dialogs.OnElementSettings = [&](TForm5& dialog) {
            dialog.FormShow();
            shownSubFolders = dialog.Frame_Options->CheckBox_SubFolders->isChecked();
            shownMask = dialog.Frame_FileFilter2->Edit_Mask->text();
            for (int i = 0; i < dialog.TreeView_EditElements->topLevelItemCount(); ++i) {
                const QTreeWidgetItem* row = dialog.TreeView_EditElements->topLevelItem(i);
                rows.append(row->text(0));
                rowsWithIcons += row->icon(0).isNull() ? 0 : 1;
            }
            defaultsButton = dialog.Button_DefSettings->isEnabled();
            dialog.Frame_Options->ComboBox_Protocol->setCurrentIndex(2);
            dialog.Button_OKClick();
            return dialog.result();
        };
        f.Mark({"/a1/", "/b1/"});
        f.window.Button_Settings->click();
        QVERIFY(!shownSubFolders);
        QCOMPARE(shownMask, QStringLiteral("*.tmp"));
        // Every source of the default group, in tree order, each with the tree's icon.
        QCOMPARE(rows, (QStringList{"/a1/", "/a2/", "/b1/"}));
        QCOMPARE(rowsWithIcons, 3);
        QVERIFY(!defaultsButton);  // the group already uses the defaults
        // The model took the window's edits and the dialog's; the window shows the result.
        QVERIFY(!f.project.DefaultOptions.SubFolders);
        QCOMPARE(f.project.DefaultOptions.Filters[1].Mask, std::string("*.tmp"));
        QCOMPARE(int{f.project.DefaultOptions.Protocol}, 2);
        QCOMPARE(f.window.Frame_DefOptions->ComboBox_Protocol->currentIndex(), 2);
        QVERIFY(!f.window.Frame_DefOptions->CheckBox_SubFolders->isChecked());
        QCOMPARE(f.window.Frame_FileFilterOut->Edit_Mask->text(), QStringLiteral("*.tmp"));
        for (const char* source : {"/a1/", "/a2/", "/b1/"}) {
            QCOMPARE(f.Source(source)->Options, &f.project.DefaultOptions);
        }

        // The edit survives a save.
        f.window.Action_Save->trigger();
        cProject onDisk;
        LoadProject(onDisk, f.path, f.fs);
        QCOMPARE(int{onDisk.DefaultOptions.Protocol}, 2);
        QVERIFY(!onDisk.DefaultOptions.SubFolders);
    }

    void aSelectionOfItsOwnLeavesTheDefaultsAsTheWindowShowsThem() {
        ExtrasFixture f;
        f.window.Frame_DefOptions->CheckBox_OnlyNewFiles->setChecked(false);  // unsaved
        f.dialogs.OnElementSettings = [](TForm5& dialog) {
            dialog.FormShow();
            dialog.Button_ChangeElementsClick();  // "Nur kursiv dargestellte Elemente bearbeiten"
            dialog.Frame_Options->CheckBox_DelDeletedFiles->setChecked(false);
            dialog.Button_OKClick();
            return dialog.result();
        };
        f.Mark({"/a2/"});
        f.window.Button_Settings->click();
        cBackUpOptions* own = f.Source("/a2/")->Options;
        QVERIFY(own != &f.project.DefaultOptions);
        QVERIFY(!own->DelDeletedFiles);
        QVERIFY(!own->OnlyNewFiles);  // started from what the window showed
        QVERIFY(f.project.DefaultOptions.DelDeletedFiles);
        QVERIFY(f.window.Frame_DefOptions->CheckBox_DelDeletedFiles->isChecked());
        QVERIFY(!f.window.Frame_DefOptions->CheckBox_OnlyNewFiles->isChecked());
        QCOMPARE(f.Source("/a1/")->Options, &f.project.DefaultOptions);
    }

    void theExplorerOpensOneWindowPerMarkedNodeInSelectionOrder() {
        ExtrasFixture f;
        f.Mark({"/b1/", "/ziel-a/", "/a2/"});
        QVERIFY(f.window.Button_Explorer->isEnabled());
        f.window.Button_Explorer->click();
        QCOMPARE(f.services.launcher.Items, (QStringList{"/b1/", "/ziel-a/", "/a2/"}));
        QCOMPARE(f.services.launcher.Arguments, (QList<QStringList>{{}, {}, {}}));

        // Without the dialogs of the start there is no launcher, and nothing opens.
        MainWindowFixture bare;
        bare.Tree().SelectOnly(bare.AddDestination("/z/"));
        bare.window.Button_Explorer->click();
        QVERIFY(bare.services.launcher.Items.isEmpty());
        QVERIFY(bare.dialogs.Asked.isEmpty());
    }

    void infoShowsTheAboutBoxWithTitleAndPeriod() {
        MainWindowFixture f;
        f.window.CreateDialogs();
        f.window.Action_Info->trigger();
        QCOMPARE(f.dialogs.Abouts.size(), 1);
        QCOMPARE(f.dialogs.Abouts[0].dialog, f.window.AboutDialog());
        QCOMPARE(f.dialogs.Abouts[0].first, QStringLiteral("Tresorix"));
        QCOMPARE(f.dialogs.Abouts[0].second, QStringLiteral("2006"));

        // The real box, modal over the window.
        f.dialogs.RealAboutBox = true;
        TInfo* box = f.window.AboutDialog();
        bool wasModal = false;
        WhenModal(box, [&] {
            wasModal = true;
            box->Button_OK->click();
        });
        f.window.Action_Info->trigger();
        QVERIFY(wasModal);
        QCOMPARE(box->Title(), QStringLiteral("Tresorix"));
        QCOMPARE(box->DevelopmentPeriod(), QStringLiteral("2006"));
        QVERIFY(!box->isVisible());
    }

    void theWindowAndItsFilterEditorsUseTheProgramsIcon() {
        const QIcon icon = ApplicationIcon();
        QVERIFY(!icon.isNull());
        {
            // Set after the window was made.
            MainWindowFixture f;
            QApplication::setWindowIcon(icon);
            QCOMPARE(f.window.windowIcon().cacheKey(), icon.cacheKey());
            QCOMPARE(f.window.Frame_FileFilterIn->MainIcon().cacheKey(), icon.cacheKey());
            QCOMPARE(f.window.Frame_FileFilterOut->MainIcon().cacheKey(), icon.cacheKey());
        }
        {
            // Set before.
            MainWindowFixture f;
            QCOMPARE(f.window.Frame_FileFilterIn->MainIcon().cacheKey(), icon.cacheKey());
            QCOMPARE(f.window.Frame_FileFilterOut->MainIcon().cacheKey(), icon.cacheKey());
        }
        QApplication::setWindowIcon(QIcon());
    }
};

QTEST_MAIN(TestExtrasCommands)
#include "tst_ExtrasCommands.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's layout and the commands of the menu "Datei": caption, save question, saving and
// opening (also of dropped files), failed loads and saves, closing, and the round trip of a project
// built in the window.
#include "MainWindowTestSupport.h"
#include "model/ProjectFile.h"
#include "model/ProjectFileError.h"
#include "platform/PosixFileSystem.h"
#include "ui/editors/TForm4.h"
#include "ui/editors/TFrame_FileFilter.h"
#include "ui/editors/TFrame_Options.h"
#include "ui/main/ProjectCommands.h"
#include "ui/run/TForm2.h"
#include "ui/shortcut/Shortcut.h"
#include "ui/shortcut/TForm3.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QUrl>

using namespace trx;
using trx::test::MainWindowFixture;
using trx::test::Q;
using trx::test::ReadWholeFile;
using trx::test::StartServices;

namespace {

// Writes a project with the given destinations (each with one source named after it) to `path`.
void WriteProject(const std::string& path, std::initializer_list<const char*> destinations) {
    cProject project;
    for (const char* name : destinations) {
        auto* destination = new cBackUpDestination(project, std::string("/") + name + "/");
        new cBackUpSource(std::string("/quelle-") + name + "/", *destination);
    }
    project.Description = destinations.size() > 0 ? *destinations.begin() : "";
    platform::PosixFileSystem fs;
    SaveProject(project, path, fs);
}

const QString kSaveQuestion = QStringLiteral("Möchten Sie das aktuelle Projekt vorher speichern?");

}  // namespace

class TestTForm1 : public QObject {
    Q_OBJECT

private slots:
    void theWindowHasItsTabsMenuAndNamedEditors() {
        MainWindowFixture f;
        TForm1& w = f.window;
        QCOMPARE(w.font(), QApplication::font());
        QCOMPARE(w.PageControl->count(), 4);
        QCOMPARE(w.PageControl->tabText(0), QStringLiteral("Verzeichnisauswahl"));
        QCOMPARE(w.PageControl->tabText(1), QStringLiteral("Filter"));
        QCOMPARE(w.PageControl->tabText(2), QStringLiteral("Standard-Einstellungen"));
        QCOMPARE(w.PageControl->tabText(3), QStringLiteral("Beschreibung"));
        QVERIFY(w.width() >= 553 && w.height() >= 528);  // its first size, larger in a large font
        for (const char* name : {"TreeView_Dirs", "Frame_FileFilterIn", "Frame_FileFilterOut",
                                 "Frame_DefOptions", "Edit_Description", "Memo_Comments", "Button_AddDest"}) {
            QVERIFY2(w.findChild<QWidget*>(QString::fromLatin1(name)) != nullptr, name);
        }
        QCOMPARE(w.Frame_FileFilterIn->RadioButton_AllNoTypes->text(), QStringLiteral("Alle Dateitypen"));
        QCOMPARE(w.Frame_FileFilterOut->RadioButton_AllNoTypes->text(), QStringLiteral("Keine Dateitypen"));
        QStringList groups;
        for (const QGroupBox* box : w.findChildren<QGroupBox*>()) {
            groups.append(box->title());
        }
        for (const char* title : {"Dateien einschließen", "Dateien ausschließen", "Standard-Einstellungen",
                                  "Projektbezeichnung und Kommentare"}) {
            QVERIFY2(groups.contains(QString::fromUtf8(title)), title);
        }

        QCOMPARE(w.Menu_File->title(), QStringLiteral("Datei"));
        QStringList items;
        for (const QAction* action : w.Menu_File->actions()) {
            items.append(action->isSeparator() ? QStringLiteral("-")
                                               : action->text() + u'|' + action->shortcut().toString());
        }
        QCOMPARE(items,
                 (QStringList{"Neu|Ctrl+N", "Öffnen|Ctrl+O", "Speichern |Ctrl+S", "Speichern unter|F12", "-",
                              "Backup starten|F5", "Vorschau|Shift+F5", "-", "Beenden|Alt+F4"}));
        QCOMPARE(w.Menu_Extras->title(), QStringLiteral("Extras"));
        QCOMPARE(w.Menu_Help->title(), QStringLiteral("?"));
        // Nothing to start before the run window exists; the buttons follow the menu entries.
        QVERIFY(!w.Action_StartBackup->isEnabled());
        QVERIFY(!w.Action_Preview->isEnabled());
        QVERIFY(!w.Button_StartBackup->isEnabled());
        QVERIFY(!w.Button_Preview->isEnabled());
        w.CreateDialogs();
        QVERIFY(w.Button_StartBackup->isEnabled());
        QVERIFY(w.Button_Preview->isEnabled());
    }

    void theDialogsAreCreatedOnceInStartUpOrder() {
        MainWindowFixture f;
        f.window.CreateDialogs();
        QVERIFY(f.window.ShortcutDialog() != nullptr);
        QVERIFY(f.window.AddDirectoryChooser() != nullptr);
        QVERIFY(f.window.ElementSettingsDialog() != nullptr);
        QVERIFY(f.window.AboutDialog() != nullptr);
        QVERIFY(f.window.RunWindow() != nullptr);
        const QObjectList children = f.window.children();
        const auto at = [&children](const QObject* dialog) { return children.indexOf(dialog); };
        QVERIFY(at(f.window.ShortcutDialog()) < at(f.window.AddDirectoryChooser()));
        QVERIFY(at(f.window.AddDirectoryChooser()) < at(f.window.ElementSettingsDialog()));
        QVERIFY(at(f.window.ElementSettingsDialog()) < at(f.window.AboutDialog()));
        QVERIFY(at(f.window.AboutDialog()) < at(f.window.RunWindow()));
        QCOMPARE(f.Tree().Chooser(), f.window.AddDirectoryChooser());
        QVERIFY(f.window.Action_StartBackup->isEnabled());
        TForm2* run = f.window.RunWindow();
        f.window.CreateDialogs();
        QCOMPARE(f.window.RunWindow(), run);
        QCOMPARE(f.window.findChildren<TForm2*>().size(), 1);
        QCOMPARE(f.window.findChildren<TForm5*>().size(), 1);
        QCOMPARE(f.window.findChildren<TInfo*>().size(), 1);
    }

    void startsAsANewUnsavedProject() {
        cProject project;
        new cBackUpDestination(project, "/alt/");
        project.ProjectPath = "/alt.buf";
        project.Description = "alt";
        project.DefaultOptions.SubFolders = false;
        StartServices services;
        cUserDialogs dialogs;
        TForm1 window(project, services.MainWindow(dialogs));
        QCOMPARE(window.windowTitle(), QStringLiteral("Tresorix"));
        QCOMPARE(project.Destinations.Count(), 0);
        QVERIFY(project.ProjectPath.empty());
        QVERIFY(project.Description.empty());
        QVERIFY(project.DefaultOptions.SubFolders);
        QCOMPARE(window.TreeView_Dirs->topLevelItemCount(), 0);
        QCOMPARE(window.PageControl->currentIndex(), 0);
    }

    void theCaptionNamesTheSavedProject() {
        MainWindowFixture f;
        f.window.SetProjectPath(QStringLiteral("/home/anna/Sicherung/Daten.buf"));
        QCOMPARE(f.window.windowTitle(), QStringLiteral("Tresorix - [/home/anna/Sicherung/Daten.buf]"));
        QCOMPARE(f.project.ProjectPath, std::string("/home/anna/Sicherung/Daten.buf"));

        const std::string path = f.tmp.MakeDir("P") + "A.buf";
        f.dialogs.SaveAnswers = {Q(path)};
        f.window.Action_SaveAs->trigger();
        QCOMPARE(f.window.windowTitle(), QStringLiteral("Tresorix - [") + Q(path) + u']');
        QVERIFY(f.tmp.Exists("P/A.buf"));

        f.dialogs.Answers = {QMessageBox::No};
        f.window.Action_New->trigger();
        QCOMPARE(f.window.windowTitle(), QStringLiteral("Tresorix"));
        QVERIFY(f.project.ProjectPath.empty());
    }

    void newAsksFirstAndYesSavesAnUnsavedProjectUnderAName() {
        MainWindowFixture f;
        f.AddDestination("/ziel/");
        f.window.Edit_Description->setText(QStringLiteral("Woche"));

        // Yes, then the save dialog cancelled: the project stays.
        f.dialogs.Answers = {QMessageBox::Yes};
        f.window.Action_New->trigger();
        QCOMPARE(f.dialogs.Asked.size(), 1);
        QCOMPARE(f.dialogs.Asked[0].caption, QStringLiteral("Projekt schließen"));
        QCOMPARE(f.dialogs.Asked[0].text, kSaveQuestion);
        QCOMPARE(f.dialogs.Asked[0].icon, QMessageBox::Question);
        QCOMPARE(f.dialogs.Asked[0].buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QCOMPARE(f.dialogs.SaveDialogs, 1);
        QCOMPARE(f.project.Destinations.Count(), 1);
        QCOMPARE(f.window.Edit_Description->text(), QStringLiteral("Woche"));

        // Cancel: nothing happens.
        f.dialogs.Answers = {QMessageBox::Cancel};
        f.window.Action_New->trigger();
        QCOMPARE(f.dialogs.SaveDialogs, 1);
        QCOMPARE(f.project.Destinations.Count(), 1);

        // Yes and a name: saved there, then the new project.
        const std::string path = f.tmp / "Woche.buf";
        f.dialogs.Answers = {QMessageBox::Yes};
        f.dialogs.SaveAnswers = {Q(path)};
        f.window.Action_New->trigger();
        cProject saved;
        platform::PosixFileSystem fs;
        LoadProject(saved, path, fs);
        QCOMPARE(saved.Destinations.Count(), 1);
        QCOMPARE(saved.Description, std::string("Woche"));
        QCOMPARE(f.project.Destinations.Count(), 0);
        QVERIFY(f.window.Edit_Description->text().isEmpty());
        QCOMPARE(f.window.windowTitle(), QStringLiteral("Tresorix"));
    }

    void aFailedSaveIsShownAndStopsThePendingCommand() {
        MainWindowFixture f;
        f.AddDestination("/ziel/");
        const std::string unreachable = f.tmp / "fehlt/A.buf";

        f.dialogs.SaveAnswers = {Q(unreachable)};
        QVERIFY(!f.window.Commands().SaveAs());
        QCOMPARE(f.dialogs.Errors,
                 QStringList{QStringLiteral("Das Projekt »%1« kann nicht gespeichert werden: %2")
                                 .arg(Q(unreachable), Q(messages::CannotCreateFile(unreachable)))});
        // The window keeps the path of the project as it was: nothing was written to the new one.
        QCOMPARE(f.window.windowTitle(), QStringLiteral("Tresorix"));
        QVERIFY(f.project.ProjectPath.empty());

        // Yes to the save question of "Neu", and the save fails: the project stays.
        f.dialogs.Answers = {QMessageBox::Yes};
        f.dialogs.SaveAnswers = {Q(unreachable)};
        f.window.Action_New->trigger();
        QCOMPARE(f.dialogs.Errors.size(), 2);
        QCOMPARE(f.project.Destinations.Count(), 1);
        QCOMPARE(f.Tree().topLevelItemCount(), 1);

        // "Speichern " to a path that has gone.
        f.window.SetProjectPath(Q(unreachable));
        f.window.Action_Save->trigger();
        QCOMPARE(f.dialogs.Errors.size(), 3);
        QCOMPARE(f.dialogs.SaveDialogs, 2);
    }

    void cancelInTheCloseQuestionKeepsTheWindowOpen() {
        MainWindowFixture f;
        f.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));
        f.dialogs.Answers = {QMessageBox::Cancel};
        QVERIFY(!f.window.close());
        QVERIFY(f.window.isVisible());
        QCOMPARE(f.dialogs.Captions(), QStringList{"Projekt schließen"});

        // Yes with a cancelled save dialog keeps it open as well.
        f.dialogs.Answers = {QMessageBox::Yes};
        f.window.Action_Quit->trigger();
        QVERIFY(f.window.isVisible());
        QCOMPARE(f.dialogs.SaveDialogs, 1);

        f.dialogs.Answers = {QMessageBox::No};
        f.window.Action_Quit->trigger();
        QVERIFY(!f.window.isVisible());
        QCOMPARE(f.dialogs.Asked.size(), 3);
    }

    void editsReachTheModelOnlyWhenTheWindowStateIsTaken() {
        MainWindowFixture f;
        TForm1& w = f.window;
        w.Edit_Description->setText(QStringLiteral("Bücher"));
        w.Memo_Comments->setPlainText(QStringLiteral("Zeile 1\nZeile 2"));
        w.Frame_FileFilterIn->Edit_Mask->setText(QStringLiteral("*.txt"));
        w.Frame_FileFilterOut->AddTypeItem(QStringLiteral("TMP"));
        w.Frame_FileFilterOut->RadioButton_DefTypes->setChecked(true);
        w.Frame_DefOptions->CheckBox_SubFolders->setChecked(false);
        QVERIFY(f.project.Description.empty());
        QVERIFY(f.project.DefaultOptions.Filters[0].Mask.empty());
        QVERIFY(f.project.DefaultOptions.SubFolders);

        const std::string path = f.tmp / "A.buf";
        f.dialogs.SaveAnswers = {Q(path)};
        w.Action_Save->trigger();
        QCOMPARE(f.project.Description, std::string("Bücher"));
        QCOMPARE(f.project.Comments, std::string("Zeile 1\r\nZeile 2"));
        QCOMPARE(f.project.DefaultOptions.Filters[0].Mask, std::string("*.txt"));
        QCOMPARE(f.project.DefaultOptions.Filters[1].Types, std::vector<std::string>{".TMP"});
        QVERIFY(!f.project.DefaultOptions.Filters[1].AllNoTypes);
        QVERIFY(!f.project.DefaultOptions.SubFolders);

        MainWindowFixture second;
        second.window.Commands().OpenProject(Q(path));
        QCOMPARE(second.window.Edit_Description->text(), QStringLiteral("Bücher"));
        QCOMPARE(second.window.Memo_Comments->toPlainText(), QStringLiteral("Zeile 1\nZeile 2"));
        QCOMPARE(second.window.Frame_FileFilterIn->Edit_Mask->text(), QStringLiteral("*.txt"));
        QCOMPARE(second.window.Frame_FileFilterOut->ListView_Types->topLevelItemCount(), 1);
        QVERIFY(!second.window.Frame_DefOptions->CheckBox_SubFolders->isChecked());
    }

    void openAsksFirstAndShowsTheLoadedProject() {
        MainWindowFixture f;
        const std::string path = f.tmp / "A.buf";
        WriteProject(path, {"a", "b"});
        f.window.PageControl->setCurrentIndex(3);

        f.dialogs.Answers = {QMessageBox::Cancel};
        f.window.Action_Open->trigger();
        QCOMPARE(f.dialogs.OpenDialogs, 0);

        f.dialogs.Answers = {QMessageBox::No};
        f.window.Action_Open->trigger();  // the open dialog cancelled
        QCOMPARE(f.dialogs.OpenDialogs, 1);
        QCOMPARE(f.project.Destinations.Count(), 0);

        f.dialogs.Answers = {QMessageBox::No};
        f.dialogs.OpenAnswers = {Q(path)};
        f.window.Action_Open->trigger();
        QCOMPARE(f.window.windowTitle(), QStringLiteral("Tresorix - [") + Q(path) + u']');
        QCOMPARE(f.ModelOutline(), (QStringList{"/a/", "  /quelle-a/", "/b/", "  /quelle-b/"}));
        QCOMPARE(f.TreeOutline(), f.ModelOutline());
        QCOMPARE(f.window.Edit_Description->text(), QStringLiteral("a"));
        QCOMPARE(f.window.PageControl->currentIndex(), 0);
        QVERIFY(f.dialogs.Errors.isEmpty());
    }

    void aFailedLoadIsShownOverExactlyWhatTheModelHolds() {
        MainWindowFixture f;
        const std::string good = f.tmp / "gut.buf";
        WriteProject(good, {"a", "b", "c"});
        const std::string content = ReadWholeFile(good);
        f.Tree().AddOrChange("/alt/", nullptr, nullptr, true);

        // At the moment the message shows, the tree must show what the model holds.
        QStringList treeWhileShown;
        QStringList modelWhileShown;
        f.dialogs.OnError = [&] {
            treeWhileShown = f.TreeOutline();
            modelWhileShown = f.ModelOutline();
        };

        // Cut off inside the destination list: the old destinations are gone, two of the new ones read.
        const std::string cut = f.tmp / "abgeschnitten.buf";
        const std::size_t third = content.find("/c/");
        f.tmp.WriteFile("abgeschnitten.buf", content.substr(0, third + 1));
        f.window.Commands().OpenProject(Q(cut));
        QCOMPARE(
            f.dialogs.Errors,
            QStringList{
                QStringLiteral("Das Projekt »%1« kann nicht geladen werden: Stream read error").arg(Q(cut))});
        QCOMPARE(f.window.windowTitle(), QStringLiteral("Tresorix - [") + Q(cut) + u']');
        QCOMPARE(modelWhileShown.mid(0, 4), (QStringList{"/a/", "  /quelle-a/", "/b/", "  /quelle-b/"}));
        QCOMPARE(treeWhileShown, modelWhileShown);

        // No list marker at the start: nothing of the model was destroyed.
        f.tmp.WriteFile("kaputt.buf", "X" + content.substr(1));
        const QStringList before = f.ModelOutline();
        f.window.Commands().OpenProject(Q(f.tmp / "kaputt.buf"));
        QVERIFY(f.dialogs.Errors.last().endsWith(
            QStringLiteral("kaputt.buf« kann nicht geladen werden: Invalid property value")));
        QCOMPARE(modelWhileShown, before);
        QCOMPARE(treeWhileShown, modelWhileShown);

        const std::string missing = f.tmp / "fehlt.buf";
        f.window.Commands().OpenProject(Q(missing));
        QCOMPARE(f.dialogs.Errors.last(), QStringLiteral("Das Projekt »%1« kann nicht geladen werden: %2")
                                              .arg(Q(missing), Q(messages::CannotOpenFile(missing))));
        QCOMPARE(treeWhileShown, before);
    }

    void onlyTheFirstDroppedProjectIsOpened() {
        MainWindowFixture f;
        const std::string text = f.tmp.WriteFile("liesmich.txt", "x");
        const std::string first = f.tmp / "erstes.BUF";
        const std::string second = f.tmp / "zweites.buf";
        WriteProject(first, {"eins"});
        WriteProject(second, {"zwei"});

        f.dialogs.Answers = {QMessageBox::No};
        f.window.Commands().DropFiles({Q(text), Q(first), Q(second)});
        QCOMPARE(f.dialogs.Asked.size(), 1);
        QCOMPARE(f.window.windowTitle(), QStringLiteral("Tresorix - [") + Q(first) + u']');
        QCOMPARE(f.ModelOutline(), (QStringList{"/eins/", "  /quelle-eins/"}));

        // Cancel in the save question opens nothing, not even a later project.
        f.dialogs.Answers = {QMessageBox::Cancel};
        f.window.Commands().DropFiles({Q(second), Q(first)});
        QCOMPARE(f.ModelOutline(), (QStringList{"/eins/", "  /quelle-eins/"}));

        // No project among the files: no question at all.
        f.window.Commands().DropFiles({Q(text)});
        QCOMPARE(f.dialogs.Asked.size(), 2);
    }

    void aDroppedLauncherOpensTheProjectItsArgumentsNameFirst() {
        MainWindowFixture f;
        const std::string project = f.tmp.MakeDir("Meine Projekte, alt") + "Täglich.buf";
        WriteProject(project, {"launcher"});
        const QString link = Q(f.tmp / "Sicherung.desktop");
        QVERIFY(CreateShortcut(f.services.fs, QStringLiteral("/usr/bin/trxmain"), link,
                               QuotedArgument(Q(project)) + QStringLiteral(" /s /a"),
                               QStringLiteral("Tresorix-Projekt"), QString(), 0));
        const std::string other =
            f.tmp.WriteFile("Anderes.desktop", "[Desktop Entry]\nType=Application\nExec=true\n");

        f.dialogs.Answers = {QMessageBox::No};
        f.window.Commands().DropFiles({Q(other), link});
        QCOMPARE(f.window.windowTitle(), QStringLiteral("Tresorix - [") + Q(project) + u']');
        QCOMPARE(f.ModelOutline(), (QStringList{"/launcher/", "  /quelle-launcher/"}));
    }

    void aDropEventOnTheWindowOpensTheProject() {
        MainWindowFixture f;
        const std::string path = f.tmp / "A.buf";
        WriteProject(path, {"a"});
        f.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(Q(path))});
        const QPoint where(10, 10);
        QDragEnterEvent enter(where, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&f.window, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(where, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        f.dialogs.Answers = {QMessageBox::No};
        QCoreApplication::sendEvent(&f.window, &drop);
        QVERIFY(drop.isAccepted());
        QTRY_COMPARE(f.ModelOutline(), (QStringList{"/a/", "  /quelle-a/"}));
    }

    void aProjectBuiltInTheWindowReopensByteIdentical() {
        MainWindowFixture f;
        TForm1& w = f.window;
        TDirNode* destination = f.AddDestination("/media/Sicherungen/Bücher");
        TDirNode* other = f.AddDestination("/media/zweites Ziel/");
        TDirNode* source = f.AddSource(destination, "/home/anna/Bücher/");
        f.AddSource(destination, "/home/anna/Briefe/");
        f.AddSource(other, "/home/anna/Bilder/");
        auto* group = new cBackUpOptions;
        group->Filters[0].Mask = "*.doc";
        group->TransferFlags = 0x85;
        source->Source->SetOptions(group);
        f.Node("/home/anna/Bilder/")->Source->SetOptions(group);
        w.Frame_FileFilterIn->AddTypeItem(QStringLiteral("TXT"));
        w.Frame_FileFilterIn->AddTypeItem(QStringLiteral("DOC"));
        w.Frame_FileFilterIn->RadioButton_DefTypes->setChecked(true);
        w.Frame_FileFilterOut->Edit_Mask->setText(QStringLiteral("~*;*.bak"));
        w.Frame_FileFilterOut->CheckBox_Size1->setChecked(true);
        w.Frame_DefOptions->CheckBox_TransferDirNames->setChecked(true);
        w.Frame_DefOptions->RadioButton_TransferAllDirNames->setChecked(true);
        w.Frame_DefOptions->RadioButton_TimeBackup->setChecked(true);
        w.Edit_Description->setText(QStringLiteral("Wöchentliche Sicherung"));
        w.Memo_Comments->setPlainText(QString(300, u'x') + QStringLiteral("\nzweite Zeile"));

        const std::string first = f.tmp / "erste.buf";
        f.dialogs.SaveAnswers = {Q(first)};
        QVERIFY(w.Commands().SaveAs());

        MainWindowFixture second;
        second.window.Commands().OpenProject(Q(first));
        QCOMPARE(second.TreeOutline(), second.ModelOutline());
        const std::string again = f.tmp / "zweite.buf";
        second.dialogs.SaveAnswers = {Q(again)};
        QVERIFY(second.window.Commands().SaveAs());
        QVERIFY(!ReadWholeFile(first).empty());
        QCOMPARE(ReadWholeFile(again), ReadWholeFile(first));
        QVERIFY(second.dialogs.Errors.isEmpty());
    }
};

QTEST_MAIN(TestTForm1)
#include "tst_TForm1.moc"

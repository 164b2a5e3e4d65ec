// SPDX-License-Identifier: GPL-3.0-or-later
#include "DesktopRecorder.h"
#include "model/BackUpDestination.h"
#include "model/BackUpOptions.h"
#include "model/BackUpSource.h"
#include "model/Project.h"
#include "ui/editors/TForm5.h"
#include "ui/editors/TFrame_FileFilter.h"
#include "ui/editors/TFrame_Options.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QtTest>
#include <atomic>
#include <cstdlib>
#include <new>
#include <vector>

using namespace trx;

// The dialog frees option sets through the model; this executable watches frees so a test can tell
// whether a given set was destroyed without touching freed memory.
namespace {
std::atomic<const void*> watchedPointer{nullptr};
std::atomic<bool> watchedFreed{false};

void NoteFree(void* pointer) {
    if (pointer != nullptr && pointer == watchedPointer.load()) {
        watchedFreed = true;
    }
}
}  // namespace

void* operator new(std::size_t size) {
    if (void* pointer = std::malloc(size == 0 ? 1 : size)) {
        return pointer;
    }
    throw std::bad_alloc();
}
void operator delete(void* pointer) noexcept {
    NoteFree(pointer);
    std::free(pointer);
}
void operator delete(void* pointer, std::size_t) noexcept {
    NoteFree(pointer);
    std::free(pointer);
}

namespace {

// Watches one option set until the end of the scope.
class FreeWatch {
public:
    explicit FreeWatch(const cBackUpOptions* options) {
        watchedFreed = false;
        watchedPointer = options;
    }
    ~FreeWatch() { watchedPointer = nullptr; }
    bool Freed() const { return watchedFreed; }
};

// A group set as the model holds one after loading: filled, then counted once per user.
cBackUpOptions* NewGroupSet(const char* mask) {
    auto* options = new cBackUpOptions;
    options->Filters[0].Mask = mask;
    return options;
}

// The part of the main window the dialog talks to: the editors of the default set on the tabs "Filter"
// and "Standard-Einstellungen", and its tree's sources in tree order.
struct MainWindowStandIn {
    explicit MainWindowStandIn(cProject& project) : Project(project) {
        In.SetFilter(project.DefaultOptions.Filters[0]);
        Out.SetFilter(project.DefaultOptions.Filters[1]);
        Options.SetOptions(project.DefaultOptions);
    }

    TForm5Owner Owner() {
        TForm5Owner owner;
        owner.TakeDefaults = [this] {
            ++TakeCalls;
            In.GetFilter(Project.DefaultOptions.Filters[0]);
            Out.GetFilter(Project.DefaultOptions.Filters[1]);
            Options.GetOptions(Project.DefaultOptions);
        };
        owner.ShowDefaults = [this] {
            ++ShowCalls;
            In.SetFilter(Project.DefaultOptions.Filters[0]);
            Out.SetFilter(Project.DefaultOptions.Filters[1]);
            Options.SetOptions(Project.DefaultOptions);
        };
        owner.ElementIcon = [this](const cBackUpSource& element) {
            IconsAskedFor.push_back(&element);
            return QIcon();
        };
        return owner;
    }

    cProject& Project;
    test::DesktopRecorder Desktop;
    TFrame_FileFilter In{Desktop};
    TFrame_FileFilter Out{Desktop};
    TFrame_Options Options;
    int TakeCalls = 0;
    int ShowCalls = 0;
    std::vector<const cBackUpSource*> IconsAskedFor;
};

// A destination with three sources, listed in the tree in path order A, B, C.
struct ThreeSources {
    ThreeSources() {
        auto* destination = new cBackUpDestination(Project, "/media/Sicherung/");
        // Created out of path order: the tree order handed to the dialog is what counts.
        C = new cBackUpSource("/home/anna/C/", *destination);
        A = new cBackUpSource("/home/anna/A/", *destination);
        B = new cBackUpSource("/home/anna/B/", *destination);
    }
    std::vector<cBackUpSource*> TreeOrder() const { return {A, B, C}; }

    cProject Project;
    cBackUpSource* A;
    cBackUpSource* B;
    cBackUpSource* C;
};

QStringList Rows(const TForm5& dialog) {
    QStringList rows;
    for (int i = 0; i < dialog.TreeView_EditElements->topLevelItemCount(); ++i) {
        rows << dialog.TreeView_EditElements->topLevelItem(i)->text(0);
    }
    return rows;
}

QStringList ItalicRows(const TForm5& dialog) {
    QStringList rows;
    for (int i = 0; i < dialog.TreeView_EditElements->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* row = dialog.TreeView_EditElements->topLevelItem(i);
        if (row->font(0).italic()) {
            rows << row->text(0);
        }
    }
    return rows;
}

void Open(TForm5& dialog, cProject& project, std::vector<cBackUpSource*> selected,
          std::vector<cBackUpSource*> treeOrder) {
    dialog.SetElements(project, std::move(selected), std::move(treeOrder));
    dialog.show();
}

}  // namespace

class TestTForm5 : public QObject {
    Q_OBJECT

private slots:
    // Each filter frame knows its role once a set is shown: the first includes, the second excludes.
    void framesShowIncludeAndExcludeFilter() {
        ThreeSources project;
        TForm5 dialog(desktop_);
        Open(dialog, project.Project, {project.A}, project.TreeOrder());
        QCOMPARE(dialog.Frame_FileFilter1->RadioButton_AllNoTypes->text(), QStringLiteral("Alle Dateitypen"));
        QCOMPARE(dialog.Frame_FileFilter2->RadioButton_AllNoTypes->text(),
                 QStringLiteral("Keine Dateitypen"));
        QVERIFY(dialog.Button_OK->isDefault());
    }

    // Two of three sources on the default settings are marked; the main window holds unsaved edits.
    void defaultGroupShowsAndKeepsTheMainWindowsEdits() {
        ThreeSources project;
        MainWindowStandIn main(project.Project);
        main.In.Edit_Mask->setText(QStringLiteral("*.doc"));  // not yet taken into the model
        main.Options.CheckBox_SubFolders->setChecked(false);  // likewise
        TForm5 dialog(desktop_);
        dialog.SetOwner(main.Owner());
        Open(dialog, project.Project, {project.A, project.C}, project.TreeOrder());

        QVERIFY(dialog.GroupMode());
        QCOMPARE(dialog.GroupOptionSet(), &project.Project.DefaultOptions);
        QCOMPARE(Rows(dialog), QStringList({"/home/anna/A/", "/home/anna/B/", "/home/anna/C/"}));
        QCOMPARE(ItalicRows(dialog), QStringList({"/home/anna/A/", "/home/anna/C/"}));
        QCOMPARE(dialog.Button_ChangeElements->text(),
                 QStringLiteral("Nur kursiv dargestellte Elemente bearbeiten"));
        QVERIFY(dialog.Button_ChangeElements->isEnabled());
        QVERIFY(!dialog.Button_DefSettings->isEnabled());
        QCOMPARE(main.IconsAskedFor.size(), std::size_t{3});
        // What the dialog shows is what the main window shows.
        QCOMPARE(main.TakeCalls, 1);
        QCOMPARE(dialog.Frame_FileFilter1->Edit_Mask->text(), QStringLiteral("*.doc"));
        QVERIFY(!dialog.Frame_Options->CheckBox_SubFolders->isChecked());
        QCOMPARE(dialog.PageControl->currentIndex(), 0);
        QCOMPARE(dialog.Frame_Options->Edit_ExSource->text(), QStringLiteral("/home/anna/A/"));
        QCOMPARE(dialog.Frame_Options->Edit_ExDestination->text(), QStringLiteral("/media/Sicherung/"));

        dialog.Frame_FileFilter2->Edit_Mask->setText(QStringLiteral("*.tmp"));
        dialog.Button_OK->click();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), TForm5::kResultOK);
        for (const cBackUpSource* source : {project.A, project.B, project.C}) {
            QCOMPARE(source->Options, &project.Project.DefaultOptions);
        }
        const cBackUpOptions& defaults = project.Project.DefaultOptions;
        QCOMPARE(defaults.Filters[1].Mask, std::string("*.tmp"));
        QCOMPARE(defaults.Filters[0].Mask, std::string("*.doc"));
        QVERIFY(!defaults.SubFolders);
        // The main window's tabs show the new default settings, its own edits still there.
        QCOMPARE(main.ShowCalls, 1);
        QCOMPARE(main.Out.Edit_Mask->text(), QStringLiteral("*.tmp"));
        QCOMPARE(main.In.Edit_Mask->text(), QStringLiteral("*.doc"));
        QVERIFY(!main.Options.CheckBox_SubFolders->isChecked());
    }

    void italicElementsOnlyGetANewSharedSet() {
        ThreeSources project;
        MainWindowStandIn main(project.Project);
        TForm5 dialog(desktop_);
        dialog.SetOwner(main.Owner());
        Open(dialog, project.Project, {project.A, project.C}, project.TreeOrder());

        dialog.Frame_FileFilter1->Edit_Mask->setText(QStringLiteral("Brief*.txt"));
        dialog.Button_ChangeElements->click();
        QVERIFY(!dialog.GroupMode());
        QCOMPARE(Rows(dialog), QStringList({"/home/anna/A/", "/home/anna/C/"}));
        QCOMPARE(ItalicRows(dialog), Rows(dialog));
        QCOMPARE(dialog.Button_ChangeElements->text(),
                 QStringLiteral("Alle Elemente dieser Optionsgruppe bearbeiten"));
        QVERIFY(dialog.Button_ChangeElements->isEnabled());
        // Switching back and forth keeps the edits.
        dialog.Button_ChangeElements->click();
        QVERIFY(dialog.GroupMode());
        QCOMPARE(Rows(dialog).size(), 3);
        dialog.Button_ChangeElements->click();
        QCOMPARE(dialog.Frame_FileFilter1->Edit_Mask->text(), QStringLiteral("Brief*.txt"));

        dialog.Button_OK->click();
        QCOMPARE(dialog.result(), TForm5::kResultOK);
        cBackUpOptions* shared = project.A->Options;
        QVERIFY(shared != &project.Project.DefaultOptions);
        QCOMPARE(project.C->Options, shared);
        QCOMPARE(shared->RefCount, 2);
        QCOMPARE(shared->Filters[0].Mask, std::string("Brief*.txt"));
        QCOMPARE(project.B->Options, &project.Project.DefaultOptions);
        QCOMPARE(project.Project.DefaultOptions.Filters[0].Mask, std::string());
        QCOMPARE(main.ShowCalls, 0);
    }

    void differentSetsStartInSelectionMode() {
        ThreeSources project;
        cBackUpOptions* first = NewGroupSet("erste");
        cBackUpOptions* second = NewGroupSet("zweite");
        project.A->SetOptions(first);
        project.C->SetOptions(first);
        project.B->SetOptions(second);
        MainWindowStandIn main(project.Project);
        TForm5 dialog(desktop_);
        dialog.SetOwner(main.Owner());
        Open(dialog, project.Project, {project.B, project.A}, project.TreeOrder());

        QVERIFY(!dialog.GroupMode());
        QCOMPARE(dialog.GroupOptionSet(), nullptr);
        // Selection order, every row in italics, the first marked source's settings shown.
        QCOMPARE(Rows(dialog), QStringList({"/home/anna/B/", "/home/anna/A/"}));
        QCOMPARE(ItalicRows(dialog), Rows(dialog));
        QCOMPARE(dialog.Frame_FileFilter1->Edit_Mask->text(), QStringLiteral("zweite"));
        QCOMPARE(dialog.Button_ChangeElements->text(),
                 QStringLiteral("Alle Elemente dieser Optionsgruppe bearbeiten"));
        QVERIFY(!dialog.Button_ChangeElements->isEnabled());
        QVERIFY(dialog.Button_DefSettings->isEnabled());
        QCOMPARE(main.TakeCalls, 0);

        FreeWatch watch(second);
        dialog.Button_OK->click();
        cBackUpOptions* shared = project.A->Options;
        QCOMPARE(project.B->Options, shared);
        QVERIFY(shared != first && shared != &project.Project.DefaultOptions);
        QCOMPARE(shared->RefCount, 2);
        QCOMPARE(shared->Filters[0].Mask, std::string("zweite"));
        // The first set lives on for C; the second had no user left.
        QCOMPARE(project.C->Options, first);
        QCOMPARE(first->RefCount, 1);
        QVERIFY(watch.Freed());
    }

    // The default settings shown in selection mode are the main window's, unsaved edits included.
    void selectionModeStartingFromTheDefaultsTakesTheMainWindowsEdits() {
        ThreeSources project;
        project.B->SetOptions(NewGroupSet("eigene"));
        MainWindowStandIn main(project.Project);
        main.In.Edit_Mask->setText(QStringLiteral("*.ungespeichert"));
        TForm5 dialog(desktop_);
        dialog.SetOwner(main.Owner());
        Open(dialog, project.Project, {project.A, project.B}, project.TreeOrder());
        QVERIFY(!dialog.GroupMode());
        QCOMPARE(main.TakeCalls, 1);
        QCOMPARE(dialog.Frame_FileFilter1->Edit_Mask->text(), QStringLiteral("*.ungespeichert"));
        dialog.Button_OK->click();
        QCOMPARE(project.A->Options->Filters[0].Mask, std::string("*.ungespeichert"));
        QCOMPARE(project.Project.DefaultOptions.Filters[0].Mask, std::string("*.ungespeichert"));
        QCOMPARE(main.In.Edit_Mask->text(), QStringLiteral("*.ungespeichert"));
    }

    // "Standard-Einstellungen" reaches the listed elements: in selection mode only the marked sources, in
    // group mode the whole group, whose set is then freed.
    void defaultSettingsReachTheListedElements() {
        ThreeSources project;
        cBackUpOptions* shared = NewGroupSet("geteilt");
        project.A->SetOptions(shared);
        project.B->SetOptions(shared);
        {
            FreeWatch watch(shared);
            TForm5 dialog(desktop_);
            Open(dialog, project.Project, {project.A}, project.TreeOrder());
            dialog.Button_ChangeElements->click();
            dialog.Button_DefSettings->click();
            QVERIFY(!watch.Freed());
            QCOMPARE(project.A->Options, &project.Project.DefaultOptions);
            QCOMPARE(project.B->Options, shared);
            QCOMPARE(shared->RefCount, 1);
        }
        project.A->SetOptions(shared);
        FreeWatch watch(shared);
        TForm5 dialog(desktop_);
        Open(dialog, project.Project, {project.A}, project.TreeOrder());
        QCOMPARE(Rows(dialog), QStringList({"/home/anna/A/", "/home/anna/B/"}));
        QVERIFY(dialog.Button_DefSettings->isEnabled());
        dialog.Frame_FileFilter1->Edit_Mask->setText(QStringLiteral("verworfen"));
        dialog.Button_DefSettings->click();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), TForm5::kResultOK);
        QCOMPARE(project.A->Options, &project.Project.DefaultOptions);
        QCOMPARE(project.B->Options, &project.Project.DefaultOptions);
        QVERIFY(watch.Freed());
        // The edits in the frames are discarded.
        QCOMPARE(project.Project.DefaultOptions.Filters[0].Mask, std::string());
    }

    void wholeGroupMarkedLeavesNothingToNarrow() {
        ThreeSources project;
        cBackUpOptions* shared = NewGroupSet("geteilt");
        project.A->SetOptions(shared);
        project.C->SetOptions(shared);
        TForm5 dialog(desktop_);
        Open(dialog, project.Project, {project.C, project.A}, project.TreeOrder());
        QVERIFY(dialog.GroupMode());
        QCOMPARE(Rows(dialog), QStringList({"/home/anna/A/", "/home/anna/C/"}));
        QCOMPARE(ItalicRows(dialog), Rows(dialog));
        QCOMPARE(dialog.Button_ChangeElements->text(),
                 QStringLiteral("Nur kursiv dargestellte Elemente bearbeiten"));
        QVERIFY(!dialog.Button_ChangeElements->isEnabled());
        dialog.Button_ChangeElementsClick();  // refused while disabled
        QVERIFY(dialog.GroupMode());
        // OK edits the set in place.
        dialog.Frame_Options->CheckBox_OnlyNewFiles->setChecked(false);
        dialog.Button_OK->click();
        QCOMPARE(project.A->Options, shared);
        QCOMPARE(shared->RefCount, 2);
        QVERIFY(!shared->OnlyNewFiles);
    }

    void theElementListCannotBeSelectedIn() {
        ThreeSources project;
        TForm5 dialog(desktop_);
        Open(dialog, project.Project, {project.A}, project.TreeOrder());
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTreeWidget* list = dialog.TreeView_EditElements;
        QCOMPARE(list->topLevelItemCount(), 3);
        for (int i = 0; i < 3; ++i) {
            const QPoint centre = list->visualItemRect(list->topLevelItem(i)).center();
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
            QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, centre);
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre);
        }
        list->topLevelItem(1)->setSelected(true);
        QVERIFY(list->selectedItems().isEmpty());
        QVERIFY(!list->selectionModel()->hasSelection());
        QVERIFY(list->findChildren<QLineEdit*>().isEmpty());  // no row went into editing
        QCOMPARE(Rows(dialog).size(), 3);
    }

    void cancelChangesNothing_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("Abbrechen") << "button";
        QTest::newRow("Escape") << "escape";
        QTest::newRow("window closed") << "close";
    }

    void cancelChangesNothing() {
        QFETCH(QString, how);
        ThreeSources project;
        cBackUpOptions* own = NewGroupSet("eigene");
        project.A->SetOptions(own);
        MainWindowStandIn main(project.Project);
        TForm5 dialog(desktop_);
        dialog.SetOwner(main.Owner());
        Open(dialog, project.Project, {project.A, project.B}, project.TreeOrder());
        dialog.Frame_FileFilter1->Edit_Mask->setText(QStringLiteral("geändert"));
        dialog.Frame_FileFilter2->Edit_Mask->setText(QStringLiteral("geändert"));
        if (how == "button") {
            dialog.Button_Cancel->click();
        } else if (how == "escape") {
            QTest::keyClick(&dialog, Qt::Key_Escape);
        } else {
            dialog.close();
        }
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), TForm5::kResultCancel);
        QCOMPARE(project.A->Options, own);
        QCOMPARE(own->RefCount, 1);
        QCOMPARE(own->Filters[0].Mask, std::string("eigene"));
        QCOMPARE(project.B->Options, &project.Project.DefaultOptions);
        QCOMPARE(project.Project.DefaultOptions.Filters[1].Mask, std::string());
        QCOMPARE(main.ShowCalls, 0);
    }

    // OK in selection mode makes a group of its own even when nothing was edited.
    void selectionModeOkWithoutEditsStillMakesANewGroup() {
        ThreeSources project;
        cBackUpOptions* shared = NewGroupSet("geteilt");
        for (cBackUpSource* source : project.TreeOrder()) {
            source->SetOptions(shared);
        }
        TForm5 dialog(desktop_);
        Open(dialog, project.Project, {project.B}, project.TreeOrder());
        dialog.Button_ChangeElements->click();
        dialog.Button_OK->click();
        QVERIFY(project.B->Options != shared);
        // The frames give back what they were shown (a fresh set's transfer byte 0 comes back as the
        // "one level" choice the options frame shows for it, so the filters are compared).
        QVERIFY(project.B->Options->Filters[0] == shared->Filters[0]);
        QVERIFY(project.B->Options->Filters[1] == shared->Filters[1]);
        QCOMPARE(project.B->Options->RefCount, 1);
        QCOMPARE(shared->RefCount, 2);
    }

    void everyShowingStartsOver() {
        ThreeSources project;
        TForm5 dialog(desktop_);
        Open(dialog, project.Project, {project.A}, project.TreeOrder());
        dialog.Button_ChangeElements->click();
        dialog.PageControl->setCurrentIndex(1);
        dialog.Frame_FileFilter1->RadioButton_DefTypes->setChecked(true);
        dialog.Button_Cancel->click();
        // The closed dialog keeps no pointer into the model.
        QCOMPARE(dialog.TreeView_EditElements->topLevelItemCount(), 0);
        QVERIFY(dialog.GroupElements().empty());

        Open(dialog, project.Project, {project.B}, project.TreeOrder());
        QVERIFY(dialog.GroupMode());
        QCOMPARE(dialog.PageControl->currentIndex(), 0);
        QVERIFY(dialog.Frame_FileFilter1->RadioButton_AllNoTypes->isChecked());
        QCOMPARE(ItalicRows(dialog), QStringList({"/home/anna/B/"}));
        QCOMPARE(dialog.Frame_Options->Edit_ExSource->text(), QStringLiteral("/home/anna/B/"));
        dialog.Button_Cancel->click();
    }

    void executeRunsModallyAndRefusesAnEmptySelection() {
        ThreeSources project;
        TForm5 dialog(desktop_);
        QCOMPARE(dialog.Execute(project.Project, {}, project.TreeOrder()), TForm5::kResultCancel);
        QVERIFY(!dialog.isVisible());

        QTimer::singleShot(0, &dialog, [&] {
            QVERIFY(dialog.isModal());
            dialog.Frame_Options->CheckBox_DelDeletedFiles->setChecked(false);
            dialog.Button_OK->click();
        });
        QCOMPARE(dialog.Execute(project.Project, {project.C}, project.TreeOrder()), TForm5::kResultOK);
        QVERIFY(!project.Project.DefaultOptions.DelDeletedFiles);
    }

    // A showing without elements (the owner forgot to hand them in) offers nothing that changes the model.
    void showingWithoutElementsChangesNothing() {
        TForm5 dialog(desktop_);
        dialog.show();
        QCOMPARE(dialog.TreeView_EditElements->topLevelItemCount(), 0);
        QVERIFY(!dialog.Button_DefSettings->isEnabled());
        QVERIFY(!dialog.Button_ChangeElements->isEnabled());
        dialog.Button_OK->click();
        QCOMPARE(dialog.result(), TForm5::kResultOK);
    }

private:
    test::DesktopRecorder desktop_;
};

QTEST_MAIN(TestTForm5)
#include "tst_TForm5.moc"

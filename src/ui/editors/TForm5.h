// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QIcon>
#include <functional>
#include <vector>

class QGroupBox;
class QLabel;
class QPushButton;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace trx {

class cBackUpOptions;
class cBackUpSource;
class cDesktopServices;
class cProject;
class TFrame_FileFilter;
class TFrame_Options;

// What the element settings dialog asks of the window that opens it (the main window). Every hook may be
// left empty; the dialog then does without it.
struct TForm5Owner {
    // Copies the owner's editors of the default set (its filter and options editors) into the project's
    // DefaultOptions, so that the dialog shows what the owner shows before it edits that set.
    std::function<void()> TakeDefaults;
    // Shows DefaultOptions again in the owner's editors after the dialog changed it.
    std::function<void()> ShowDefaults;
    // The icon the owner's tree shows for an element, fetched first if it has none yet.
    std::function<QIcon(const cBackUpSource& element)> ElementIcon;
};

// The modal dialog "Sicherungseinstellungen": edits the filters and copy options of the sources marked in
// the main window's tree. In group mode the edit goes to the option set all of them share, in place, and
// the list also shows (upright) the other sources that share it; in selection mode the marked sources get
// a new set of their own. The marked sources are always the rows in italics. Created once and reused;
// every showing starts over.
class TForm5 : public QDialog {
    Q_OBJECT

public:
    static constexpr int kResultOK = 1;
    static constexpr int kResultCancel = 2;

    // `desktop` gives the filter frames the type names and icons of extensions; it outlives the dialog.
    explicit TForm5(cDesktopServices& desktop, QWidget* parent = nullptr);

    // Called once by the owner after creating the dialog.
    void SetOwner(TForm5Owner owner) { owner_ = std::move(owner); }

    // Edits the settings of `selected` (sources of `project`, in the order the owner's tree gives them);
    // `sourcesInTreeOrder` is every source of the project as the owner's tree lists them, from which the
    // group is collected. Shows the dialog modally and returns kResultOK when it changed the project,
    // kResultCancel when it changed nothing (at once, without showing, for an empty selection).
    int Execute(cProject& project, std::vector<cBackUpSource*> selected,
                std::vector<cBackUpSource*> sourcesInTreeOrder);
    // Execute's first half: keeps the elements for the next showing, shows nothing.
    void SetElements(cProject& project, std::vector<cBackUpSource*> selected,
                     std::vector<cBackUpSource*> sourcesInTreeOrder);

    // Prepares every showing: mode, group, frames and element list.
    void FormShow();
    // Fills the element list and Button_ChangeElements for the current mode.
    void FillElementList();
    // Shows `options` in the two filter frames and the options frame.
    void SetOptionSet(const cBackUpOptions& options);
    // Writes the three frames into `options`.
    void GetOptionSet(cBackUpOptions& options);
    // Switches between group mode and selection mode; the edits in the frames stay.
    void Button_ChangeElementsClick();
    // Sets a row in italics exactly when its element is one of the marked ones.
    void TreeView_EditElementsCustomDrawItem(QTreeWidgetItem* row);
    // Takes the frames into the group's set (group mode) or into a new set for the marked elements
    // (selection mode), then closes with kResultOK.
    void Button_OKClick();
    // Gives the default set to every listed element, discards the edits, closes with kResultOK.
    void Button_DefSettingsClick();
    // Forgets the group and the elements handed in; runs whenever the dialog closes.
    void FormClose();

    bool GroupMode() const { return groupMode_; }
    // The set all marked elements share; null in selection mode entered at showing.
    cBackUpOptions* GroupOptionSet() const { return groupSet_; }
    const std::vector<cBackUpSource*>& GroupElements() const { return groupElements_; }
    // The element a row of the list stands for.
    static cBackUpSource* ElementOf(const QTreeWidgetItem* row);

    // Escape, "Abbrechen" and the window's close button end with kResultCancel.
    void reject() override;
    void done(int result) override;

    QGroupBox* GroupBox_Elements = nullptr;
    QLabel* Label_Elements = nullptr;
    QTreeWidget* TreeView_EditElements = nullptr;
    QPushButton* Button_ChangeElements = nullptr;
    QTabWidget* PageControl = nullptr;
    TFrame_FileFilter* Frame_FileFilter1 = nullptr;
    TFrame_FileFilter* Frame_FileFilter2 = nullptr;
    TFrame_Options* Frame_Options = nullptr;
    QPushButton* Button_DefSettings = nullptr;
    QPushButton* Button_Cancel = nullptr;
    QPushButton* Button_OK = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool IsSelected(const cBackUpSource* element) const;
    // Brings the owner's unsaved edits into the default set before the dialog shows it.
    void TakeDefaultsIfShown(const cBackUpOptions* shown);

    TForm5Owner owner_;
    cProject* project_ = nullptr;
    std::vector<cBackUpSource*> selected_;
    std::vector<cBackUpSource*> sources_;  // every source in tree order
    bool groupMode_ = true;
    cBackUpOptions* groupSet_ = nullptr;
    std::vector<cBackUpSource*> groupElements_;
};

}  // namespace trx

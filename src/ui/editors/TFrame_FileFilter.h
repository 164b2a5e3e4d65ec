// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/FileFilter.h"

#include <QFrame>
#include <QIcon>
#include <QList>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace trx {

class cDesktopServices;
class TCriteriaDelegate;
class TSpinEdit;

// Edits one include or exclude filter: a list of five criteria on the left, each showing its page on the
// right. The frame never changes a filter except in GetFilter, so an owner that does not take the edits
// (a cancelled dialog) leaves its filters as they were, date bounds included.
class TFrame_FileFilter : public QFrame {
    Q_OBJECT

public:
    // `desktop` gives the type name and icon of an extension and outlives the frame. `mainIcon` is drawn
    // beside every criterion; a null icon stands for the style's file icon until the owner hands in the
    // program's icon with SetMainIcon.
    explicit TFrame_FileFilter(cDesktopServices& desktop, QWidget* parent = nullptr,
                               const QIcon& mainIcon = QIcon());

    void SetMainIcon(const QIcon& icon);
    const QIcon& MainIcon() const;

    // Shows every criterion of `filter` and attaches it (AttachFilter).
    void SetFilter(const cFileFilter& filter);
    // Takes the filter's role for the caption of the first type choice and its four day bounds as the
    // working copy the date controls edit; shows them for the current time choice.
    void AttachFilter(const cFileFilter& filter);
    // Writes every criterion into `filter`, the day bounds from the working copy. A number still being
    // typed into a size box is brought into its range first.
    void GetFilter(cFileFilter& filter);
    // Back to an empty state: the type page shown, all types and attributes gone; `full` clears the
    // date, size and mask criteria too (a new project). Leaves the modification-time choice shown.
    void ResetFilter(bool full);
    // Appends a row for `extension` (without dot) with the desktop's type name and icon.
    void AddTypeItem(const QString& extension);

    // Event handlers; the drag handlers take the drag's source control.
    void ListBoxClick();
    void Button_AddTypeClick();
    void Button_DelTypeClick();
    void ListView_TypesSelectItem();
    // True when `source` is the type list of another filter frame.
    bool ListView_TypesDragOver(const QObject* source) const;
    // Moves the source list's selected extension here (never doubled) and removes it there.
    void ListView_TypesDragDrop(const QObject* source);
    void ComboBox_TimeClick();
    void CheckBox_LaterThanClick();
    void CheckBox_EarlierThanClick();
    void Label_MaskInfoClick();

    // The frame's image list of type icons and the index a row of ListView_Types holds into it.
    const QList<QIcon>& TypeImages() const { return typeImages_; }
    static int ImageIndexOf(const QTreeWidgetItem* row);

    QListWidget* ListBox = nullptr;
    QStackedWidget* PageControl = nullptr;
    QRadioButton* RadioButton_AllNoTypes = nullptr;
    QRadioButton* RadioButton_DefTypes = nullptr;
    QTreeWidget* ListView_Types = nullptr;
    QPushButton* Button_AddType = nullptr;
    QPushButton* Button_DelType = nullptr;
    QListWidget* CheckListBox_Attributes = nullptr;
    QComboBox* ComboBox_Time = nullptr;
    QCheckBox* CheckBox_LaterThan = nullptr;
    QDateEdit* DateTimePicker_LaterThan = nullptr;
    QCheckBox* CheckBox_EarlierThan = nullptr;
    QDateEdit* DateTimePicker_EarlierThan = nullptr;
    QCheckBox* CheckBox_Size1 = nullptr;
    TSpinEdit* SpinEdit_Size1 = nullptr;
    QComboBox* ComboBox_Size1 = nullptr;
    QCheckBox* CheckBox_Size2 = nullptr;
    TSpinEdit* SpinEdit_Size2 = nullptr;
    QComboBox* ComboBox_Size2 = nullptr;
    QLineEdit* Edit_Mask = nullptr;
    QLabel* Label_MaskInfo = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* BuildTypesPage();
    QWidget* BuildAttributesPage();
    QWidget* BuildDatePage();
    QWidget* BuildSizePage();
    QWidget* BuildMaskPage();
    bool HasType(const QString& extension) const;
    void ShowImage(QTreeWidgetItem* row, int imageIndex);

    cDesktopServices& desktop_;
    TCriteriaDelegate* criteriaDelegate_ = nullptr;
    QButtonGroup* typeChoice_ = nullptr;
    QList<QIcon> typeImages_;
    cDatePair workingDates_[2];  // indexed by TimeKind; what GetFilter stores
    bool showingDates_ = false;  // the date controls are being filled, not edited
};

}  // namespace trx

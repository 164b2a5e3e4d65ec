// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/editors/TForm5.h"

#include "model/BackUpDestination.h"
#include "model/BackUpOptions.h"
#include "model/BackUpSource.h"
#include "model/Project.h"
#include "ui/common/ButtonRow.h"
#include "ui/common/FixedDialogFrame.h"
#include "ui/common/Named.h"
#include "ui/editors/TFrame_FileFilter.h"
#include "ui/editors/TFrame_Options.h"
#include "ui/extra/ApplicationIcon.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>

namespace trx {

namespace {

const QString kEditSelectedOnly = QStringLiteral("Nur kursiv dargestellte Elemente bearbeiten");
const QString kEditWholeGroup = QStringLiteral("Alle Elemente dieser Optionsgruppe bearbeiten");

QGroupBox* Group(const QString& caption, QWidget* content) {
    auto* box = new QGroupBox(caption);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(content);
    return box;
}

}  // namespace

TForm5::TForm5(cDesktopServices& desktop, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("Sicherungseinstellungen"));
    UseFixedDialogFrame(*this);

    // Left: the elements the edit reaches.
    GroupBox_Elements = Named(new QGroupBox(QStringLiteral("Elementauswahl")), "GroupBox_Elements");
    Label_Elements =
        Named(new QLabel(QStringLiteral("Die Einstellungen folgender Elemente werden bearbeitet:")),
              "Label_Elements");
    Label_Elements->setWordWrap(true);
    TreeView_EditElements = Named(new QTreeWidget, "TreeView_EditElements");
    TreeView_EditElements->setHeaderHidden(true);
    TreeView_EditElements->setRootIsDecorated(false);
    TreeView_EditElements->setColumnCount(1);
    TreeView_EditElements->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // The list only informs: no row can be selected, neither by mouse nor by keyboard.
    TreeView_EditElements->setSelectionMode(QAbstractItemView::NoSelection);
    TreeView_EditElements->setFocusPolicy(Qt::NoFocus);
    TreeView_EditElements->setIconSize(QSize(16, 16));
    // Long paths scroll sideways rather than lose their middle.
    TreeView_EditElements->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    TreeView_EditElements->header()->setStretchLastSection(false);
    Button_ChangeElements = Named(new QPushButton(kEditWholeGroup), "Button_ChangeElements");
    // Wide enough for either caption, so the dialog keeps its size when the mode changes.
    const int captionWidth = Button_ChangeElements->sizeHint().width();
    Button_ChangeElements->setText(kEditSelectedOnly);
    Button_ChangeElements->setFixedWidth(std::max(captionWidth, Button_ChangeElements->sizeHint().width()));
    TreeView_EditElements->setFixedWidth(Button_ChangeElements->width());
    auto* elements = new QVBoxLayout(GroupBox_Elements);
    elements->addWidget(Label_Elements);
    elements->addWidget(TreeView_EditElements, 1);
    elements->addWidget(Button_ChangeElements);

    // Right: the settings.
    PageControl = Named(new QTabWidget, "PageControl");
    Frame_FileFilter1 =
        Named(new TFrame_FileFilter(desktop, nullptr, ApplicationIcon()), "Frame_FileFilter1");
    Frame_FileFilter2 =
        Named(new TFrame_FileFilter(desktop, nullptr, ApplicationIcon()), "Frame_FileFilter2");
    auto* filterPage = Named(new QWidget, "TabSheet_Filter");
    auto* filterLayout = new QVBoxLayout(filterPage);
    filterLayout->addWidget(Group(QStringLiteral("Dateien einschließen"), Frame_FileFilter1));
    filterLayout->addWidget(Group(QStringLiteral("Dateien ausschließen"), Frame_FileFilter2));
    Frame_Options = Named(new TFrame_Options, "Frame_Options");
    auto* optionsPage = Named(new QWidget, "TabSheet_Options");
    auto* optionsLayout = new QVBoxLayout(optionsPage);
    optionsLayout->addWidget(Frame_Options);
    optionsLayout->addStretch();
    PageControl->addTab(filterPage, QStringLiteral("Filter"));
    PageControl->addTab(optionsPage, QStringLiteral("Einstellungen"));
    PageControl->setMinimumSize(529, 466);

    Button_DefSettings =
        Named(new QPushButton(QStringLiteral("Standard-Einstellungen")), "Button_DefSettings");
    Button_OK = Named(new QPushButton(QStringLiteral("OK")), "Button_OK");
    Button_OK->setDefault(true);
    Button_Cancel = Named(new QPushButton(QStringLiteral("Abbrechen")), "Button_Cancel");

    auto* top = new QHBoxLayout;
    top->addWidget(GroupBox_Elements);
    top->addWidget(PageControl, 1);
    QHBoxLayout* buttons = RightAlignedButtons({Button_OK, Button_Cancel});
    buttons->insertWidget(0, Button_DefSettings);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addLayout(top);
    layout->addLayout(buttons);
    // A fixed dialog border: the dialog takes the size of its content and cannot be resized.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(Button_ChangeElements, &QPushButton::clicked, this, [this] { Button_ChangeElementsClick(); });
    connect(Button_OK, &QPushButton::clicked, this, [this] { Button_OKClick(); });
    connect(Button_DefSettings, &QPushButton::clicked, this, [this] { Button_DefSettingsClick(); });
    connect(Button_Cancel, &QPushButton::clicked, this, [this] { reject(); });
}

int TForm5::Execute(cProject& project, std::vector<cBackUpSource*> selected,
                    std::vector<cBackUpSource*> sourcesInTreeOrder) {
    if (selected.empty()) {
        return kResultCancel;
    }
    SetElements(project, std::move(selected), std::move(sourcesInTreeOrder));
    return exec();
}

void TForm5::SetElements(cProject& project, std::vector<cBackUpSource*> selected,
                         std::vector<cBackUpSource*> sourcesInTreeOrder) {
    project_ = &project;
    selected_ = std::move(selected);
    sources_ = std::move(sourcesInTreeOrder);
}

void TForm5::FormShow() {
    groupMode_ = true;
    groupSet_ = nullptr;
    groupElements_.clear();
    PageControl->setCurrentIndex(0);
    Frame_FileFilter1->ResetFilter(false);
    Frame_FileFilter2->ResetFilter(false);
    if (project_ == nullptr || selected_.empty()) {
        // Nothing handed in: nothing to edit, and OK must not make a set nobody uses.
        Button_DefSettings->setEnabled(false);
        FillElementList();
        return;
    }

    cBackUpSource* first = selected_.front();
    Frame_Options->Edit_ExSource->setText(QString::fromUtf8(first->Path));
    Frame_Options->Edit_ExDestination->setText(QString::fromUtf8(first->Destination->Path));

    groupSet_ = first->Options;
    for (const cBackUpSource* element : selected_) {
        if (element->Options != groupSet_) {
            groupMode_ = false;
            break;
        }
    }

    if (groupMode_) {
        for (cBackUpSource* element : sources_) {
            if (element->Options == groupSet_) {
                groupElements_.push_back(element);
            }
        }
        TakeDefaultsIfShown(groupSet_);
        SetOptionSet(*groupSet_);
    } else {
        groupSet_ = nullptr;
        TakeDefaultsIfShown(first->Options);
        SetOptionSet(*first->Options);
    }
    FillElementList();
}

void TForm5::TakeDefaultsIfShown(const cBackUpOptions* shown) {
    // Whenever the frames start from the default set, they start from what the owner shows, unsaved edits
    // included; otherwise OK would silently undo those edits (group mode) or ignore them (a new set).
    if (shown == &project_->DefaultOptions && owner_.TakeDefaults) {
        owner_.TakeDefaults();
    }
}

void TForm5::FillElementList() {
    TreeView_EditElements->clear();
    const std::vector<cBackUpSource*>& elements = groupMode_ ? groupElements_ : selected_;
    for (cBackUpSource* element : elements) {
        auto* row = new QTreeWidgetItem(TreeView_EditElements);
        row->setText(0, QString::fromUtf8(element->Path));
        row->setToolTip(0, row->text(0));
        if (owner_.ElementIcon) {
            row->setIcon(0, owner_.ElementIcon(*element));
        }
        row->setData(0, Qt::UserRole, QVariant::fromValue(static_cast<void*>(element)));
        row->setFlags(Qt::ItemIsEnabled);
        TreeView_EditElementsCustomDrawItem(row);
    }

    if (groupMode_) {
        Button_ChangeElements->setText(kEditSelectedOnly);
        Button_ChangeElements->setEnabled(selected_.size() < groupElements_.size());
    } else {
        Button_ChangeElements->setText(kEditWholeGroup);
        Button_ChangeElements->setEnabled(groupSet_ != nullptr);
    }
    // Giving the default set back is pointless only where the whole group already uses it.
    const bool defaultGroup = groupMode_ && project_ != nullptr && groupSet_ == &project_->DefaultOptions;
    Button_DefSettings->setEnabled(project_ != nullptr && !selected_.empty() && !defaultGroup);
}

void TForm5::SetOptionSet(const cBackUpOptions& options) {
    Frame_FileFilter1->SetFilter(options.Filters[0]);
    Frame_FileFilter2->SetFilter(options.Filters[1]);
    Frame_Options->SetOptions(options);
}

void TForm5::GetOptionSet(cBackUpOptions& options) {
    Frame_FileFilter1->GetFilter(options.Filters[0]);
    Frame_FileFilter2->GetFilter(options.Filters[1]);
    Frame_Options->GetOptions(options);
}

void TForm5::Button_ChangeElementsClick() {
    if (!Button_ChangeElements->isEnabled()) {
        return;
    }
    groupMode_ = !groupMode_;
    FillElementList();
}

void TForm5::TreeView_EditElementsCustomDrawItem(QTreeWidgetItem* row) {
    QFont font = TreeView_EditElements->font();
    font.setItalic(IsSelected(ElementOf(row)));
    row->setFont(0, font);
}

void TForm5::Button_OKClick() {
    if (project_ != nullptr && !selected_.empty()) {
        if (groupMode_) {
            GetOptionSet(*groupSet_);
            if (groupSet_ == &project_->DefaultOptions && owner_.ShowDefaults) {
                owner_.ShowDefaults();
            }
        } else {
            auto options = std::make_unique<cBackUpOptions>();
            GetOptionSet(*options);
            // Each source retains the new set before it lets go of its old one, which is freed when it
            // has no user left.
            cBackUpOptions* shared = options.release();
            for (cBackUpSource* element : selected_) {
                element->SetOptions(shared);
            }
        }
    }
    done(kResultOK);
}

void TForm5::Button_DefSettingsClick() {
    if (!Button_DefSettings->isEnabled()) {
        return;
    }
    // A copy: the group's set is freed with its last user, and the lists are forgotten on closing.
    const std::vector<cBackUpSource*> elements = groupMode_ ? groupElements_ : selected_;
    groupSet_ = nullptr;
    for (cBackUpSource* element : elements) {
        element->SetOptions(&project_->DefaultOptions);
    }
    done(kResultOK);
}

void TForm5::FormClose() {
    groupElements_.clear();
    groupSet_ = nullptr;
    // The rows point into the model, which the owner may change once the dialog is closed.
    TreeView_EditElements->clear();
    selected_.clear();
    sources_.clear();
    project_ = nullptr;
}

cBackUpSource* TForm5::ElementOf(const QTreeWidgetItem* row) {
    return row == nullptr ? nullptr : static_cast<cBackUpSource*>(row->data(0, Qt::UserRole).value<void*>());
}

void TForm5::reject() {
    done(kResultCancel);
}

void TForm5::done(int result) {
    FormClose();
    QDialog::done(result);
}

void TForm5::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        FormShow();
    }
    QDialog::showEvent(event);
}

bool TForm5::IsSelected(const cBackUpSource* element) const {
    return element != nullptr && std::find(selected_.begin(), selected_.end(), element) != selected_.end();
}

}  // namespace trx

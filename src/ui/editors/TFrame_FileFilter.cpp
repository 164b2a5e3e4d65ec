// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/editors/TFrame_FileFilter.h"

#include "model/SizeUnits.h"
#include "ui/common/CaptionWidth.h"
#include "ui/common/DesktopServices.h"
#include "ui/common/ModelText.h"
#include "ui/common/Named.h"
#include "ui/editors/ExtensionInput.h"
#include "ui/editors/TCriteriaDelegate.h"
#include "ui/editors/TSpinEdit.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <cstdint>

namespace trx {

namespace {

constexpr int kImageIndexRole = Qt::UserRole;
constexpr int kAttributeBitRole = Qt::UserRole;
constexpr int kSizeLimit = 8191;
const QString kTypeListName = QStringLiteral("ListView_Types");

// Day numbers count from 30 December 1899; the frame only ever stores whole days.
const QDate kDayZero(1899, 12, 30);

QDate DateOfDay(double dayNumber) {
    return kDayZero.addDays(static_cast<qint64>(std::floor(dayNumber)));
}

double DayOfDate(const QDate& date) {
    return static_cast<double>(kDayZero.daysTo(date));
}

// The user's short date format with a four-digit year; dd.MM.yyyy where the system has no locale data.
QString PickerDateFormat() {
    const QLocale locale = QLocale::system();
    if (locale.language() == QLocale::C) {
        return QStringLiteral("dd.MM.yyyy");
    }
    QString format = locale.dateFormat(QLocale::ShortFormat);
    if (!format.contains(QLatin1String("yyyy"))) {
        format.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    }
    return format;
}

const QString kMaskHelpText = QStringLiteral(
    "Hier können Sie eine oder - durch \";\" getrennt - mehrere Masken angeben. Es werden alle Dateien "
    "eingebunden, deren Name mindestens einer der hier angegebenen Masken entspricht.\n"
    "Die Platzhalter \"*\" (beliebige Anzahl von beliebigen Zeichen) und \"?\" (ein beliebiges Zeichen) sind "
    "erlaubt.\n"
    "Lassen Sie das Feld frei, um alle Dateien zu berücksichtigen und keine Maske zu verwenden.\n"
    "\n"
    "Beispiel:\n"
    "\"Brief*.txt\" findet alle Dateien, die mit \"Brief\" beginnen und mit \".txt\" enden.");

}  // namespace

TFrame_FileFilter::TFrame_FileFilter(cDesktopServices& desktop, QWidget* parent, const QIcon& mainIcon)
    : QFrame(parent), desktop_(desktop) {
    setObjectName(QStringLiteral("Frame_FileFilter"));

    ListBox = Named(new QListWidget, QStringLiteral("ListBox"));
    criteriaDelegate_ = new TCriteriaDelegate(QIcon(), ListBox);
    ListBox->setItemDelegate(criteriaDelegate_);
    ListBox->setUniformItemSizes(true);
    ListBox->addItems({QStringLiteral("Dateitypen"), QStringLiteral("Dateiattribute"),
                       QStringLiteral("Dateidatum"), QStringLiteral("Dateigröße"), QStringLiteral("Maske")});
    // 121 pixels in a small font; wider where the desktop's font needs it for the longest criterion.
    int widest = 0;
    for (int i = 0; i < ListBox->count(); ++i) {
        widest = std::max(widest, TCriteriaDelegate::kTextLeft + 6 +
                                      ListBox->fontMetrics().horizontalAdvance(ListBox->item(i)->text()));
    }
    ListBox->setFixedWidth(std::max(121, widest + 2 * ListBox->frameWidth()));
    SetMainIcon(mainIcon);

    PageControl = Named(new QStackedWidget, QStringLiteral("PageControl"));
    PageControl->addWidget(BuildTypesPage());
    PageControl->addWidget(BuildAttributesPage());
    PageControl->addWidget(BuildDatePage());
    PageControl->addWidget(BuildSizePage());
    PageControl->addWidget(BuildMaskPage());

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(ListBox);
    layout->addWidget(PageControl, 1);

    connect(ListBox, &QListWidget::currentRowChanged, this, [this] { ListBoxClick(); });
    connect(Button_AddType, &QPushButton::clicked, this, [this] { Button_AddTypeClick(); });
    connect(Button_DelType, &QPushButton::clicked, this, [this] { Button_DelTypeClick(); });
    connect(ListView_Types, &QTreeWidget::itemSelectionChanged, this, [this] { ListView_TypesSelectItem(); });
    connect(ComboBox_Time, &QComboBox::currentIndexChanged, this, [this] { ComboBox_TimeClick(); });
    connect(CheckBox_LaterThan, &QCheckBox::toggled, this, [this] { CheckBox_LaterThanClick(); });
    connect(DateTimePicker_LaterThan, &QDateEdit::dateChanged, this, [this] { CheckBox_LaterThanClick(); });
    connect(CheckBox_EarlierThan, &QCheckBox::toggled, this, [this] { CheckBox_EarlierThanClick(); });
    connect(DateTimePicker_EarlierThan, &QDateEdit::dateChanged, this,
            [this] { CheckBox_EarlierThanClick(); });

    Button_DelType->setEnabled(false);
    ResetFilter(true);
}

void TFrame_FileFilter::SetMainIcon(const QIcon& icon) {
    criteriaDelegate_->SetIcon(icon.isNull() ? style()->standardIcon(QStyle::SP_FileIcon) : icon);
    ListBox->viewport()->update();
}

const QIcon& TFrame_FileFilter::MainIcon() const {
    return criteriaDelegate_->Icon();
}

QWidget* TFrame_FileFilter::BuildTypesPage() {
    auto* page = Named(new QWidget, QStringLiteral("TabSheet_Types"));
    auto* label = Named(new QLabel(QStringLiteral("Dateitypen:")), QStringLiteral("Label_Types"));
    RadioButton_AllNoTypes =
        Named(new QRadioButton(QStringLiteral("Alle Dateitypen")), QStringLiteral("RadioButton_AllNoTypes"));
    RadioButton_DefTypes =
        Named(new QRadioButton(QStringLiteral("Folgende Typen:")), QStringLiteral("RadioButton_DefTypes"));
    typeChoice_ = new QButtonGroup(this);
    typeChoice_->addButton(RadioButton_AllNoTypes);
    typeChoice_->addButton(RadioButton_DefTypes);

    ListView_Types = Named(new QTreeWidget, kTypeListName);
    ListView_Types->setColumnCount(2);
    ListView_Types->setHeaderHidden(true);
    ListView_Types->setRootIsDecorated(false);
    ListView_Types->setItemsExpandable(false);
    ListView_Types->setUniformRowHeights(true);
    ListView_Types->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView_Types->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView_Types->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView_Types->setIconSize(QSize(16, 16));
    ListView_Types->setColumnWidth(0, 80);
    ListView_Types->setColumnWidth(1, 130);
    // A row only ever travels to the other frame's list; the drop is handled here (eventFilter) and
    // always reported as a copy, so the view never removes the dragged row on its own.
    ListView_Types->setDragEnabled(true);
    ListView_Types->setAcceptDrops(true);
    ListView_Types->setDragDropMode(QAbstractItemView::DragDrop);
    ListView_Types->setDefaultDropAction(Qt::CopyAction);
    ListView_Types->viewport()->installEventFilter(this);

    Button_AddType = Named(new QPushButton(QStringLiteral("Hinzufügen")), QStringLiteral("Button_AddType"));
    Button_DelType = Named(new QPushButton(QStringLiteral("Entfernen")), QStringLiteral("Button_DelType"));

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(Button_AddType);
    buttons->addWidget(Button_DelType);
    buttons->addStretch();
    auto* listRow = new QHBoxLayout;
    listRow->setContentsMargins(17, 0, 0, 0);
    listRow->addWidget(ListView_Types, 1);
    listRow->addLayout(buttons);
    auto* layout = new QVBoxLayout(page);
    layout->setSpacing(2);
    layout->addWidget(label);
    layout->addWidget(RadioButton_AllNoTypes);
    layout->addWidget(RadioButton_DefTypes);
    layout->addLayout(listRow, 1);
    return page;
}

QWidget* TFrame_FileFilter::BuildAttributesPage() {
    auto* page = Named(new QWidget, QStringLiteral("TabSheet_Attributes"));
    auto* label = Named(new QLabel(QStringLiteral("Nur Dateien mit allen markierten Attributen:")),
                        QStringLiteral("Label_Attributes"));
    CheckListBox_Attributes = Named(new QListWidget, QStringLiteral("CheckListBox_Attributes"));
    // Two columns, filled top to bottom: two rows of items, then the next column.
    CheckListBox_Attributes->setFlow(QListView::TopToBottom);
    CheckListBox_Attributes->setWrapping(true);
    CheckListBox_Attributes->setResizeMode(QListView::Adjust);
    CheckListBox_Attributes->setUniformItemSizes(true);
    // Columns of 140 pixels, or as wide as the longest item with its check box needs.
    const int checkWidth = style()->pixelMetric(QStyle::PM_IndicatorWidth) + 12;
    const int columnWidth =
        std::max(140, checkWidth + fontMetrics().horizontalAdvance(QStringLiteral("Schreibgeschützt")) + 12);
    CheckListBox_Attributes->setGridSize(QSize(columnWidth, fontMetrics().height() + 6));
    CheckListBox_Attributes->setFixedHeight(2 * (fontMetrics().height() + 6) + 6);
    CheckListBox_Attributes->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette palette = CheckListBox_Attributes->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    CheckListBox_Attributes->setPalette(palette);
    const std::pair<const char*, std::uint8_t> attributes[] = {{"Schreibgeschützt", kAttrReadOnly},
                                                               {"Versteckt", kAttrHidden},
                                                               {"System", kAttrSystem},
                                                               {"Archiv", kAttrArchive}};
    for (const auto& [caption, bit] : attributes) {
        auto* item = new QListWidgetItem(QString::fromUtf8(caption), CheckListBox_Attributes);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
        item->setData(kAttributeBitRole, bit);
    }
    auto* layout = new QVBoxLayout(page);
    layout->setSpacing(2);
    layout->addWidget(label);
    layout->addWidget(CheckListBox_Attributes);
    layout->addStretch();
    return page;
}

QWidget* TFrame_FileFilter::BuildDatePage() {
    auto* page = Named(new QWidget, QStringLiteral("TabSheet_Date"));
    ComboBox_Time = Named(new QComboBox, QStringLiteral("ComboBox_Time"));
    ComboBox_Time->addItems({QStringLiteral("Änderungsdatum:"), QStringLiteral("Erstellungsdatum:")});
    CheckBox_LaterThan =
        Named(new QCheckBox(QStringLiteral("Später als:")), QStringLiteral("CheckBox_LaterThan"));
    CheckBox_EarlierThan =
        Named(new QCheckBox(QStringLiteral("Früher als:")), QStringLiteral("CheckBox_EarlierThan"));
    const QString format = PickerDateFormat();
    const auto makePicker = [&format](const QString& name) {
        auto* picker = Named(new QDateEdit, name);
        picker->setCalendarPopup(true);
        picker->setDisplayFormat(format);
        // Day 0 means "no bound": the earliest date offered is the first day after it.
        picker->setMinimumDate(kDayZero.addDays(1));
        return picker;
    };
    DateTimePicker_LaterThan = makePicker(QStringLiteral("DateTimePicker_LaterThan"));
    DateTimePicker_EarlierThan = makePicker(QStringLiteral("DateTimePicker_EarlierThan"));

    auto* grid = new QGridLayout;
    grid->setContentsMargins(17, 0, 0, 0);
    grid->addWidget(CheckBox_LaterThan, 0, 0);
    grid->addWidget(DateTimePicker_LaterThan, 0, 1);
    grid->addWidget(CheckBox_EarlierThan, 1, 0);
    grid->addWidget(DateTimePicker_EarlierThan, 1, 1);
    grid->setColumnStretch(2, 1);
    auto* comboRow = new QHBoxLayout;
    comboRow->addWidget(ComboBox_Time);
    comboRow->addStretch();
    auto* layout = new QVBoxLayout(page);
    layout->setSpacing(4);
    layout->addLayout(comboRow);
    layout->addLayout(grid);
    layout->addStretch();
    return page;
}

QWidget* TFrame_FileFilter::BuildSizePage() {
    auto* page = Named(new QWidget, QStringLiteral("TabSheet_Size"));
    auto* label =
        Named(new QLabel(QStringLiteral("Nur Dateien mit folgender Größe:")), QStringLiteral("Label_Size"));
    CheckBox_Size1 = Named(new QCheckBox(QStringLiteral("Größer als:")), QStringLiteral("CheckBox_Size1"));
    CheckBox_Size2 = Named(new QCheckBox(QStringLiteral("Kleiner als:")), QStringLiteral("CheckBox_Size2"));
    SpinEdit_Size1 = Named(new TSpinEdit, QStringLiteral("SpinEdit_Size1"));
    SpinEdit_Size2 = Named(new TSpinEdit, QStringLiteral("SpinEdit_Size2"));
    for (TSpinEdit* box : {SpinEdit_Size1, SpinEdit_Size2}) {
        box->setRange(0, kSizeLimit);
        box->setFixedWidth(std::max(70, box->sizeHint().width()));
    }
    ComboBox_Size1 = Named(new QComboBox, QStringLiteral("ComboBox_Size1"));
    ComboBox_Size1->addItems(
        {QStringLiteral("Byte"), QStringLiteral("KB"), QStringLiteral("MB"), QStringLiteral("GB")});
    ComboBox_Size2 = Named(new QComboBox, QStringLiteral("ComboBox_Size2"));
    for (int i = 0; i < ComboBox_Size1->count(); ++i) {
        ComboBox_Size2->addItem(ComboBox_Size1->itemText(i));
    }
    ComboBox_Size1->setCurrentIndex(0);
    ComboBox_Size2->setCurrentIndex(0);

    auto* grid = new QGridLayout;
    grid->setContentsMargins(17, 0, 0, 0);
    grid->addWidget(CheckBox_Size1, 0, 0);
    grid->addWidget(SpinEdit_Size1, 0, 1);
    grid->addWidget(ComboBox_Size1, 0, 2);
    grid->addWidget(CheckBox_Size2, 1, 0);
    grid->addWidget(SpinEdit_Size2, 1, 1);
    grid->addWidget(ComboBox_Size2, 1, 2);
    grid->setColumnStretch(3, 1);
    auto* layout = new QVBoxLayout(page);
    layout->setSpacing(4);
    layout->addWidget(label);
    layout->addLayout(grid);
    layout->addStretch();
    return page;
}

QWidget* TFrame_FileFilter::BuildMaskPage() {
    auto* page = Named(new QWidget, QStringLiteral("TabSheet_Mask"));
    auto* label =
        Named(new QLabel(QStringLiteral("Dateiname muss Maske entsprechen:")), QStringLiteral("Label_Mask"));
    Edit_Mask = Named(new QLineEdit, QStringLiteral("Edit_Mask"));
    Label_MaskInfo = Named(new QLabel(QStringLiteral("?")), QStringLiteral("Label_MaskInfo"));
    Label_MaskInfo->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont underlined;
    underlined.setUnderline(true);
    Label_MaskInfo->setFont(underlined);
    QPalette palette = Label_MaskInfo->palette();
    palette.setColor(QPalette::WindowText, Qt::blue);
    Label_MaskInfo->setPalette(palette);
    Label_MaskInfo->setCursor(Qt::PointingHandCursor);
    Label_MaskInfo->installEventFilter(this);

    auto* labelRow = new QHBoxLayout;
    labelRow->addWidget(label, 1);
    labelRow->addWidget(Label_MaskInfo);
    auto* layout = new QVBoxLayout(page);
    layout->setSpacing(4);
    layout->addLayout(labelRow);
    layout->addWidget(Edit_Mask);
    layout->addStretch();
    return page;
}

void TFrame_FileFilter::SetFilter(const cFileFilter& filter) {
    (filter.AllNoTypes ? RadioButton_AllNoTypes : RadioButton_DefTypes)->setChecked(true);

    ListView_Types->clear();
    typeImages_.clear();
    for (const std::string& type : filter.Types) {
        AddTypeItem(FromModel(type).mid(1));
    }

    for (int i = 0; i < CheckListBox_Attributes->count(); ++i) {
        QListWidgetItem* item = CheckListBox_Attributes->item(i);
        const auto bit = static_cast<std::uint8_t>(item->data(kAttributeBitRole).toUInt());
        item->setCheckState((filter.Attributes & bit) != 0 ? Qt::Checked : Qt::Unchecked);
    }

    const auto showSize = [](const cSizeLimit& limit, QCheckBox* check, TSpinEdit* number, QComboBox* unit) {
        check->setChecked(limit.Enabled);
        const cSizeInUnit split = SplitSize(limit.Bytes);
        number->setValue(static_cast<int>(std::min<std::uint64_t>(split.Number, kSizeLimit)));
        unit->setCurrentIndex(split.Unit);
    };
    showSize(filter.Size1, CheckBox_Size1, SpinEdit_Size1, ComboBox_Size1);
    showSize(filter.Size2, CheckBox_Size2, SpinEdit_Size2, ComboBox_Size2);

    Edit_Mask->setText(FromModel(filter.Mask));
    AttachFilter(filter);
}

void TFrame_FileFilter::AttachFilter(const cFileFilter& filter) {
    RadioButton_AllNoTypes->setText(filter.Exclude ? QStringLiteral("Keine Dateitypen")
                                                   : QStringLiteral("Alle Dateitypen"));
    workingDates_[0] = filter.Dates[0];
    workingDates_[1] = filter.Dates[1];
    ComboBox_TimeClick();
}

void TFrame_FileFilter::GetFilter(cFileFilter& filter) {
    filter.AllNoTypes = RadioButton_AllNoTypes->isChecked();

    filter.Types.clear();
    for (int i = 0; i < ListView_Types->topLevelItemCount(); ++i) {
        filter.Types.push_back("." + ToModel(ListView_Types->topLevelItem(i)->text(0)));
    }

    std::uint8_t attributes = 0;
    for (int i = 0; i < CheckListBox_Attributes->count(); ++i) {
        const QListWidgetItem* item = CheckListBox_Attributes->item(i);
        if (item->checkState() == Qt::Checked) {
            attributes |= static_cast<std::uint8_t>(item->data(kAttributeBitRole).toUInt());
        }
    }
    filter.Attributes = attributes;

    const auto takeSize = [](cSizeLimit& limit, const QCheckBox* check, TSpinEdit* number,
                             const QComboBox* unit) {
        number->interpretText();
        limit.Enabled = check->isChecked();
        limit.Bytes = JoinSize(static_cast<std::uint64_t>(number->value()), unit->currentIndex());
    };
    takeSize(filter.Size1, CheckBox_Size1, SpinEdit_Size1, ComboBox_Size1);
    takeSize(filter.Size2, CheckBox_Size2, SpinEdit_Size2, ComboBox_Size2);

    filter.Mask = ToModel(Edit_Mask->text());
    filter.Dates[0] = workingDates_[0];
    filter.Dates[1] = workingDates_[1];
}

void TFrame_FileFilter::ResetFilter(bool full) {
    ListBox->setCurrentRow(0);
    ListBoxClick();
    RadioButton_AllNoTypes->setChecked(true);
    ListView_Types->clear();
    typeImages_.clear();
    for (int i = 0; i < CheckListBox_Attributes->count(); ++i) {
        CheckListBox_Attributes->item(i)->setCheckState(Qt::Unchecked);
    }
    if (full) {
        workingDates_[0] = cDatePair();
        workingDates_[1] = cDatePair();
        CheckBox_Size1->setChecked(false);
        CheckBox_Size2->setChecked(false);
        SpinEdit_Size1->setValue(0);
        SpinEdit_Size2->setValue(0);
        ComboBox_Size1->setCurrentIndex(0);
        ComboBox_Size2->setCurrentIndex(0);
        Edit_Mask->clear();
    }
    ComboBox_Time->setCurrentIndex(kModificationTime);
    ComboBox_TimeClick();
}

void TFrame_FileFilter::AddTypeItem(const QString& extension) {
    const cShellTypeInfo info = desktop_.ShellTypeInfo(extension);
    typeImages_.append(info.Icon);

    auto* row = new QTreeWidgetItem;
    row->setText(0, extension);
    row->setText(1, info.TypeName);
    row->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled);
    ShowImage(row, static_cast<int>(typeImages_.size()) - 1);

    // Sorted by caption the way a reader expects, "doc" beside "DOC"; equal captions keep entry order.
    const auto goesBefore = [&extension](const QString& caption) {
        const int order = extension.compare(caption, Qt::CaseInsensitive);
        return order < 0 || (order == 0 && extension.compare(caption, Qt::CaseSensitive) < 0);
    };
    int position = ListView_Types->topLevelItemCount();
    for (int i = 0; i < ListView_Types->topLevelItemCount(); ++i) {
        if (goesBefore(ListView_Types->topLevelItem(i)->text(0))) {
            position = i;
            break;
        }
    }
    ListView_Types->insertTopLevelItem(position, row);
}

int TFrame_FileFilter::ImageIndexOf(const QTreeWidgetItem* row) {
    return row->data(0, kImageIndexRole).toInt();
}

void TFrame_FileFilter::ShowImage(QTreeWidgetItem* row, int imageIndex) {
    row->setData(0, kImageIndexRole, imageIndex);
    row->setIcon(0, typeImages_.value(imageIndex));
}

bool TFrame_FileFilter::HasType(const QString& extension) const {
    for (int i = 0; i < ListView_Types->topLevelItemCount(); ++i) {
        if (SameExtension(ListView_Types->topLevelItem(i)->text(0), extension)) {
            return true;
        }
    }
    return false;
}

void TFrame_FileFilter::ListBoxClick() {
    const int row = ListBox->currentRow();
    if (row >= 0 && row < PageControl->count()) {
        PageControl->setCurrentIndex(row);
    }
}

void TFrame_FileFilter::Button_AddTypeClick() {
    QInputDialog dialog(this);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setWindowTitle(QStringLiteral("Dateitypen hinzufügen"));
    dialog.setLabelText(QStringLiteral(
        "Geben Sie eine oder - durch Semikolons getrennt - mehrere Dateinamenserweiterungen an."));
    dialog.setTextValue(QString());
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    const QString line = dialog.textValue();
    if (line.isEmpty()) {
        return;
    }
    for (const QString& part : SplitExtensionInput(line)) {
        // A lone "." makes no extension either: it is skipped like an empty part.
        const QString extension = ExtensionFromPart(part);
        if (extension.isEmpty() || HasType(extension)) {
            continue;
        }
        AddTypeItem(extension);
    }
}

void TFrame_FileFilter::Button_DelTypeClick() {
    const QList<QTreeWidgetItem*> selected = ListView_Types->selectedItems();
    if (selected.isEmpty()) {
        return;
    }
    QTreeWidgetItem* removed = selected.front();
    const int removedImage = ImageIndexOf(removed);
    delete removed;
    if (removedImage >= 0 && removedImage < typeImages_.size()) {
        typeImages_.removeAt(removedImage);
    }
    for (int i = 0; i < ListView_Types->topLevelItemCount(); ++i) {
        QTreeWidgetItem* row = ListView_Types->topLevelItem(i);
        const int image = ImageIndexOf(row);
        if (image > removedImage) {
            ShowImage(row, image - 1);
        }
    }
    // The list may have moved the selection on to the next row; the button follows what is shown.
    ListView_TypesSelectItem();
}

void TFrame_FileFilter::ListView_TypesSelectItem() {
    Button_DelType->setEnabled(!ListView_Types->selectedItems().isEmpty());
}

namespace {

// The filter frame whose type list `source` is, or none.
TFrame_FileFilter* FrameOfTypeList(const QObject* source) {
    if (source == nullptr || source->objectName() != kTypeListName) {
        return nullptr;
    }
    for (QObject* parent = source->parent(); parent != nullptr; parent = parent->parent()) {
        if (auto* frame = qobject_cast<TFrame_FileFilter*>(parent)) {
            return frame->ListView_Types == source ? frame : nullptr;
        }
    }
    return nullptr;
}

}  // namespace

bool TFrame_FileFilter::ListView_TypesDragOver(const QObject* source) const {
    const TFrame_FileFilter* sourceFrame = FrameOfTypeList(source);
    return sourceFrame != nullptr && sourceFrame != this;
}

void TFrame_FileFilter::ListView_TypesDragDrop(const QObject* source) {
    if (!ListView_TypesDragOver(source)) {
        return;
    }
    TFrame_FileFilter* sourceFrame = FrameOfTypeList(source);
    const QList<QTreeWidgetItem*> selected = sourceFrame->ListView_Types->selectedItems();
    if (selected.isEmpty()) {
        return;
    }
    const QString extension = selected.front()->text(0);
    if (!HasType(extension)) {
        AddTypeItem(extension);
    }
    sourceFrame->Button_DelTypeClick();
}

bool TFrame_FileFilter::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ListView_Types->viewport()) {
        switch (event->type()) {
            case QEvent::DragEnter:
            case QEvent::DragMove: {
                auto* drag = static_cast<QDragMoveEvent*>(event);
                if (ListView_TypesDragOver(drag->source())) {
                    drag->setDropAction(Qt::CopyAction);
                    drag->accept();
                } else {
                    drag->ignore();
                }
                return true;
            }
            case QEvent::Drop: {
                auto* drop = static_cast<QDropEvent*>(event);
                if (ListView_TypesDragOver(drop->source())) {
                    ListView_TypesDragDrop(drop->source());
                    drop->setDropAction(Qt::CopyAction);
                    drop->accept();
                } else {
                    drop->ignore();
                }
                return true;
            }
            default:
                break;
        }
    } else if (watched == Label_MaskInfo && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton &&
            Label_MaskInfo->rect().contains(mouse->position().toPoint())) {
            Label_MaskInfoClick();
            return true;
        }
    }
    return QFrame::eventFilter(watched, event);
}

void TFrame_FileFilter::ComboBox_TimeClick() {
    const int kind = std::clamp(ComboBox_Time->currentIndex(), 0, 1);
    const cDatePair& pair = workingDates_[kind];
    const QDate today = QDate::currentDate();
    showingDates_ = true;
    DateTimePicker_LaterThan->setDate(pair.LaterThan != 0.0 ? DateOfDay(pair.LaterThan) : today.addDays(-1));
    DateTimePicker_EarlierThan->setDate(pair.EarlierThan != 0.0 ? DateOfDay(pair.EarlierThan) : today);
    CheckBox_LaterThan->setChecked(pair.LaterThan != 0.0);
    CheckBox_EarlierThan->setChecked(pair.EarlierThan != 0.0);
    showingDates_ = false;
}

void TFrame_FileFilter::CheckBox_LaterThanClick() {
    if (showingDates_) {
        return;
    }
    const int kind = std::clamp(ComboBox_Time->currentIndex(), 0, 1);
    workingDates_[kind].LaterThan =
        CheckBox_LaterThan->isChecked() ? DayOfDate(DateTimePicker_LaterThan->date()) : 0.0;
}

void TFrame_FileFilter::CheckBox_EarlierThanClick() {
    if (showingDates_) {
        return;
    }
    const int kind = std::clamp(ComboBox_Time->currentIndex(), 0, 1);
    workingDates_[kind].EarlierThan =
        CheckBox_EarlierThan->isChecked() ? DayOfDate(DateTimePicker_EarlierThan->date()) : 0.0;
}

void TFrame_FileFilter::Label_MaskInfoClick() {
    QMessageBox box(QMessageBox::Information, QStringLiteral("Maske"), kMaskHelpText, QMessageBox::Ok, this);
    FitCaption(box);
    box.exec();
}

}  // namespace trx

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/editors/TFrame_Options.h"

#include "engine/TargetPath.h"
#include "model/BackUpOptions.h"
#include "ui/common/ModelText.h"
#include "ui/common/Named.h"
#include "ui/editors/TSpinEdit.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

namespace trx {

namespace {

constexpr int kIndent = 17;  // the transfer controls stand under the text of their check box

}  // namespace

TFrame_Options::TFrame_Options(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("Frame_Options"));

    CheckBox_SubFolders = Named(new QCheckBox(QStringLiteral("Unterordner sichern")), "CheckBox_SubFolders");
    CheckBox_OnlyNewFiles = Named(new QCheckBox(QStringLiteral("Nur neue oder bearbeitete Dateien kopieren")),
                                  "CheckBox_OnlyNewFiles");
    CheckBox_DelDeletedFiles =
        Named(new QCheckBox(QStringLiteral("Gelöschte Dateien aus dem Zielordner entfernen")),
              "CheckBox_DelDeletedFiles");
    CheckBox_TransferDirNames =
        Named(new QCheckBox(QStringLiteral("Quellverzeichnisnamen übernehmen")), "CheckBox_TransferDirNames");
    QLayout* transferLayout = BuildTransferControls();
    auto* timeLabel = Named(new QLabel(QStringLiteral("Zeitstempel kopierter Dateien:")), "Label_TimeStamp");
    QWidget* timePanel = BuildTimeStampPanel();
    QLayout* protocolRow = BuildProtocolRow();

    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(4);
    layout->addWidget(CheckBox_SubFolders);
    layout->addWidget(CheckBox_OnlyNewFiles);
    layout->addWidget(CheckBox_DelDeletedFiles);
    layout->addWidget(CheckBox_TransferDirNames);
    layout->addLayout(transferLayout);
    layout->addSpacing(4);
    layout->addWidget(timeLabel);
    layout->addWidget(timePanel);
    layout->addSpacing(4);
    layout->addLayout(protocolRow);
    layout->addStretch();

    for (QAbstractButton* button : {static_cast<QAbstractButton*>(CheckBox_TransferDirNames),
                                    static_cast<QAbstractButton*>(RadioButton_TransferDirNameLevel),
                                    static_cast<QAbstractButton*>(RadioButton_TransferAllDirNames),
                                    static_cast<QAbstractButton*>(CheckBox_TransferDriveName)}) {
        connect(button, &QAbstractButton::toggled, this, [this] { CheckBox_TransferDirNamesClick(); });
    }
    // Keyboard tracking reports every keystroke that makes a number in range, so the example follows
    // the typing.
    connect(SpinEdit_TransferDirNameLevel, &QSpinBox::valueChanged, this,
            [this] { CheckBox_TransferDirNamesClick(); });
    connect(Edit_ExSource, &QLineEdit::textChanged, this, [this] { CheckBox_TransferDirNamesClick(); });
    connect(Edit_ExDestination, &QLineEdit::textChanged, this, [this] { CheckBox_TransferDirNamesClick(); });

    Edit_ExSource->setText(kSampleSourcePath);
    Edit_ExDestination->setText(kSampleDestinationPath);
    SetOptions(cBackUpOptions());
}

QLayout* TFrame_Options::BuildTransferControls() {
    RadioButton_TransferDirNameLevel =
        Named(new QRadioButton(QStringLiteral("Anzahl Unterordner:")), "RadioButton_TransferDirNameLevel");
    SpinEdit_TransferDirNameLevel = Named(new TSpinEdit, "SpinEdit_TransferDirNameLevel");
    SpinEdit_TransferDirNameLevel->setRange(1, 63);
    SpinEdit_TransferDirNameLevel->setValue(1);
    SpinEdit_TransferDirNameLevel->setFixedWidth(
        std::max(50, SpinEdit_TransferDirNameLevel->sizeHint().width()));
    RadioButton_TransferAllDirNames =
        Named(new QRadioButton(QStringLiteral("Alle Unterordner")), "RadioButton_TransferAllDirNames");
    CheckBox_TransferDriveName = Named(new QCheckBox(QStringLiteral("Auch Laufwerksnamen ggf. übernehmen")),
                                       "CheckBox_TransferDriveName");
    levelGroup_ = new QButtonGroup(this);
    levelGroup_->addButton(RadioButton_TransferDirNameLevel);
    levelGroup_->addButton(RadioButton_TransferAllDirNames);
    BuildExamplePanel();

    auto* levelRow = new QHBoxLayout;
    levelRow->addWidget(RadioButton_TransferDirNameLevel);
    levelRow->addWidget(SpinEdit_TransferDirNameLevel);
    levelRow->addStretch();
    auto* transferLayout = new QVBoxLayout;
    transferLayout->setContentsMargins(kIndent, 0, 0, 0);
    transferLayout->setSpacing(2);
    transferLayout->addLayout(levelRow);
    transferLayout->addWidget(RadioButton_TransferAllDirNames);
    transferLayout->addWidget(CheckBox_TransferDriveName);
    transferLayout->addWidget(Panel_TransferDirNameExample);
    return transferLayout;
}

QWidget* TFrame_Options::BuildTimeStampPanel() {
    auto* timePanel = Named(new QWidget, "Panel_TimeStamp");
    RadioButton_TimeOriginal =
        Named(new QRadioButton(QStringLiteral("Zeitstempel der Originaldateien übernehmen")),
              "RadioButton_TimeOriginal");
    RadioButton_TimeBackup = Named(new QRadioButton(QStringLiteral("Zeit des Sicherungsvorgangs verwenden")),
                                   "RadioButton_TimeBackup");
    timeGroup_ = new QButtonGroup(this);
    timeGroup_->addButton(RadioButton_TimeOriginal);
    timeGroup_->addButton(RadioButton_TimeBackup);
    auto* timeLayout = new QVBoxLayout(timePanel);
    timeLayout->setContentsMargins(kIndent, 0, 0, 0);
    timeLayout->setSpacing(2);
    timeLayout->addWidget(RadioButton_TimeOriginal);
    timeLayout->addWidget(RadioButton_TimeBackup);
    return timePanel;
}

QLayout* TFrame_Options::BuildProtocolRow() {
    auto* protocolLabel = Named(new QLabel(QStringLiteral("Protokoll:")), "Label_Protocol");
    ComboBox_Protocol = Named(new QComboBox, "ComboBox_Protocol");
    ComboBox_Protocol->addItems({QStringLiteral("Kein Protokoll"),
                                 QStringLiteral("Normal (Jedes Sicherungsverzeichnis einzeln)"),
                                 QStringLiteral("Detailliert (Jede kopierte Datei erwähnen)")});
    auto* protocolRow = new QHBoxLayout;
    protocolRow->addWidget(protocolLabel);
    protocolRow->addWidget(ComboBox_Protocol, 1);
    return protocolRow;
}

void TFrame_Options::BuildExamplePanel() {
    Panel_TransferDirNameExample = Named(new QFrame, "Panel_TransferDirNameExample");
    Label_Example = Named(new QLabel(QStringLiteral("Beispiel")), "Label_Example");
    // Only the weight is set here, so family and size still follow the owner's font.
    QFont bold;
    bold.setBold(true);
    Label_Example->setFont(bold);
    auto* rule = Named(new QFrame, "Bevel_Example");
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(0);
    grid->setColumnStretch(1, 1);
    const auto addRow = [&](int row, const QString& caption, const char* labelName, const char* editName) {
        auto* label = Named(new QLabel(caption), labelName);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto* edit = Named(new QLineEdit, editName);
        edit->setReadOnly(true);
        edit->setFrame(false);
        edit->setFocusPolicy(Qt::ClickFocus);
        QPalette palette = edit->palette();
        palette.setColor(QPalette::Base, palette.color(QPalette::Button));
        edit->setPalette(palette);
        grid->addWidget(label, row, 0);
        grid->addWidget(edit, row, 1);
        return edit;
    };
    Edit_ExSource = addRow(0, QStringLiteral("Quelle:"), "Label_ExSource", "Edit_ExSource");
    Edit_ExDestination =
        addRow(1, QStringLiteral("allg. Ziel:"), "Label_ExDestination", "Edit_ExDestination");
    Edit_ExDestination2 =
        addRow(2, QStringLiteral("spez. Ziel:"), "Label_ExDestination2", "Edit_ExDestination2");

    auto* layout = new QVBoxLayout(Panel_TransferDirNameExample);
    layout->setContentsMargins(0, 2, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(Label_Example);
    layout->addWidget(rule);
    layout->addLayout(grid);
}

void TFrame_Options::SetOptions(const cBackUpOptions& options) {
    CheckBox_SubFolders->setChecked(options.SubFolders);
    CheckBox_OnlyNewFiles->setChecked(options.OnlyNewFiles);
    CheckBox_DelDeletedFiles->setChecked(options.DelDeletedFiles);
    CheckBox_TransferDirNames->setChecked(options.TransferDirNames());
    // A fresh set (byte 0) shows the level choice with level 1, not "all names".
    const bool levelChosen = options.TransferFlags == 0 || !options.TransferAllDirNames();
    (levelChosen ? RadioButton_TransferDirNameLevel : RadioButton_TransferAllDirNames)->setChecked(true);
    SpinEdit_TransferDirNameLevel->setValue(levelChosen ? static_cast<int>(options.TransferDirNameLevel())
                                                        : 1);
    CheckBox_TransferDriveName->setChecked(options.TransferDriveName());
    CheckBox_TransferDirNamesClick();
    (options.TimeOriginal ? RadioButton_TimeOriginal : RadioButton_TimeBackup)->setChecked(true);
    // A level outside the list (only a foreign file holds one) shows the item the protocol writer
    // treats it as: below 0 writes nothing, above 2 writes everything.
    ComboBox_Protocol->setCurrentIndex(std::clamp(static_cast<int>(options.Protocol), 0, 2));
}

void TFrame_Options::GetOptions(cBackUpOptions& options) {
    SpinEdit_TransferDirNameLevel->interpretText();
    options.SubFolders = CheckBox_SubFolders->isChecked();
    options.OnlyNewFiles = CheckBox_OnlyNewFiles->isChecked();
    options.DelDeletedFiles = CheckBox_DelDeletedFiles->isChecked();
    options.TransferFlags = GetTransferByte();
    options.TimeOriginal = RadioButton_TimeOriginal->isChecked();
    options.Protocol = static_cast<std::int8_t>(ComboBox_Protocol->currentIndex());
}

std::uint8_t TFrame_Options::GetTransferByte() const {
    return EncodeTransferFlags(CheckBox_TransferDirNames->isChecked(),
                               !RadioButton_TransferDirNameLevel->isChecked(),
                               static_cast<unsigned>(SpinEdit_TransferDirNameLevel->value()),
                               CheckBox_TransferDriveName->isChecked());
}

void TFrame_Options::CheckBox_TransferDirNamesClick() {
    const bool transfer = CheckBox_TransferDirNames->isChecked();
    RadioButton_TransferDirNameLevel->setEnabled(transfer);
    SpinEdit_TransferDirNameLevel->setEnabled(transfer);
    RadioButton_TransferAllDirNames->setEnabled(transfer);
    CheckBox_TransferDriveName->setEnabled(transfer);

    const std::string suffix = GetTargetSubPath(ToModel(Edit_ExSource->text()), GetTransferByte());
    Edit_ExDestination2->setText(Edit_ExDestination->text() + FromModel(suffix));
}

}  // namespace trx

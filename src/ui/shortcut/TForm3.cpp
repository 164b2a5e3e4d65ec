// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/shortcut/TForm3.h"

#include "platform/FileSystem.h"
#include "ui/common/ButtonRow.h"
#include "ui/common/CaptionWidth.h"
#include "ui/common/FixedDialogFrame.h"
#include "ui/common/ModelText.h"
#include "ui/common/Named.h"
#include "ui/common/TrailingSlash.h"
#include "ui/shortcut/ScheduleStore.h"
#include "ui/shortcut/ScheduleUnits.h"
#include "ui/shortcut/Shortcut.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QShowEvent>
#include <QStandardPaths>
#include <QTimeEdit>
#include <QUrl>
#include <QVBoxLayout>

namespace trx {

const QString TForm3::kInvalidNameCharacters = QStringLiteral("\\/:*?\"<>|");

namespace {

const QString kInvalidInputCaption = QStringLiteral("Ungültige oder unvollständige Angaben");

QString ExistingFolder(QStandardPaths::StandardLocation location) {
    const QString path = QStandardPaths::writableLocation(location);
    return !path.isEmpty() && QFileInfo(path).isDir() ? path : QString();
}

}  // namespace

TForm3::TForm3(platform::FileSystem& fs, cScheduleStore& schedules, QWidget* parent)
    : QDialog(parent), schedules_(schedules), fs_(fs) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Projektverknüpfung anlegen"));
    UseFixedDialogFrame(*this);
    QWidget* linkGroup = BuildLinkGroup();
    QWidget* optionsGroup = BuildOptionsGroup();

    Button_OK = Named(new QPushButton(QStringLiteral("OK")), "Button_OK");
    Button_OK->setDefault(true);
    Button_Cancel = Named(new QPushButton(QStringLiteral("Abbrechen")), "Button_Cancel");
    QHBoxLayout* buttons = RightAlignedButtons({Button_OK, Button_Cancel});

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(linkGroup);
    layout->addWidget(optionsGroup);
    layout->addWidget(BuildScheduleGroup());
    layout->addLayout(buttons);
    // A fixed dialog border: the dialog takes the size of its content and cannot be resized.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    Edit_LinkName->installEventFilter(this);
    Edit_Description->installEventFilter(this);
    connect(Button_SearchDir, &QPushButton::clicked, this, [this] { Button_SearchDirClick(); });
    connect(ComboBox_AfterFinishing, &QComboBox::currentIndexChanged, this,
            [this] { ComboBox_AfterFinishingClick(); });
    connect(Button_OK, &QPushButton::clicked, this, [this] { Button_OKClick(); });
    connect(Button_Cancel, &QPushButton::clicked, this, [this] { reject(); });
    connect(ComboBox_ScheduleKind, &QComboBox::currentIndexChanged, this,
            [this] { ComboBox_ScheduleKindChange(); });
    connect(Button_SaveSchedule, &QPushButton::clicked, this, [this] { Button_SaveScheduleClick(); });
    connect(Button_RemoveSchedule, &QPushButton::clicked, this, [this] { Button_RemoveScheduleClick(); });
    connect(ListBox_Schedules, &QListWidget::itemSelectionChanged, this,
            [this] { Button_RemoveSchedule->setEnabled(!ListBox_Schedules->selectedItems().isEmpty()); });
    FormShow();
}

QWidget* TForm3::BuildLinkGroup() {
    Edit_Dir = Named(new QLineEdit, "Edit_Dir");
    Edit_Dir->setMinimumWidth(280);
    Button_SearchDir = Named(new QPushButton(QStringLiteral("...")), "Button_SearchDir");
    Button_SearchDir->setAutoDefault(false);
    Button_SearchDir->setFixedWidth(Button_SearchDir->sizeHint().height() + 4);
    Edit_LinkName = Named(new QLineEdit, "Edit_LinkName");
    Label_Suffix = Named(new QLabel(kShortcutSuffix), "Label_Suffix");
    Edit_Description = Named(new QLineEdit, "Edit_Description");

    auto* linkGroup = Named(new QGroupBox(QStringLiteral("Verknüpfung")), "GroupBox_Link");
    auto* linkGrid = new QGridLayout(linkGroup);
    auto* dirLabel = new QLabel(QStringLiteral("Ort:"));
    dirLabel->setBuddy(Edit_Dir);
    auto* nameLabel = new QLabel(QStringLiteral("Name:"));
    nameLabel->setBuddy(Edit_LinkName);
    auto* descriptionLabel = new QLabel(QStringLiteral("Beschreibung:"));
    descriptionLabel->setBuddy(Edit_Description);
    linkGrid->addWidget(dirLabel, 0, 0);
    linkGrid->addWidget(Edit_Dir, 0, 1);
    linkGrid->addWidget(Button_SearchDir, 0, 2);
    linkGrid->addWidget(nameLabel, 1, 0);
    linkGrid->addWidget(Edit_LinkName, 1, 1);
    linkGrid->addWidget(Label_Suffix, 1, 2);
    linkGrid->addWidget(descriptionLabel, 2, 0);
    linkGrid->addWidget(Edit_Description, 2, 1, 1, 2);
    linkGrid->setColumnStretch(1, 1);
    return linkGroup;
}

QWidget* TForm3::BuildOptionsGroup() {
    CheckBox_Silent =
        Named(new QCheckBox(QStringLiteral("Automatisches Programmende nach Sicherungsvorgang")),
              "CheckBox_Silent");
    CheckBox_Hidden = Named(new QCheckBox(QStringLiteral("Statusfenster ausblenden")), "CheckBox_Hidden");
    ComboBox_AfterFinishing = Named(new QComboBox, "ComboBox_AfterFinishing");
    ComboBox_AfterFinishing->addItems({QStringLiteral("Keine Aktion"),
                                       QStringLiteral("Computer herunterfahren"),
                                       QStringLiteral("Befehl ausführen")});
    Edit_ExecLine = Named(new QLineEdit, "Edit_ExecLine");

    auto* optionsGroup = Named(new QGroupBox(QStringLiteral("Optionen")), "GroupBox_Options");
    auto* options = new QVBoxLayout(optionsGroup);
    options->addWidget(CheckBox_Silent);
    options->addWidget(CheckBox_Hidden);
    options->addSpacing(4);
    auto* actionLabel = new QLabel(QStringLiteral("Aktion nach Ende des Sicherungsvorgangs:"));
    actionLabel->setBuddy(ComboBox_AfterFinishing);
    options->addWidget(actionLabel);
    options->addWidget(ComboBox_AfterFinishing);
    auto* execRow = new QHBoxLayout;
    auto* execLabel = new QLabel(QStringLiteral("Befehlszeile:"));
    execLabel->setBuddy(Edit_ExecLine);
    execRow->addWidget(execLabel);
    execRow->addWidget(Edit_ExecLine, 1);
    options->addLayout(execRow);
    return optionsGroup;
}

QWidget* TForm3::BuildScheduleGroup() {
    ComboBox_ScheduleKind = Named(new QComboBox, "ComboBox_ScheduleKind");
    ComboBox_ScheduleKind->addItems(
        {QStringLiteral("Täglich"), QStringLiteral("Wöchentlich"), QStringLiteral("Bei jeder Anmeldung")});
    ComboBox_Weekday = Named(new QComboBox, "ComboBox_Weekday");
    ComboBox_Weekday->addItems({QStringLiteral("Montag"), QStringLiteral("Dienstag"),
                                QStringLiteral("Mittwoch"), QStringLiteral("Donnerstag"),
                                QStringLiteral("Freitag"), QStringLiteral("Samstag"),
                                QStringLiteral("Sonntag")});
    TimeEdit_Schedule = Named(new QTimeEdit(QTime(2, 30)), "TimeEdit_Schedule");
    TimeEdit_Schedule->setDisplayFormat(QStringLiteral("HH:mm"));
    CheckBox_NotifyAlways =
        Named(new QCheckBox(QStringLiteral("Nach jeder Sicherung benachrichtigen, nicht nur bei Problemen")),
              "CheckBox_NotifyAlways");
    Button_SaveSchedule = Named(new QPushButton(QStringLiteral("Zeitplan anlegen")), "Button_SaveSchedule");
    Button_SaveSchedule->setAutoDefault(false);
    ListBox_Schedules = Named(new QListWidget, "ListBox_Schedules");
    ListBox_Schedules->setSelectionMode(QAbstractItemView::SingleSelection);
    ListBox_Schedules->setFixedHeight(ListBox_Schedules->fontMetrics().lineSpacing() * 4 + 8);
    // Long paths lose their middle, not their file name; the whole path is the item's tool tip.
    ListBox_Schedules->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ListBox_Schedules->setTextElideMode(Qt::ElideMiddle);
    Button_RemoveSchedule =
        Named(new QPushButton(QStringLiteral("Zeitplan entfernen")), "Button_RemoveSchedule");
    Button_RemoveSchedule->setAutoDefault(false);
    Button_RemoveSchedule->setEnabled(false);

    auto* group = Named(new QGroupBox(QStringLiteral("Zeitplan")), "GroupBox_Schedule");
    auto* rows = new QVBoxLayout(group);
    auto* when = new QHBoxLayout;
    auto* kindLabel = new QLabel(QStringLiteral("Ausführen:"));
    kindLabel->setBuddy(ComboBox_ScheduleKind);
    auto* timeLabel = new QLabel(QStringLiteral("um"));
    timeLabel->setBuddy(TimeEdit_Schedule);
    when->addWidget(kindLabel);
    when->addWidget(ComboBox_ScheduleKind);
    when->addWidget(ComboBox_Weekday);
    when->addWidget(timeLabel);
    when->addWidget(TimeEdit_Schedule);
    when->addStretch();
    when->addWidget(Button_SaveSchedule);
    rows->addLayout(when);
    rows->addWidget(CheckBox_NotifyAlways);
    auto* listLabel = new QLabel(QStringLiteral("Angelegte Zeitpläne:"));
    listLabel->setBuddy(ListBox_Schedules);
    rows->addWidget(listLabel);
    rows->addWidget(ListBox_Schedules);
    auto* removeRow = new QHBoxLayout;
    auto* note =
        Named(new QLabel(QStringLiteral("Läuft ohne Fenster (/h /s) als systemd-Timer des Benutzers.")),
              "Label_ScheduleNote");
    note->setEnabled(false);
    removeRow->addWidget(note, 1);
    removeRow->addWidget(Button_RemoveSchedule);
    rows->addLayout(removeRow);
    ComboBox_ScheduleKindChange();
    return group;
}

int TForm3::Execute(const QString& projectPath, const QString& projectDescription) {
    projectPath_ = projectPath;
    projectDescription_ = projectDescription;
    return exec();
}

void TForm3::FormShow() {
    // The project file's name without folder and without its last extension.
    QString name = QFileInfo(projectPath_).fileName();
    if (const qsizetype dot = name.lastIndexOf(u'.'); dot >= 0) {
        name.truncate(dot);
    }
    Edit_LinkName->setText(name);
    QString description = QStringLiteral("Tresorix-Projekt");
    if (!projectDescription_.isEmpty()) {
        description += QStringLiteral(" \"") + projectDescription_ + u'"';
    }
    Edit_Description->setText(description);
    ComboBox_AfterFinishing->setCurrentIndex(kNoAction);
    Edit_ExecLine->clear();
    Edit_ExecLine->setEnabled(false);
    RefreshSchedules();
    if (!projectPath_.isEmpty()) {
        if (const std::optional<cScheduleEntry> own = schedules_.Find(ChosenSchedule().ProjectPath)) {
            ShowSchedule(own->Schedule);
        }
    }
}

void TForm3::Button_SearchDirClick() {
    QFileDialog browser(this, QStringLiteral("Geben Sie den Ort der Verknüpfung an:"));
    browser.setObjectName(QStringLiteral("FolderBrowser"));
    browser.setFileMode(QFileDialog::Directory);
    browser.setOption(QFileDialog::ShowDirsOnly);
    browser.setWindowModality(Qt::ApplicationModal);
    // Where a shortcut is usually wanted: on the desktop, or in the applications menu.
    const QString desktop = ExistingFolder(QStandardPaths::DesktopLocation);
    const QString menu = ExistingFolder(QStandardPaths::ApplicationsLocation);
    QList<QUrl> places{QUrl::fromLocalFile(QDir::homePath())};
    for (const QString& place : {desktop, menu}) {
        if (!place.isEmpty()) {
            places.append(QUrl::fromLocalFile(place));
        }
    }
    browser.setSidebarUrls(places);
    browser.setDirectory(desktop.isEmpty() ? QDir::homePath() : desktop);
    if (browser.exec() == QDialog::Accepted && !browser.selectedFiles().isEmpty()) {
        Edit_Dir->setText(browser.selectedFiles().first());
    }
}

void TForm3::Edit_LinkNameExit() {
    QString name = Edit_LinkName->text();
    for (qsizetype i = name.size() - 1; i >= 0; --i) {
        if (kInvalidNameCharacters.contains(name[i])) {
            name.remove(i, 1);
        }
    }
    if (name != Edit_LinkName->text()) {
        Edit_LinkName->setText(name);
    }
}

void TForm3::ComboBox_AfterFinishingClick() {
    const bool command = ComboBox_AfterFinishing->currentIndex() == kRunCommand;
    const bool becomesEnabled = command && !Edit_ExecLine->isEnabled();
    Edit_ExecLine->setEnabled(command);
    if (becomesEnabled) {
        Edit_ExecLine->setFocus(Qt::OtherFocusReason);
    }
}

QString TForm3::LinkFilePath() const {
    return WithTrailingSlash(Edit_Dir->text()) + Edit_LinkName->text() + kShortcutSuffix;
}

QString TForm3::ComposeArguments() const {
    // Double quotes inside the path or the command line are doubled: unlike a Windows path, a Linux
    // path may hold them, and the comma-text split must give both back whole.
    QString arguments = QuotedArgument(projectPath_);
    if (CheckBox_Silent->isChecked()) {
        arguments += QStringLiteral(" /s");
    }
    if (CheckBox_Hidden->isChecked()) {
        arguments += QStringLiteral(" /h");
    }
    const int action = ComboBox_AfterFinishing->currentIndex();
    if (action != kNoAction) {
        arguments += QStringLiteral(" /a");
    }
    if (action == kRunCommand) {
        arguments += u' ' + QuotedArgument(Edit_ExecLine->text());
    }
    return arguments;
}

void TForm3::Button_OKClick() {
    Edit_LinkNameExit();
    const QString folder = Edit_Dir->text();
    if (folder.isEmpty() || !fs_.IsDirectory(ToModel(WithTrailingSlash(folder)))) {
        RejectInput(Edit_Dir, QStringLiteral("Das angegebene Verzeichnis existiert nicht."));
        return;
    }
    if (Edit_LinkName->text().isEmpty()) {
        RejectInput(Edit_LinkName, QStringLiteral("Sie müssen einen Namen für die Verknüpfung angeben."));
        return;
    }
    if (ComboBox_AfterFinishing->currentIndex() == kRunCommand && Edit_ExecLine->text().isEmpty()) {
        RejectInput(
            Edit_ExecLine,
            QStringLiteral("Sie müssen eine Befehlszeile eingeben oder eine andere Aktion auswählen."));
        return;
    }

    const QString linkFile = LinkFilePath();
    // A dangling link of that name counts as an existing shortcut too.
    if (fs_.Stat(ToModel(linkFile), false)) {
        QMessageBox question(
            QMessageBox::Question, QStringLiteral("Verknüpfung überschreiben"),
            QStringLiteral("Eine Verknüpfung mit dem angegebenen Namen existiert bereits. Soll "
                           "die vorhandene Verknüpfung überschrieben werden?"),
            QMessageBox::Yes | QMessageBox::No, this);
        question.setDefaultButton(QMessageBox::Yes);
        FitCaption(question);
        if (question.exec() != QMessageBox::Yes) {
            return;
        }
    }

    QString failure;
    if (!CreateShortcut(fs_, Program(), linkFile, ComposeArguments(), Edit_Description->text(), QString(), 0,
                        &failure)) {
        // The user would otherwise look for a launcher that is not there; another folder or name may do.
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Verknüpfung nicht angelegt"),
                        QStringLiteral("Die Verknüpfung \"%1\" konnte nicht angelegt werden:\n%2")
                            .arg(QDir::toNativeSeparators(linkFile), failure),
                        QMessageBox::Ok, this);
        box.setTextFormat(Qt::PlainText);  // paths may hold "<" or "&"
        FitCaption(box);
        box.exec();
        return;
    }
    done(kResultOK);
}

void TForm3::ComboBox_ScheduleKindChange() {
    const int kind = ComboBox_ScheduleKind->currentIndex();
    ComboBox_Weekday->setEnabled(kind == kWeekly);
    TimeEdit_Schedule->setEnabled(kind != kAtLogin);
}

cSchedule TForm3::ChosenSchedule() const {
    cSchedule schedule;
    schedule.When = static_cast<cSchedule::Kind>(ComboBox_ScheduleKind->currentIndex());
    schedule.Weekday = ComboBox_Weekday->currentIndex() + 1;
    const QTime time = TimeEdit_Schedule->time();
    schedule.Time = QTime(time.hour(), time.minute());
    // A scheduled run starts in the home folder: a relative path would name another file there.
    schedule.ProjectPath = QFileInfo(projectPath_).absoluteFilePath();
    schedule.NotifyAlways = CheckBox_NotifyAlways->isChecked();
    return schedule;
}

void TForm3::ShowSchedule(const cSchedule& schedule) {
    ComboBox_ScheduleKind->setCurrentIndex(static_cast<int>(schedule.When));
    ComboBox_Weekday->setCurrentIndex(schedule.Weekday - 1);
    TimeEdit_Schedule->setTime(schedule.Time);
    CheckBox_NotifyAlways->setChecked(schedule.NotifyAlways);
}

void TForm3::RefreshSchedules() {
    ListBox_Schedules->clear();
    const QString own = projectPath_.isEmpty() ? QString() : ChosenSchedule().ProjectPath;
    for (const cScheduleEntry& entry : schedules_.List()) {
        QString text = ScheduleText(entry.Schedule) + QStringLiteral(" – ") + entry.Schedule.ProjectPath;
        if (!entry.Enabled) {
            text += QStringLiteral(" (ausgeschaltet)");
        }
        auto* item = new QListWidgetItem(text, ListBox_Schedules);
        item->setData(Qt::UserRole, entry.UnitName);
        item->setToolTip(entry.Schedule.ProjectPath);
        if (entry.Schedule.ProjectPath == own) {
            QFont bold = item->font();
            bold.setBold(true);
            item->setFont(bold);
            ListBox_Schedules->setCurrentItem(item);
        }
    }
    Button_RemoveSchedule->setEnabled(!ListBox_Schedules->selectedItems().isEmpty());
}

void TForm3::Button_SaveScheduleClick() {
    const cSchedule schedule = ChosenSchedule();
    if (const std::optional<cScheduleEntry> earlier = schedules_.Find(schedule.ProjectPath)) {
        const bool same = ScheduleText(earlier->Schedule) == ScheduleText(schedule) &&
                          earlier->Schedule.NotifyAlways == schedule.NotifyAlways;
        if (!same && !Confirm(QStringLiteral("Zeitplan ersetzen"),
                              QStringLiteral("Für dieses Projekt besteht bereits ein Zeitplan: %1. Soll er "
                                             "ersetzt werden?")
                                  .arg(ScheduleText(earlier->Schedule)))) {
            return;
        }
    }
    QString failure;
    if (!schedules_.Save(schedule, Program(), failure)) {
        ShowFailure(QStringLiteral("Zeitplan nicht angelegt"), failure);
    }
    RefreshSchedules();
}

void TForm3::Button_RemoveScheduleClick() {
    const QList<QListWidgetItem*> selected = ListBox_Schedules->selectedItems();
    if (selected.isEmpty()) {
        return;
    }
    const QString unitName = selected.first()->data(Qt::UserRole).toString();
    if (!Confirm(QStringLiteral("Zeitplan entfernen"),
                 QStringLiteral("Soll der Zeitplan „%1“ entfernt werden?").arg(selected.first()->text()))) {
        return;
    }
    QString failure;
    if (!schedules_.Remove(unitName, failure)) {
        ShowFailure(QStringLiteral("Zeitplan nicht entfernt"), failure);
    }
    RefreshSchedules();
}

bool TForm3::Confirm(const QString& caption, const QString& question) {
    QMessageBox box(QMessageBox::Question, caption, question, QMessageBox::Yes | QMessageBox::No, this);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

void TForm3::ShowFailure(const QString& caption, const QString& message) {
    QMessageBox box(QMessageBox::Critical, caption, message, QMessageBox::Ok, this);
    box.exec();
}

QString TForm3::Program() const {
    return ProgramPath.isEmpty() ? QCoreApplication::applicationFilePath() : ProgramPath;
}

void TForm3::RejectInput(QWidget* field, const QString& message) {
    field->setFocus(Qt::OtherFocusReason);
    QMessageBox box(QMessageBox::Critical, kInvalidInputCaption, message, QMessageBox::Ok, this);
    box.setTextFormat(Qt::PlainText);  // paths may hold "<" or "&"
    FitCaption(box);
    box.exec();
}

void TForm3::reject() {
    done(kResultCancel);
}

void TForm3::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        FormShow();
    }
    QDialog::showEvent(event);
}

bool TForm3::eventFilter(QObject* watched, QEvent* event) {
    // Leaving the field for another control of the dialog, not switching to another window or a menu.
    if (event->type() == QEvent::FocusOut && (watched == Edit_LinkName || watched == Edit_Description)) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            Edit_LinkNameExit();
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace trx

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main/TVersionsWindow.h"

#include "engine/FormatSize.h"
#include "engine/VersionFolders.h"
#include "model/Project.h"
#include "platform/FileSystem.h"
#include "ui/common/ModelText.h"
#include "ui/common/Named.h"
#include "ui/common/QtTextFormats.h"
#include "ui/common/TrailingSlash.h"
#include "ui/main/UserDialogs.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <memory>

namespace trx {

namespace {

const QString kCaption = QStringLiteral("Frühere Versionen");

// The run's start in the short date and long time the protocol and the preview show.
QString RunTime(const std::string& stamp, const cTextFormats& formats) {
    platform::cLocalTime time;
    if (!ParseVersionStamp(stamp, time)) {
        return FromModel(stamp);
    }
    return FromModel(formats.ShortDate(time) + " " + formats.LongTime(time));
}

}  // namespace

TVersionsWindow::TVersionsWindow(cProject& project, platform::FileSystem& fs, cUserDialogs& dialogs,
                                 int destination, QWidget* parent)
    : QDialog(parent), project_(project), fs_(fs), dialogs_(dialogs) {
    setObjectName(QStringLiteral("VersionsWindow"));
    setWindowTitle(kCaption);
    resize(620, 420);
    ComboBox_Destination = Named(new QComboBox, "ComboBox_Destination");
    for (const cBackUpDestination* d : project_.Destinations) {
        ComboBox_Destination->addItem(FromModel(d->Path));
    }
    Edit_Search = Named(new QLineEdit, "Edit_Search");
    Edit_Search->setPlaceholderText(QStringLiteral("Datei oder Ordner suchen"));
    List_Paths = Named(new QListWidget, "List_Paths");
    List_Versions = Named(new QTreeWidget, "List_Versions");
    List_Versions->setHeaderLabels({QStringLiteral("Stand vor dem Lauf vom"), QStringLiteral("Größe")});
    List_Versions->setRootIsDecorated(false);
    List_Versions->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    Button_Restore = Named(new QPushButton(QStringLiteral("Wiederherstellen …")), "Button_Restore");
    Button_Close = Named(new QPushButton(QStringLiteral("Schließen")), "Button_Close");
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(Button_Restore, QDialogButtonBox::ActionRole);
    buttons->addButton(Button_Close, QDialogButtonBox::RejectRole);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Ziel:")));
    layout->addWidget(ComboBox_Destination);
    layout->addWidget(new QLabel(QStringLiteral("Dateien und Ordner mit früheren Versionen:")));
    layout->addWidget(Edit_Search);
    layout->addWidget(List_Paths, 2);
    layout->addWidget(new QLabel(QStringLiteral("Aufbewahrte Versionen:")));
    layout->addWidget(List_Versions, 1);
    layout->addWidget(buttons);

    connect(ComboBox_Destination, &QComboBox::currentIndexChanged, this,
            [this](int i) { ShowDestination(i); });
    connect(Edit_Search, &QLineEdit::textChanged, this, [this] { ShowPaths(); });
    connect(List_Paths, &QListWidget::currentRowChanged, this, [this] { ShowVersions(); });
    connect(List_Versions, &QTreeWidget::itemSelectionChanged, this, [this] { UpdateButtons(); });
    connect(Button_Restore, &QPushButton::clicked, this, [this] { Button_RestoreClick(); });
    connect(Button_Close, &QPushButton::clicked, this, &QDialog::reject);
    ComboBox_Destination->setCurrentIndex(destination);
    ShowDestination(destination);
}

void TVersionsWindow::ShowDestination(int index) {
    destination_.clear();
    paths_.clear();
    if (index >= 0 && index < project_.Destinations.Count()) {
        destination_ = project_.Destinations[index]->Path;
        paths_ = KeptPaths(fs_, destination_);
    }
    ShowPaths();
}

void TVersionsWindow::ShowPaths() {
    const QString search = Edit_Search->text();
    List_Paths->clear();
    for (const std::string& path : paths_) {
        const QString text = FromModel(path);
        if (search.isEmpty() || text.contains(search, Qt::CaseInsensitive)) {
            auto* item = new QListWidgetItem(text, List_Paths);
            item->setData(Qt::UserRole, QByteArray::fromStdString(path));
        }
    }
    ShowVersions();
}

void TVersionsWindow::ShowVersions() {
    List_Versions->clear();
    versions_.clear();
    const QListWidgetItem* item = List_Paths->currentItem();
    if (item != nullptr) {
        versions_ = VersionsOf(fs_, destination_, item->data(Qt::UserRole).toByteArray().toStdString());
    }
    const cQtTextFormats formats;
    for (const cKeptVersion& version : versions_) {
        new QTreeWidgetItem(List_Versions,
                            {RunTime(version.Stamp, formats), FromModel(FormatSize(version.Size, formats))});
    }
    if (!versions_.empty()) {
        List_Versions->setCurrentItem(List_Versions->topLevelItem(0));
    }
    UpdateButtons();
}

void TVersionsWindow::UpdateButtons() {
    Button_Restore->setEnabled(List_Versions->currentItem() != nullptr);
}

void TVersionsWindow::Button_RestoreClick() {
    const int row = List_Versions->indexOfTopLevelItem(List_Versions->currentItem());
    if (row < 0 || row >= static_cast<int>(versions_.size())) {
        return;
    }
    const cKeptVersion version = versions_[static_cast<std::size_t>(row)];
    const std::string relative = List_Paths->currentItem()->data(Qt::UserRole).toByteArray().toStdString();
    std::string start =
        destination_ + platform::DirectoryPart(relative.substr(0, relative.find_last_not_of('/') + 1));
    const QString chosen = dialogs_.ChooseDirectory(this, FromModel(start));
    if (chosen.isEmpty()) {
        return;
    }
    const std::string folder = ToModel(WithTrailingSlash(chosen));
    if (!MayReplace(folder, version.Name, version)) {
        return;
    }
    if (RestoreVersion(fs_, version, folder, version.Name)) {
        dialogs_.Ask(this, QMessageBox::Information, kCaption,
                     QStringLiteral("„%1“ wurde in „%2“ wiederhergestellt.")
                         .arg(FromModel(version.Name), FromModel(folder)),
                     QMessageBox::Ok);
    } else {
        dialogs_.Ask(this, QMessageBox::Warning, kCaption,
                     QStringLiteral("„%1“ konnte nicht (vollständig) in „%2“ wiederhergestellt werden.")
                         .arg(FromModel(version.Name), FromModel(folder)),
                     QMessageBox::Ok);
    }
}

bool TVersionsWindow::MayReplace(const std::string& folder, const std::string& name,
                                 const cKeptVersion& version) {
    const auto dir = fs_.OpenDirectory(folder);
    const auto present =
        dir ? (*dir)->Stat(name) : platform::Result<platform::EntryInfo>(platform::Failure{dir.Error()});
    if (!present) {
        return true;
    }
    const bool newer = present->Modified.Seconds > version.Info.Modified.Seconds;
    const QString text =
        QStringLiteral("In „%1“ gibt es „%2“ schon%3. Soll es durch die frühere Version ersetzt werden?")
            .arg(FromModel(folder), FromModel(name),
                 newer ? QStringLiteral(", und zwar in einem neueren Stand") : QString());
    return dialogs_.Ask(this, QMessageBox::Question, kCaption, text, QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
}

}  // namespace trx

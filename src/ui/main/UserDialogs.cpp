// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main/UserDialogs.h"

#include "ui/common/CaptionWidth.h"
#include "ui/common/ErrorMessage.h"
#include "ui/editors/TForm5.h"
#include "ui/extra/TInfo.h"
#include "ui/shortcut/TForm3.h"

#include <QDialog>
#include <QFileDialog>
#include <utility>

namespace trx {

namespace {

QString RunFileDialog(QWidget* parent, const QString& caption, const QString& start, bool save) {
    QFileDialog dialog(parent, caption, start, kProjectFileFilter);
    dialog.setDefaultSuffix(QStringLiteral("buf"));
    if (save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

}  // namespace

QString cUserDialogs::ChooseDirectory(QWidget* parent, const QString& start) {
    return QFileDialog::getExistingDirectory(parent, QStringLiteral("Verzeichnis auswählen"), start,
                                             QFileDialog::ShowDirsOnly);
}

QString cUserDialogs::ChooseProjectToOpen(QWidget* parent, const QString& start) {
    return RunFileDialog(parent, QStringLiteral("Öffnen"), start, false);
}

QString cUserDialogs::ChooseProjectToSave(QWidget* parent, const QString& start) {
    return RunFileDialog(parent, QStringLiteral("Speichern unter"), start, true);
}

QMessageBox::StandardButton cUserDialogs::Ask(QWidget* parent, QMessageBox::Icon icon, const QString& caption,
                                              const QString& text, QMessageBox::StandardButtons buttons) {
    QMessageBox box(icon, caption, text, buttons, parent);
    box.setTextFormat(Qt::PlainText);  // paths may hold "<" or "&"
    FitCaption(box);
    box.exec();
    return box.standardButton(box.clickedButton());
}

void cUserDialogs::ShowError(QWidget* parent, const QString& message) {
    ShowErrorMessage(parent, message);
}

int cUserDialogs::Execute(QDialog& dialog) {
    return dialog.exec();
}

int cUserDialogs::ExecuteShortcutDialog(TForm3& dialog, const QString& projectPath,
                                        const QString& description) {
    return dialog.Execute(projectPath, description);
}

int cUserDialogs::ExecuteElementSettings(TForm5& dialog, cProject& project,
                                         std::vector<cBackUpSource*> selected,
                                         std::vector<cBackUpSource*> sourcesInTreeOrder) {
    return dialog.Execute(project, std::move(selected), std::move(sourcesInTreeOrder));
}

void cUserDialogs::ShowAbout(TInfo& dialog, const QString& title, const QString& developmentPeriod) {
    dialog.ShowAbout(title, developmentPeriod);
}

}  // namespace trx

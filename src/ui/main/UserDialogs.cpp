#include "ui/main/UserDialogs.h"

#include "ui/common/ErrorMessage.h"

#include <QDialog>
#include <QFileDialog>

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
    box.exec();
    return box.standardButton(box.clickedButton());
}

void cUserDialogs::ShowError(QWidget* parent, const QString& message) {
    ShowErrorMessage(parent, message);
}

int cUserDialogs::Execute(QDialog& dialog) {
    return dialog.exec();
}

}  // namespace trx

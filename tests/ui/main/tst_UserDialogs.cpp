// SPDX-License-Identifier: GPL-3.0-or-later
// The real dialogs behind the main window's questions, answered from a queued lambda as a user would.
#include "support/TestDir.h"
#include "ui/main/UserDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>

using namespace trx;
using trx::test::TestDir;

namespace {

// Calls `act` with the next modal window as soon as it is open.
void WithNextModal(std::function<void(QWidget*)> act) {
    auto* poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            poll->stop();
            poll->deleteLater();
            act(modal);
        }
    });
    poll->start();
}

// Types the name of `path` into the open file dialog and accepts it. selectFile would not do: it leaves the
// name field alone once that field has the focus, which depends on how fast the window manager is.
void AcceptFile(QFileDialog* dialog, const QString& path) {
    const QFileInfo file(path);
    dialog->setDirectory(file.absolutePath());
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    QVERIFY(name != nullptr);
    name->setText(file.fileName());
    QMetaObject::invokeMethod(dialog, "accept");
}

QString Native(const std::string& path) {
    return QString::fromStdString(path);
}

}  // namespace

class TestUserDialogs : public QObject {
    Q_OBJECT

private slots:
    void aMessageBoxShowsItsTextAndReturnsTheButtonPressed() {
        cUserDialogs dialogs;
        QString caption;
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        WithNextModal([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            QVERIFY(box != nullptr);
            caption = box->windowTitle();
            text = box->text();
            icon = box->icon();
            box->button(QMessageBox::No)->click();
        });
        const auto answer = dialogs.Ask(nullptr, QMessageBox::Question, QStringLiteral("Projekt schließen"),
                                        QStringLiteral("Möchten Sie das aktuelle Projekt vorher speichern?"),
                                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QCOMPARE(answer, QMessageBox::No);
        QCOMPARE(caption, QStringLiteral("Projekt schließen"));
        QCOMPARE(text, QStringLiteral("Möchten Sie das aktuelle Projekt vorher speichern?"));
        QCOMPARE(icon, QMessageBox::Question);

        // Escape is Cancel where there is one.
        WithNextModal([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
        QCOMPARE(dialogs.Ask(nullptr, QMessageBox::Question, QStringLiteral("x"), QStringLiteral("y"),
                             QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel),
                 QMessageBox::Cancel);
    }

    void theSaveDialogAppendsTheProjectExtension() {
        TestDir tmp;
        cUserDialogs dialogs;
        QStringList filters;
        WithNextModal([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            QVERIFY(dialog != nullptr);
            filters = dialog->nameFilters();
            QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
            AcceptFile(dialog, Native(tmp / "Neu"));
        });
        QCOMPARE(dialogs.ChooseProjectToSave(nullptr, Native(tmp.Path())), Native(tmp / "Neu.buf"));
        QCOMPARE(filters, QStringList{kProjectFileFilter});

        WithNextModal([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
        QVERIFY(dialogs.ChooseProjectToSave(nullptr, Native(tmp.Path())).isEmpty());
    }

    void theOpenDialogWantsAnExistingProjectFile() {
        TestDir tmp;
        const std::string existing = tmp.WriteFile("Daten.buf", "x");
        cUserDialogs dialogs;
        WithNextModal([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            QVERIFY(dialog != nullptr);
            QCOMPARE(dialog->fileMode(), QFileDialog::ExistingFile);
            QCOMPARE(dialog->nameFilters(), QStringList{kProjectFileFilter});
            AcceptFile(dialog, Native(existing));
        });
        QCOMPARE(dialogs.ChooseProjectToOpen(nullptr, Native(tmp.Path())), Native(existing));
    }
};

QTEST_MAIN(TestUserDialogs)
#include "tst_UserDialogs.moc"
